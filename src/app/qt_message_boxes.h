// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/messages.h"

class WindowFocus;

// Message boxes of the desktop program: modal Qt boxes titled "ZEL_Editor",
// centred over the window that asks (the active dialog, else the window last
// brought to the front, else the active window), wide enough to show their
// title, and with no icon except the exclamation of the fatal report. When a
// box closes, the window that asked gets the keyboard back.
class QtMessageBoxes : public MessageBoxes {
public:
    // focus: which window asks, and gets the keyboard back afterwards.
    explicit QtMessageBoxes(WindowFocus& focus);

    void show(const QString& text, MessageIcon icon) override;
    Answer askYesNo(const QString& text, Answer defaultAnswer) override;
    Answer askYesNoCancel(const QString& text) override;

private:
    WindowFocus& m_focus;
};
