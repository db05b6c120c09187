#include "dialogs/window_focus.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {
// The window asked for last, until the window system reports an activation.
QPointer<QWidget>& requested()
{
    static QPointer<QWidget> window;
    static const bool watching = [] {
        QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow* now) {
            if (now)
                window = nullptr;
        });
        return true;
    }();
    (void)watching;
    return window;
}

void request(QWidget* window)
{
    requested() = window;
    window->activateWindow();
}
} // namespace

namespace WindowFocus {

void bringToFront(QWidget* window)
{
    if (!window)
        return;
    window = window->window();
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    request(window);
}

void returnTo(QWidget* window, QWidget* focus)
{
    if (!window || !window->isVisible())
        return;
    window = window->window();
    if (focus && focus->window() == window)
        focus->setFocus(Qt::ActiveWindowFocusReason);
    request(window);
}

QWidget* askingWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* window = requested(); window && window->isVisible())
        return window;
    return QApplication::activeWindow();
}

} // namespace WindowFocus
