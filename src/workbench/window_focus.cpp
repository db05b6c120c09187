// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "workbench/window_focus.h"

#include <QApplication>
#include <QWindow>

WindowFocus::WindowFocus()
    : m_activations(QObject::connect(qApp, &QGuiApplication::focusWindowChanged, [this](QWindow* now) {
          if (now)
              m_requested = nullptr;
      }))
{}

WindowFocus::~WindowFocus() { QObject::disconnect(m_activations); }

void WindowFocus::request(QWidget* window)
{
    m_requested = window;
    window->activateWindow();
}

void WindowFocus::bringToFront(QWidget* window)
{
    if (!window)
        return;
    window = window->window();
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    request(window);
}

void WindowFocus::returnTo(QWidget* window, QWidget* focus)
{
    if (!window || !window->isVisible())
        return;
    window = window->window();
    if (focus && focus->window() == window)
        focus->setFocus(Qt::ActiveWindowFocusReason);
    request(window);
}

void WindowFocus::runModal(QWidget* owner, const std::function<void()>& step)
{
    const QPointer<QWidget> window = owner ? owner->window() : nullptr;
    const QPointer<QWidget> focus = window ? window->focusWidget() : nullptr;
    step();
    returnTo(window, focus);
}

QWidget* WindowFocus::askingWindow() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* window = m_requested; window && window->isVisible())
        return window;
    return QApplication::activeWindow();
}
