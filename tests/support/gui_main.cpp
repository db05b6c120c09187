#include "platform/session.h"

#include <QApplication>
#include <QtGlobal>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // GUI tests always run without a display; WebEngine needs its sandbox off as root.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Tests that need their own services build a TestSession over this one.
    Session session;
    return RUN_ALL_TESTS();
}
