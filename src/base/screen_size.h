// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

// Where the size of the real screen comes from: the primary screen in the
// desktop program, a fixed size in tests.
class ScreenSizeProvider {
public:
    virtual ~ScreenSizeProvider() = default;
    // Width and height in whole pixels.
    virtual QSize pixelSize() const = 0;
};

class FixedScreenSize : public ScreenSizeProvider {
public:
    explicit FixedScreenSize(QSize size) : m_size(size) {}
    QSize pixelSize() const override { return m_size; }

private:
    QSize m_size;
};
