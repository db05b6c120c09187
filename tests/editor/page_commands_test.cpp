#include "pages/files.h"
#include "support/window_fixture.h"

#include <QTest>

namespace {

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

// Each row starts without made pages, with three changed editors and an unchanged one. Make All asks about the changed
// ones in the order they were opened, each in front while asked (Yes brings that one to the front to be saved and
// makes nothing); then the open of a kiosk system asks over each changed editor in turn (No, Cancel, No keeps the
// second open and closes the unchanged one without asking).
TEST_F(PageCommandsTest, ChangedEditorsAreAskedAboutInTheOrderTheyWereOpened)
{
    const struct {
        const char* name;
        std::initializer_list<int> answers;
        bool made;
    } rows[] = {
        {"No then Cancel makes nothing", {Answer::No, Answer::Cancel}, false},
        {"No then Yes makes nothing", {Answer::No, Answer::Yes}, false},
        {"No for each makes all pages", {Answer::No, Answer::No, Answer::No}, true},
    };
    const QString changed = "Page has changed - do you want to save it?";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        closeEditors();
        makerMessages.clear();
        for (const char* page : {"root/root.htm", "news/today.htm", "news/news.htm"})
            QFile::remove(kiosk.path(page));
        QList<QPointer<frmEdit>> editors{newEditor(1), newEditor(2), newEditor(4),
                                         editorOn("news/today.zel", "#leaf\r\n#title Today\r\n")};
        main->activateWindow();
        QCoreApplication::processEvents(); // window activation arrives as an event
        QList<QWidget*> asking;
        kiosk.messages.whenAsked = [&](const QString&) { asking.append(workbench.focus().askingWindow()); };
        EXPECT_EQ(
            withAnswers(row.answers, [&] { trigger(main.get(), "mnuMakeAllPages"); }),
            QStringList(qsizetype(row.answers.size()), "A page has been changed  - do you wish to save it first?"));
        const qsizetype asked = qsizetype(row.answers.size());
        EXPECT_EQ(asking, (QList<QWidget*>{editors[0], editors[1], editors[2]}.mid(0, asked)));
        if (*std::prev(row.answers.end()) == Answer::Yes)
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == editors[1]; }));
        EXPECT_EQ(Files::fileExists(kiosk.path("news/today.htm")), row.made);
        EXPECT_EQ(Files::fileExists(kiosk.path("root/root.htm")), row.made);
        EXPECT_EQ(makerMessages, row.made ? QStringList{"Making page root in folder root"} : QStringList());
        EXPECT_EQ(withAnswers({Answer::No, Answer::Cancel, Answer::No}, [&] { main->openKioskSystem(kiosk.folder()); }),
                  QStringList({changed, changed, changed,
                               "You must close ALL ZEL editor windows BEFORE you can open another Kiosk System"}));
        kiosk.messages.whenAsked = nullptr;
        EXPECT_EQ(asking.mid(asked), (QList<QWidget*>{editors[0], editors[1], editors[2]}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(std::tuple(editors[0].isNull(), editors[1].isNull(), editors[2].isNull(), editors[3].isNull()),
                  std::tuple(true, false, true, true));
    }
}

} // namespace
