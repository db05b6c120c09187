// The maker dialog while a long make runs.
#include "support/window_fixture.h"

#include <QFile>
#include <QTimer>

namespace {

// Make All from the Tools menu (Alt+T, Down, Enter) over three pages whose pictures take the image tool a while
// each (a stand-in that waits, then runs zel-resample). While the make runs the event loop goes on (a timer fires), and
// the dialog's label, read then, shows each page's message up to the last page's.
TEST_F(WindowTest, MakeDialogShowsEachPageWhileALongMakeRuns)
{
    const QString tool = kiosk.path("slow-tool.sh");
    writeBytes(tool, QByteArray("#!/bin/sh\nsleep 0.2\nexec ") + ZEL_PROGRAM_DIR "/zel-resample \"$@\"\n");
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const char* page : {"a", "b", "c"})
        writeTextFile(kiosk.path(QString("news/%1.zel").arg(page)), {"#leaf", "#image harbour.jpg centre 50%"});
    ASSERT_TRUE(QFile::copy(ZEL_SOURCE_DIR "/examples/sample/news/harbour.jpg", kiosk.path("news/harbour.jpg")));
    TestSession slowTool({.imageTool = ImageToolChoice{tool, 60 * 1000, false}, .messages = &kiosk.messages});
    mainWindow().openKioskSystem(kiosk.folder());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    author.execs = true;

    QStringList seen; // the label's texts as the timer read them while the dialog was up
    QTimer reader;
    reader.setInterval(0);
    QObject::connect(&reader, &QTimer::timeout, [&] {
        for (dlgMakePage* dialog : visibleWindows<dlgMakePage>())
            if (const QString text = dialog->lblMessage()->text();
                !text.isEmpty() && seen.value(seen.size() - 1) != text)
                seen.append(text);
    });
    reader.start();
    QTest::keyClick(main.get(), Qt::Key_T, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Return})
        QTest::keyClick(QApplication::activePopupWidget(), key);
    reader.stop();

    EXPECT_TRUE(QFile::exists(kiosk.path("news/c.htm"))) << "the make is done";
    EXPECT_TRUE(visibleWindows<dlgMakePage>().isEmpty());
    EXPECT_EQ(seen.value(seen.size() - 1), "Making page c in folder news") << seen.join('|').toStdString();
    EXPECT_TRUE(kiosk.messages.texts().isEmpty()) << kiosk.messages.texts().join('|').toStdString();
}

} // namespace
