// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <memory>

class QWidget;

// The order in which the program's windows were opened. Qt's list of
// top-level widgets has no fixed order, so questions asked window by window
// (Make All, the closings at an open and at shutdown) walk this one instead.
// Records each window's first showing from its construction on; needs the
// application object to exist.
class WindowOrder {
public:
    WindowOrder();
    ~WindowOrder();
    WindowOrder(const WindowOrder&) = delete;
    WindowOrder& operator=(const WindowOrder&) = delete;

    // Every top-level widget: those shown since construction in the order they
    // were first shown, then the others in Qt's order.
    QList<QWidget*> windowsInOpeningOrder() const;

private:
    class ShowRecorder;
    std::unique_ptr<ShowRecorder> m_recorder;
};
