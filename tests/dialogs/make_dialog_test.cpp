// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The maker dialog while a long make runs.
#include "support/executable_script.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QTimer>

namespace {

// Make All from the Tools menu (Alt+T, Down, Enter) over pages whose pictures take the image tool a while each (a
// stand-in that waits, then runs zel-resample). While the make runs the event loop goes on (a timer fires), and the
// dialog's label, read then, shows each page's message up to the last page's. The make ends with the count of
// buttons and items that lead to pages that do not exist, after the make's own message for each; a make without
// them ends silently.
TEST_F(WindowTest, MakeAllShowsEachPageThenTheCountOfDeadReferences)
{
    const QString tool =
        writeExecutableScript(kiosk.path("slow-tool.sh"), "sleep 0.2\nexec " ZEL_PROGRAM_DIR "/zel-resample \"$@\"");
    for (const char* page : {"a", "b", "c"})
        writeTextFile(kiosk.path(QString("news/%1.zel").arg(page)), {"#leaf", "#image harbour.jpg centre 50%"});
    ASSERT_TRUE(QFile::copy(ZEL_SOURCE_DIR "/examples/sample/news/harbour.jpg", kiosk.path("news/harbour.jpg")));
    kiosk.session.session().setImageTool(ImageToolChoice{tool, 60 * 1000, false});
    mainWindow().openKioskSystem(kiosk.folder());
    author.execs = true;
    const struct {
        const char* name;
        QStringList root;
        int dead;
    } cases[] = {
        {"two dead", {"#root", "#button news\\gone Gone", "#button news\\lost Lost", "#button news\\a A"}, 2},
        {"none", {"#root", "#button news\\a A"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeTextFile(kiosk.path("root/root.zel"), c.root);
        QDir(kiosk.path("news/images")).removeRecursively(); // each picture copied anew, slowly
        kiosk.messages.clear();
        QStringList seen; // the label's texts as the timer read them while the dialog was up
        QTimer reader;
        reader.setInterval(0);
        QObject::connect(&reader, &QTimer::timeout, [&] {
            for (MakeDialog* dialog : visibleWindows<MakeDialog>())
                if (const QString text = dialog->messageLabel()->text();
                    !text.isEmpty() && seen.value(seen.size() - 1) != text)
                    seen.append(text);
        });
        reader.start();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        QTest::keyClick(main.get(), Qt::Key_T, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Return})
            QTest::keyClick(QApplication::activePopupWidget(), key);
        reader.stop();

        EXPECT_TRUE(QFile::exists(kiosk.path("news/c.htm"))) << "the make is done";
        EXPECT_TRUE(visibleWindows<MakeDialog>().isEmpty());
        EXPECT_EQ(seen.value(seen.size() - 1), "Making page c in folder news") << seen.join('|').toStdString();
        const QStringList texts = kiosk.messages.texts();
        EXPECT_EQ(texts.filter("Reference to non-existent page").size(), c.dead) << texts.join('|').toStdString();
        EXPECT_EQ(texts.size(), c.dead ? c.dead + 1 : 0) << texts.join('|').toStdString();
        EXPECT_EQ(texts.value(texts.size() - 1),
                  QString(c.dead ? "Dead references: 2 (buttons or items to pages that do not exist strand the visitor)"
                                 : ""));
    }
}

// A configured screen height that the layout could not hold is replaced by the real screen's, and Make All makes
// the pages for that screen. (A value the layout cannot hold ends the open: the configuration's own test.)
TEST_F(WindowTest, MakeAllMakesForTheRealScreenWhatTheConfiguredOneCouldNotHold)
{
    writeTextFile(kiosk.path("root/root.zel"), {"#root", "#button news\\list List"});
    writeTextFile(kiosk.path("news/list.zel"), {"#selector", "#item gone.jpg root Home"});
    writeTextFile(kiosk.path("configuration.txt"), {"screenheight 16390"});
    EXPECT_FALSE(endsProgram([&] {
        mainWindow().openKioskSystem(kiosk.folder());
        trigger(main.get(), "makeAllPagesAction");
    })) << kiosk.messages.texts().join('|').toStdString();
    EXPECT_TRUE(QFile::exists(kiosk.path("news/list.htm")));
}

} // namespace
