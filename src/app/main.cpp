#include "app/core/recovery_copies.h"
#include "app/frm_kiosk_system.h"
#include "app/qt_message_boxes.h"
#include "app/window_closing.h"
#include "dialogs/workbench.h"
#include "platform/session.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

// The desktop program: the windows' workbench, its session (message boxes,
// what ending the program and closing every window mean) and the main window. It reads no command line.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEL_Editor"));

    RecoveryCopies recoveryCopies(RecoveryCopies::defaultFolder());
    Workbench workbench;
    workbench.setRecoveryCopies(&recoveryCopies);
    QtMessageBoxes boxes(workbench.focus());
    SessionServices services;
    services.messages = &boxes;
    services.endProgram = [] {
        std::fflush(nullptr);
        std::exit(1);
    };
    services.closeAllWindows = &WindowClosing::closeAllWindows;
    Session session(std::move(services));

    frmKioskSystem mainWindow(workbench);
    mainWindow.show();
    return QApplication::exec();
}
