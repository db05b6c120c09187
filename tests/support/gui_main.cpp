// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLocale>
#include <QtGlobal>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // GUI tests run without a display, unless they are given an X display
    // (QT_QPA_PLATFORM=xcb, under Xvfb with a window manager), where input
    // goes through the X server as a user's would. WebEngine needs its
    // sandbox off as root.
    if (qEnvironmentVariable("QT_QPA_PLATFORM") != QLatin1String("xcb"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // English texts and formats whatever the developer's language.
    qputenv("LANGUAGE", "en");
    QLocale::setDefault(QLocale::c());
#ifndef ZEL_TEST_AS_THE_DESKTOP_PROGRAM
    // As the web engine asks; the desktop program does without (WebWindows).
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
