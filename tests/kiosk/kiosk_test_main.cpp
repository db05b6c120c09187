#include "platform/program_session.h"
#include "platform/session.h"

#include <QApplication>
#include <QtGlobal>
#include <gtest/gtest.h>

// The kiosk's tests run on the offscreen platform, or on an X display
// (QT_QPA_PLATFORM=xcb, under Xvfb with a window manager: on_display.sh),
// where touches and keys go through the X server as a visitor's would.
int main(int argc, char** argv)
{
    if (qEnvironmentVariable("QT_QPA_PLATFORM") != QLatin1String("xcb"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    Session session;
    const ProgramSessionInstallation installed(session);
    return RUN_ALL_TESTS();
}
