// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The web windows' module as the desktop program loads it: this test program
// is linked as the program is (its shared library, no web engine, no shared
// OpenGL context) and View loads the module from the program folder.
#include "app/page_opening.h"
#include "editor/editor_window.h"
#include "maker/page_maker.h"
#include "platform/problem.h"
#include "preview/web_windows.h"
#include "support/kiosk_fixture.h"
#include "workbench/workbench.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

bool engineLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

// The browsers of the viewer window (found by class name: this program does not link the engine).
QList<QWidget*> viewerBrowsers()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("frmViewPage")) {
            QList<QWidget*> browsers;
            for (QWidget* child : window->findChildren<QWidget*>())
                if (QLatin1String(child->metaObject()->className()) == QLatin1String("QWebEngineView"))
                    browsers.append(child);
            return browsers;
        }
    return {};
}

} // namespace

// Once loaded the module stays, so the row without it comes first.
TEST(WebWindowsModuleTest, ViewLoadsTheModuleFromTheProgramFolderOrSaysItIsMissing)
{
    QTemporaryDir withoutModule;
    const struct {
        const char* name;
        QString programFolder;
        bool shown;
    } rows[] = {
        {"a program folder without the module", withoutModule.path(), false},
        {"the program folder", QStringLiteral(ZEL_PROGRAM_DIR), true},
    };
    const QString makeFirst = "The page has not been made. Do you want to make the page first?\r\nnews\\today";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestSession::Options options;
        options.programFolder = row.programFolder;
        TemporaryKiosk kiosk({}, options);
        copySampleKiosk(kiosk.folder());
        {
            KioskSystem& system = kiosk.openHeadless();
            SessionProblems problems(system.session());
            PageMaker maker(system, problems);
            maker.makeAll();
            maker.run();
        }
        Workbench workbench(kiosk.session.session());
        workbench.setKioskSystem(&kiosk.open());
        EditorWindow* editor = openPageAtLine(workbench, kiosk.path("news/today.zel"), 1);
        ASSERT_NE(editor, nullptr);
        kiosk.messages.clear();
        EXPECT_FALSE(engineLoaded()) << "the program links no web engine";

        kiosk.messages.scriptAnswers({Answer::No});
        editor->findChild<QAction*>(QStringLiteral("viewPageAction"))->trigger();
        const QList<QWidget*> browsers = viewerBrowsers();
        EXPECT_EQ(WebWindows::loaded() != nullptr, row.shown);
        EXPECT_EQ(engineLoaded(), row.shown);
        if (!row.shown) {
            const QString module = QDir::toNativeSeparators(row.programFolder + "/zel_web_windows.so");
            ASSERT_EQ(kiosk.messages.texts().size(), 2);
            EXPECT_EQ(kiosk.messages.texts()[0], makeFirst);
            EXPECT_TRUE(kiosk.messages.texts()[1].startsWith(
                "The viewer and the preview cannot be shown: their part of the program (" + module
                + ") could not be loaded ("))
                << kiosk.messages.texts()[1].toStdString();
            EXPECT_TRUE(browsers.isEmpty());
            continue;
        }
        ASSERT_FALSE(browsers.isEmpty());
        QSignalSpy loaded(browsers.first(), SIGNAL(loadFinished(bool)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !loaded.isEmpty(); }, 60000));
        EXPECT_TRUE(loaded.first().first().toBool());
        EXPECT_EQ(browsers.first()->property("url").toUrl(), QUrl::fromLocalFile(kiosk.path("news/today.htm")));
        EXPECT_EQ(kiosk.messages.texts(), QStringList{makeFirst});
    }
}
