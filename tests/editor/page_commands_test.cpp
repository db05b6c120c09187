#include "app/frm_kiosk_system.h"
#include "editor_fixture.h"

#include "dialogs/window_focus.h"
#include "pages/files.h"
#include "platform/screen_size.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char* const kMade[] = {"root/root.htm", "news/today.htm", "news/news.htm"};

// The main window over the open kiosk system with three simple pages.
class PageCommandsTest : public EditorTest {
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        EditorTest::SetUp();
        writeBytes(kiosk.path("root/root.zel"), "#root\r\n#title Home\r\n");
        writeBytes(kiosk.path("news/today.zel"), "#leaf\r\n#title Today\r\n");
        writeBytes(kiosk.path("news/news.zel"), "#branch\r\n#title News\r\n#button today Today\r\n");
        main = std::make_unique<frmKioskSystem>();
        main->setScreenSizeProvider(std::make_unique<FixedScreenSize>(QSize(1280, 1024)));
        main->openKioskSystem(kiosk.folder());
    }

    void TearDown() override { EditorTest::TearDown(); main.reset(); }

    QTemporaryDir settings;
    std::unique_ptr<frmKioskSystem> main;
};

TEST_F(PageCommandsTest, MakeAllPagesAsksAboutEachChangedEditor)
{
    const struct { const char* name; bool editors; int first, second, questions, made; } rows[] = {
        {"No then Cancel makes nothing", true, Answer::No, Answer::Cancel, 2, 0},
        {"Yes brings the editor to the front and makes nothing", true, Answer::Yes, 0, 1, 0},
        {"No for both makes all pages", true, Answer::No, Answer::No, 2, 3},
        {"no editors: all pages at once", false, 0, 0, 0, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const char* page : kMade)
            QFile::remove(kiosk.path(page));
        const QList<frmEdit*> changed = row.editors ? QList{newEditor(1), newEditor(2)} : QList<frmEdit*>();
        if (row.editors)
            editorOn("news/today.zel", "#leaf\r\n#title Today\r\n"); // unchanged: not asked about
        main->activateWindow();
        QCoreApplication::processEvents(); // window activation arrives as an event
        EXPECT_EQ(withAnswers({row.first, row.second}, [&] { trigger(main.get(), "mnuMakeAllPages"); }),
                  QStringList(row.questions, "A page has been changed  - do you wish to save it first?"));
        int made = 0;
        for (const char* page : kMade)
            made += Files::fileExists(kiosk.path(page));
        EXPECT_EQ(made, row.made);
        QCoreApplication::processEvents();
        if (row.first == Answer::Yes)
            EXPECT_TRUE(changed.contains(qobject_cast<frmEdit*>(QApplication::activeWindow())));
        closeEditors();
    }
    EXPECT_EQ(makerMessages.last(), "Making page root in folder root") << "the maker dialog showed each page";
}

// Three changed editors, run after run: Make All asks about them in the order they were opened (No, then Yes
// brings the second to the front), and so does the open of a kiosk system (No, Cancel, No keeps the second open).
TEST_F(PageCommandsTest, ChangedEditorsAreAskedAboutInTheOrderTheyWereOpened)
{
    for (int run = 1; run <= 5; ++run) {
        SCOPED_TRACE(run);
        QList<QPointer<frmEdit>> editors;
        for (int type : {1, 2, 4})
            editors.append(newEditor(type));
        main->activateWindow();
        // Each question is asked with its editor in front, so the author sees which page it means.
        QList<QWidget*> asking;
        kiosk.messages.whenAsked = [&](const QString&) { asking.append(WindowFocus::askingWindow()); };
        withAnswers({Answer::No, Answer::Yes}, [&] { trigger(main.get(), "mnuMakeAllPages"); });
        kiosk.messages.whenAsked = nullptr;
        EXPECT_EQ(asking, (QList<QWidget*>{editors[0].data(), editors[1].data()}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == editors[1]; }));
        EXPECT_EQ(withAnswers({Answer::No, Answer::Cancel, Answer::No}, [&] { main->openKioskSystem(kiosk.folder()); }),
                  QStringList({"Page has changed - do you want to save it?", "Page has changed - do you want to save it?",
                               "Page has changed - do you want to save it?",
                               "You must close ALL ZEL editor windows BEFORE you can open another Kiosk System"}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(std::tuple(editors[0].isNull(), editors[1].isNull(), editors[2].isNull()), std::tuple(true, false, true));
        closeEditors();
    }
}

} // namespace
