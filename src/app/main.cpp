#include "app/frm_kiosk_system.h"
#include "app/qt_message_boxes.h"
#include "app/window_closing.h"
#include "dialogs/workbench.h"
#include "platform/messages.h"
#include "platform/program_end.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

// The desktop program: the windows' workbench, message boxes, the
// program-end hooks and the main window. It reads no command line.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEL_Editor"));

    Workbench workbench;
    QtMessageBoxes boxes(workbench.focus());
    Messages::install(&boxes);
    ProgramEnd::setEndHook([] {
        std::fflush(nullptr);
        std::exit(1);
    });
    ProgramEnd::setUnloadWindowsHook(&WindowClosing::closeAllWindows);

    frmKioskSystem mainWindow(workbench);
    mainWindow.show();
    const int status = QApplication::exec();
    Messages::install(nullptr);
    return status;
}
