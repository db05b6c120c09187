#include "app/window_closing.h"

#include "app/frm_kiosk_system.h"
#include "dialogs/workbench.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {
bool isProgramWindow(const QWidget* widget)
{
    if (!widget->isWindow())
        return false;
    // A hidden window that deletes itself on close has been closed already
    // and only waits for its deletion.
    if (widget->isHidden() && widget->testAttribute(Qt::WA_DeleteOnClose))
        return false;
    switch (widget->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::Desktop:
    case Qt::SplashScreen:
        return false;
    default:
        return true;
    }
}
} // namespace

namespace WindowClosing {

bool closeOtherWindows(const QList<QWidget*>& windowsInOrder, const QWidget* keep)
{
    // Guarded: closing one window may destroy others (its own dialogs).
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : windowsInOrder)
        if (widget != keep && isProgramWindow(widget))
            windows.append(widget);
    bool allClosed = true;
    for (const QPointer<QWidget>& window : windows)
        if (window && !window->close())
            allClosed = false;
    return allClosed;
}

void closeAllWindows()
{
    QPointer<frmKioskSystem> mainWindow;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* frm = qobject_cast<frmKioskSystem*>(widget))
            mainWindow = frm;
    closeOtherWindows(mainWindow ? mainWindow->workbench().order().windowsInOpeningOrder()
                                 : QApplication::topLevelWidgets(),
                      mainWindow);
    if (mainWindow)
        mainWindow->close();
}

} // namespace WindowClosing
