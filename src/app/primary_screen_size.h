// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/screen_size.h"

// The primary screen's size in whole device pixels (its logical size times its
// device pixel ratio), as a page shown full screen sees it also on a scaled
// desktop.
class PrimaryScreenSize : public ScreenSizeProvider {
public:
    QSize pixelSize() const override;
};
