#include "app/frm_kiosk_system.h"
#include "dialogs/dlg_select_file.h"
#include "editor_fixture.h"
#include "pages/files.h"
#include "platform/screen_size.h"

#include <QAction>
#include <QListWidget>
#include <QProgressBar>
#include <QSettings>
#include <QTemporaryDir>

namespace {

const char* const kPages[] = {"root/root", "news/today", "news/news"};

// The main window over the open kiosk system with three simple pages.
class PageCommandsTest : public EditorTest {
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
        EditorTest::SetUp();
        writeBytes(kiosk.path("root/root.zel"), "#root\r\n#title Home\r\n");
        writeBytes(kiosk.path("news/today.zel"), "#leaf\r\n#title Today\r\n");
        writeBytes(kiosk.path("news/news.zel"), "#branch\r\n#title News\r\n#button today Today\r\n");
        main = std::make_unique<frmKioskSystem>();
        main->setScreenSizeProvider(std::make_unique<FixedScreenSize>(QSize(1280, 1024)));
        main->openKioskSystem(kiosk.folder());
        kiosk.messages.clear();
    }

    void TearDown() override
    {
        EditorTest::TearDown();
        main.reset();
    }

    QStringList editorCaptions() const
    {
        QStringList found;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<frmEdit*>(window) && window->isVisible())
                found.append(window->windowTitle());
        found.sort();
        return found;
    }

    int madePages() const
    {
        return int(std::count_if(std::begin(kPages), std::end(kPages),
                                 [&](const char* page) { return Files::fileExists(kiosk.path(page + QString(".htm"))); }));
    }

    void trigger(const char* name) { main->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }

    QTemporaryDir m_settings;
    std::unique_ptr<frmKioskSystem> main;
};

TEST_F(PageCommandsTest, NewAndEditPageCommandsOpenAnEditorEach)
{
    for (const char* command : {"mnuCreateBranchPage", "mnuCreateLeafPage", "mnuCreateSelectorPage"})
        trigger(command);
    whenShown<dlgSelectFile>([](dlgSelectFile& dialog) {
        dialog.folderList()->setCurrentRow(0); // news
        dialog.pageList()->setCurrentRow(1);   // today
        dialog.okButton()->click();
    });
    trigger("mnuEditPage");
    whenShown<dlgSelectFile>([](dlgSelectFile& dialog) { dialog.cancelButton()->click(); });
    trigger("mnuEditPage");
    EXPECT_EQ(editorCaptions(), (QStringList{"ZEL (Editor) Leaf Page - news\\today", "ZEL (Editor) New Branch Page",
                                             "ZEL (Editor) New Leaf page", "ZEL (Editor) New Selector page"}));
}

TEST_F(PageCommandsTest, EditorWithUnsavedChangesStopsTheOpenOfAnotherKioskSystem)
{
    frmEdit* editor = newEditor(1);
    EXPECT_EQ(withAnswers({Answer::Cancel}, [&] { main->openKioskSystem(kiosk.folder()); }),
              (QStringList{"Page has changed - do you want to save it?",
                           "You must close ALL ZEL editor windows BEFORE you can open another Kiosk System"}));
    EXPECT_TRUE(editor->isVisible());
}

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
        for (const char* page : kPages)
            QFile::remove(kiosk.path(page + QString(".htm")));
        const QList<frmEdit*> changed = row.editors ? QList{newEditor(1), newEditor(2)} : QList<frmEdit*>();
        if (row.editors)
            editorOn("news/today.zel", "#leaf\r\n#title Today\r\n"); // unchanged: not asked about
        main->activateWindow();
        QCoreApplication::processEvents(); // window activation arrives as an event
        EXPECT_EQ(withAnswers({row.first, row.second}, [&] { trigger("mnuMakeAllPages"); }),
                  QStringList(row.questions, "A page has been changed  - do you wish to save it first?"));
        EXPECT_EQ(madePages(), row.made);
        QCoreApplication::processEvents();
        if (row.first == Answer::Yes)
            EXPECT_TRUE(changed.contains(qobject_cast<frmEdit*>(QApplication::activeWindow())));
        closeEditors();
    }
}

TEST_F(PageCommandsTest, MakerDialogShowsEachPageWhileItWorks)
{
    dlgMakePage& maker = dlgMakePage::instance();
    QStringList seen;
    QObject::connect(maker.progressBar(), &QProgressBar::valueChanged, maker.progressBar(), [&](int value) {
        seen.append(maker.lblMessage()->text() + QString(" | %1/%2").arg(value).arg(maker.progressBar()->maximum()));
    });
    trigger("mnuMakeAllPages");
    EXPECT_EQ(seen.mid(seen.size() - 3), (QStringList{"Making page news in folder news | 1/3",
                                                      "Making page today in folder news | 2/3",
                                                      "Making page root in folder root | 3/3"}));
    EXPECT_EQ(maker.progressBar()->text(), "3 / 3");
    EXPECT_EQ(maker.windowTitle(), "ZEL - Make Page");
    EXPECT_FALSE(maker.isVisible()) << "the dialog hides itself when done";
    EXPECT_EQ(makerMessages, QStringList{"Making page root in folder root"}) << "the last page's message stays";
    maker.makeOne(kiosk.path("news/today.zel"));
    maker.showModal(main.get());
    EXPECT_FALSE(maker.progressBar()->isVisibleTo(&maker)) << "one page shows no bar";
    EXPECT_EQ(makerMessages.last(), "Making page today in folder news");
    EXPECT_EQ(maker.parentWidget(), nullptr) << "the owner does not keep the dialog";
}

} // namespace
