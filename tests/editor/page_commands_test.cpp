#include "pages/files.h"
#include "support/window_fixture.h"

#include <QTest>

namespace {

const char* const kMade[] = {"root/root.htm", "news/today.htm", "news/news.htm"};

// The main window over the open kiosk system with three simple pages.
class PageCommandsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeBytes(kiosk.path("root/root.zel"), "#root\r\n#title Home\r\n");
        writeBytes(kiosk.path("news/today.zel"), "#leaf\r\n#title Today\r\n");
        writeBytes(kiosk.path("news/news.zel"), "#branch\r\n#title News\r\n#button today Today\r\n");
        mainWindow().openKioskSystem(kiosk.folder());
    }
};

// Each row starts without made pages, with two changed editors and an unchanged one. (Yes is the next test's.)
TEST_F(PageCommandsTest, MakeAllPagesAsksAboutEachChangedEditor)
{
    const struct {
        const char* name;
        int second, made; // the answers are No, then second
    } rows[] = {
        {"No then Cancel makes nothing", Answer::Cancel, 0},
        {"No for both makes all pages", Answer::No, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        closeEditors();
        makerMessages.clear();
        for (const char* page : kMade)
            QFile::remove(kiosk.path(page));
        newEditor(1);
        newEditor(2);
        editorOn("news/today.zel", "#leaf\r\n#title Today\r\n"); // unchanged: not asked about
        main->activateWindow();
        QCoreApplication::processEvents(); // window activation arrives as an event
        EXPECT_EQ(withAnswers({Answer::No, row.second}, [&] { trigger(main.get(), "mnuMakeAllPages"); }),
                  QStringList(2, "A page has been changed  - do you wish to save it first?"));
        int made = 0;
        for (const char* page : kMade)
            made += Files::fileExists(kiosk.path(page));
        EXPECT_EQ(made, row.made);
        EXPECT_EQ(makerMessages, row.made ? QStringList{"Making page root in folder root"} : QStringList());
    }
}

// Three changed editors, run after run: Make All asks about them in the order they were opened, each in front
// while asked (No, then Yes brings the second to the front and makes nothing), and so does the open of a kiosk system,
// over each editor in turn (No, Cancel, No keeps the second open).
TEST_F(PageCommandsTest, ChangedEditorsAreAskedAboutInTheOrderTheyWereOpened)
{
    for (int run = 1; run <= 5; ++run) {
        SCOPED_TRACE(run);
        closeEditors();
        QList<QPointer<frmEdit>> editors;
        for (int type : {1, 2, 4})
            editors.append(newEditor(type));
        main->activateWindow();
        QList<QWidget*> asking;
        kiosk.messages.whenAsked = [&](const QString&) { asking.append(workbench.focus().askingWindow()); };
        withAnswers({Answer::No, Answer::Yes}, [&] { trigger(main.get(), "mnuMakeAllPages"); });
        EXPECT_EQ(asking, (QList<QWidget*>{editors[0].data(), editors[1].data()}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == editors[1]; }));
        EXPECT_FALSE(Files::fileExists(kiosk.path("root/root.htm")));
        EXPECT_EQ(
            withAnswers({Answer::No, Answer::Cancel, Answer::No}, [&] { main->openKioskSystem(kiosk.folder()); }),
            QStringList({"Page has changed - do you want to save it?", "Page has changed - do you want to save it?",
                         "Page has changed - do you want to save it?",
                         "You must close ALL ZEL editor windows BEFORE you can open another Kiosk System"}));
        kiosk.messages.whenAsked = nullptr;
        EXPECT_EQ(asking.mid(2), (QList<QWidget*>{editors[0].data(), editors[1].data(), editors[2].data()}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(std::tuple(editors[0].isNull(), editors[1].isNull(), editors[2].isNull()),
                  std::tuple(true, false, true));
    }
}

} // namespace
