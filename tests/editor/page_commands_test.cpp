#include "app/frm_kiosk_system.h"
#include "dialogs/dlg_select_file.h"
#include "editor_fixture.h"
#include "pages/files.h"
#include "platform/screen_size.h"

#include <QAction>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// The main window over the open kiosk system with three simple pages.
class PageCommandsTest : public EditorTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_settings.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
        EditorTest::SetUp();
        writeBytes(kiosk.path(QStringLiteral("root/root.zel")), "#root\r\n#title Home\r\n");
        writeBytes(kiosk.path(QStringLiteral("news/today.zel")), "#leaf\r\n#title Today\r\n");
        writeBytes(kiosk.path(QStringLiteral("news/news.zel")), "#branch\r\n#title News\r\n#button today Today\r\n");
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

    QList<frmEdit*> editors() const
    {
        QList<frmEdit*> found;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<frmEdit*>(window); editor && editor->isVisible())
                found.append(editor);
        return found;
    }

    QStringList madePages() const
    {
        QStringList made;
        for (const char* page : {"root/root.htm", "news/today.htm", "news/news.htm"})
            if (Files::fileExists(kiosk.path(QString::fromLatin1(page))))
                made.append(QString::fromLatin1(page));
        return made;
    }

    void trigger(const char* name) { main->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }

    QTemporaryDir m_settings;
    std::unique_ptr<frmKioskSystem> main;
};

TEST_F(PageCommandsTest, NewPageCommandsOpenAnEditorEach)
{
    trigger("mnuCreateBranchPage");
    trigger("mnuCreateLeafPage");
    trigger("mnuCreateSelectorPage");
    trigger("mnuCreateLeafPage");
    QStringList captions;
    for (frmEdit* editor : editors())
        captions.append(editor->windowTitle());
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"ZEL (Editor) New Branch Page", "ZEL (Editor) New Leaf page",
                                     "ZEL (Editor) New Leaf page", "ZEL (Editor) New Selector page"}));
}

TEST_F(PageCommandsTest, EditPageOpensTheChosenPage)
{
    whenShown<dlgSelectFile>(QStringLiteral("dlgSelectFile"), [](dlgSelectFile& dialog) {
        dialog.folderList()->setCurrentRow(0); // news
        dialog.pageList()->setCurrentRow(1);   // today
        dialog.okButton()->click();
    });
    trigger("mnuEditPage");
    ASSERT_EQ(editors().size(), 1);
    EXPECT_EQ(editors().first()->windowTitle(), QStringLiteral("ZEL (Editor) Leaf Page - news\\today"));
    EXPECT_EQ(editors().first()->bodyText(), QStringLiteral("#title Today\n"));

    whenShown<dlgSelectFile>(QStringLiteral("dlgSelectFile"), [](dlgSelectFile& dialog) { dialog.cancelButton()->click(); });
    trigger("mnuEditPage");
    EXPECT_EQ(editors().size(), 1) << "a cancelled choice opens nothing";
}

TEST_F(PageCommandsTest, EditorWithUnsavedChangesStopsTheOpenOfAnotherKioskSystem)
{
    frmEdit* editor = newEditor(1);
    kiosk.messages.scriptAnswers({Answer::Cancel});
    main->openKioskSystem(kiosk.folder());
    EXPECT_EQ(kiosk.messages.texts(),
              (QStringList{"Page has changed - do you want to save it?",
                           "You must close ALL ZEL editor windows BEFORE you can open another Kiosk System"}));
    EXPECT_TRUE(editor->isVisible());
}

TEST_F(PageCommandsTest, MakeAllPagesWithChangedEditors)
{
    struct Row {
        const char* name;
        std::initializer_list<int> answers;
        int questions;
        bool made;
    };
    const Row rows[] = {
        {"No then Cancel makes nothing", {Answer::No, Answer::Cancel}, 2, false},
        {"Yes makes nothing", {Answer::Yes}, 1, false},
        {"No for both makes all pages", {Answer::No, Answer::No}, 2, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const char* page : {"root/root.htm", "news/today.htm", "news/news.htm"})
            QFile::remove(kiosk.path(QString::fromLatin1(page)));
        frmEdit* first = newEditor(1);
        frmEdit* second = newEditor(2);
        frmEdit* unchanged = editorOn(QStringLiteral("news/today.zel"), "#leaf\r\n#title Today\r\n");
        ASSERT_NE(unchanged, nullptr);
        main->activateWindow();
        QCoreApplication::processEvents();
        kiosk.messages.clear();
        kiosk.messages.scriptAnswers(row.answers);
        trigger("mnuMakeAllPages");
        EXPECT_EQ(kiosk.messages.texts(),
                  QStringList(row.questions, QStringLiteral("A page has been changed  - do you wish to save it first?")));
        EXPECT_EQ(madePages().size(), row.made ? 3 : 0);
        if (row.questions == 1) {
            QCoreApplication::processEvents(); // window activation arrives as an event
            auto* front = qobject_cast<frmEdit*>(QApplication::activeWindow());
            EXPECT_TRUE(front == first || front == second) << "Yes brings the changed editor to the front";
        }
        for (frmEdit* editor : {first, second, unchanged}) {
            editor->txtContent()->document()->setModified(false);
            editor->close();
        }
    }
}

TEST_F(PageCommandsTest, MakeAllPagesWithoutEditorsGoesStraightToTheMaker)
{
    trigger("mnuMakeAllPages");
    EXPECT_TRUE(kiosk.messages.texts().isEmpty());
    EXPECT_EQ(madePages().size(), 3);
    dlgMakePage& maker = dlgMakePage::instance();
    EXPECT_EQ(maker.windowTitle(), QStringLiteral("ZEL - Make Page"));
    EXPECT_FALSE(maker.isVisible()) << "the dialog hides itself when done";
    EXPECT_EQ(maker.progressBar()->maximum(), 3);
    EXPECT_EQ(maker.progressBar()->value(), 3);
    EXPECT_EQ(maker.progressBar()->text(), QStringLiteral("3 / 3"));
    EXPECT_EQ(makerMessages, QStringList{"Making page root in folder root"}) << "the last page's message stays";
}

// The label and bar as they are while each page is made.
TEST_F(PageCommandsTest, MakerDialogShowsEachPageWhileItWorks)
{
    dlgMakePage& maker = dlgMakePage::instance();
    QStringList seen;
    QObject::connect(maker.progressBar(), &QProgressBar::valueChanged, maker.progressBar(), [&](int value) {
        if (value > 0)
            seen.append(maker.lblMessage()->text() + QStringLiteral(" | %1/%2").arg(value).arg(maker.progressBar()->maximum()));
    });
    maker.makeAll();
    maker.showModal(main.get());
    EXPECT_EQ(seen, (QStringList{"Making page news in folder news | 1/3", "Making page today in folder news | 2/3",
                                 "Making page root in folder root | 3/3"}));

    maker.makeOne(kiosk.path(QStringLiteral("news/today.zel")));
    maker.showModal(main.get());
    EXPECT_FALSE(maker.progressBar()->isVisibleTo(&maker)) << "one page shows no bar";
    EXPECT_EQ(maker.lblMessage()->text(), QStringLiteral("Making page today in folder news"));
    EXPECT_EQ(maker.parentWidget(), nullptr) << "the owner does not keep the dialog";
}

} // namespace
