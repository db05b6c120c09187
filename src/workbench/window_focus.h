// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <functional>

// Which window the keyboard belongs to. Activation through the window system
// arrives late (a window manager answers asynchronously), so a window the
// program brings to the front counts as the asking window until the window
// system reports the next activation: a question asked at once is shown over
// it, not over whichever window was active before. Needs the application
// object to exist.
class WindowFocus {
public:
    WindowFocus();
    ~WindowFocus();
    WindowFocus(const WindowFocus&) = delete;
    WindowFocus& operator=(const WindowFocus&) = delete;

    // Restores the window if minimised, raises it and asks for its activation.
    void bringToFront(QWidget* window);
    // Asks for the window's activation again, with the keyboard focus on the
    // widget that had it (focus, when given and still inside the window).
    void returnTo(QWidget* window, QWidget* focus = nullptr);
    // Runs a modal step asked over owner's window (a dialog's own loop, a
    // message box, an input box, a file chooser) and gives that window the
    // keyboard back afterwards, with the focus on the widget that had it: a
    // window system that activates another window when the modal one goes
    // would leave the author's keys nowhere.
    void runModal(QWidget* owner, const std::function<void()>& step);

    // The window a question or dialog belongs to: the active modal dialog, else
    // the window last brought to the front or returned to, else the active
    // window; nullptr when there is none.
    QWidget* askingWindow() const;

private:
    void request(QWidget* window);

    // The window asked for last, until the window system reports an activation.
    QPointer<QWidget> m_requested;
    QMetaObject::Connection m_activations;
};
