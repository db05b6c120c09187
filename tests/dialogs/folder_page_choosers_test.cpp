#include "chooser_fixture.h"
#include "dialogs/dlg_create_new_folder.h"
#include "dialogs/dlg_save_file.h"
#include "dialogs/dlg_select_file.h"
#include "dialogs/dlg_select_folder.h"
#include "dialogs/simple_combo_box.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

const QString kNoFolders = QStringLiteral("No folders have been created in this kiosk system");
const QString kSep = QDir::separator();

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result.append(list->item(i)->text());
    return result;
}

void doubleClick(QListWidget* list, int row)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// ---- the three openers with an empty kiosk system ----

TEST_F(ChooserTest, NoSubFolderMeansAMessageAndAnEmptyResultWithoutShowing)
{
    struct Row {
        const char* name;
        std::function<QString()> open;
    };
    const Row rows[] = {
        {"Save As", [] {
             dlgSaveFile::instance().savePage(QString());
             return dlgSaveFile::instance().getSelectedFilePath();
         }},
        {"Select Page", [] {
             dlgSelectFile::instance().openPage();
             return dlgSelectFile::instance().getSelectedFilePath();
         }},
        {"Select Folder", [] {
             dlgSelectFolder::instance().openFolders();
             return dlgSelectFolder::instance().getSelectedFolderName();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        EXPECT_EQ(row.open(), QString());
        EXPECT_EQ(kiosk.messages.texts(), QStringList{kNoFolders});
        EXPECT_EQ(kiosk.messages.entries()[0].kind, RecordingMessages::Entry::Ok);
    }
    EXPECT_EQ(shownCount, 0);
}

// ---- dlgSelectFolder ----

TEST_F(ChooserTest, SelectFolderListsFoldersSortedAndPreselectsTheFirst)
{
    for (const char* name : {"news", "root", "about", "zoo"})
        makeFolder(QString::fromLatin1(name));
    makeFile(QStringLiteral("notes.txt"));
    makeFolder(QStringLiteral(".hidden"));
    QStringList listed;
    whenShown<dlgSelectFolder>([&](dlgSelectFolder& dialog) {
        listed = texts(dialog.folderList());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ZEL - Select Folder"));
        EXPECT_EQ(dialog.folderList()->currentRow(), 0);
        dialog.okButton()->click();
    });
    dlgSelectFolder::instance().openFolders();
    EXPECT_EQ(listed, (QStringList{"about", "news", "root", "zoo"}));
    EXPECT_EQ(dlgSelectFolder::instance().getSelectedFolderName(), QStringLiteral("about"));
}

TEST_F(ChooserTest, SelectFolderResults)
{
    makeFolder(QStringLiteral("news"));
    makeFolder(QStringLiteral("sport"));
    struct Row {
        const char* name;
        std::function<void(dlgSelectFolder&)> author;
        QString result;
        QStringList messages;
    };
    const Row rows[] = {
        {"OK takes the highlighted folder",
         [](dlgSelectFolder& d) {
             d.folderList()->setCurrentRow(1);
             d.okButton()->click();
         },
         "sport", {}},
        {"OK without a selection stays open",
         [](dlgSelectFolder& d) {
             d.folderList()->setCurrentRow(-1);
             d.okButton()->click();
             EXPECT_TRUE(d.isVisible());
             d.cancelButton()->click();
         },
         "", {"No folder selected"}},
        {"double click does nothing",
         [](dlgSelectFolder& d) {
             doubleClick(d.folderList(), 1);
             EXPECT_TRUE(d.isVisible());
             d.cancelButton()->click();
         },
         "", {}},
        {"Esc is Cancel", [](dlgSelectFolder& d) { QTest::keyClick(&d, Qt::Key_Escape); }, "", {}},
        {"the close box is Cancel", [](dlgSelectFolder& d) { d.close(); }, "", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        // An earlier answer first, so that a stale result would show.
        whenShown<dlgSelectFolder>([](dlgSelectFolder& d) { d.okButton()->click(); });
        dlgSelectFolder::instance().openFolders();
        ASSERT_EQ(dlgSelectFolder::instance().getSelectedFolderName(), QStringLiteral("news"));
        whenShown<dlgSelectFolder>(row.author);
        dlgSelectFolder::instance().openFolders();
        EXPECT_EQ(dlgSelectFolder::instance().getSelectedFolderName(), row.result);
        EXPECT_EQ(kiosk.messages.texts(), row.messages);
        EXPECT_FALSE(dlgSelectFolder::instance().isVisible());
    }
}

// ---- dlgSelectFile ----

TEST_F(ChooserTest, SelectFilePreselectsTheFirstFolderAndPageAndListsOnlyPageSources)
{
    makeFile(QStringLiteral("about/team.zel"));
    makeFile(QStringLiteral("news/today.zel"));
    makeFile(QStringLiteral("news/a.zel"));
    makeFile(QStringLiteral("news/notes.txt"));
    makeFile(QStringLiteral("news/old.zel.bak"));
    whenShown<dlgSelectFile>([&](dlgSelectFile& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("ZEL - Select Page"));
        EXPECT_EQ(texts(d.folderList()), (QStringList{"about", "news"}));
        EXPECT_EQ(d.getFolder(), QStringLiteral("about"));
        EXPECT_EQ(texts(d.pageList()), QStringList{"team"});
        EXPECT_EQ(d.getPage(), QStringLiteral("team"));
        d.folderList()->setCurrentRow(1);
        EXPECT_EQ(texts(d.pageList()), (QStringList{"a", "today"}));
        EXPECT_EQ(d.getPage(), QStringLiteral("a"));
        d.pageList()->setCurrentRow(1);
        d.okButton()->click();
    });
    dlgSelectFile::instance().openPage();
    EXPECT_EQ(dlgSelectFile::instance().getSelectedFilePath(),
              kiosk.folder() + QStringLiteral("news") + kSep + QStringLiteral("today.zel"));
    EXPECT_EQ(dlgSelectFile::instance().getFolder(), QStringLiteral("news"));
    EXPECT_EQ(dlgSelectFile::instance().getPage(), QStringLiteral("today"));
    EXPECT_TRUE(kiosk.messages.texts().isEmpty());
}

TEST_F(ChooserTest, SelectFileFolderWithoutPagesSaysNoPageSelected)
{
    makeFolder(QStringLiteral("empty"));
    whenShown<dlgSelectFile>([&](dlgSelectFile& d) {
        EXPECT_EQ(d.pageList()->count(), 0);
        d.okButton()->click();
        EXPECT_TRUE(d.isVisible());
        d.cancelButton()->click();
    });
    dlgSelectFile::instance().openPage();
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"No page selected"});
    EXPECT_EQ(dlgSelectFile::instance().getSelectedFilePath(), QString());
}

TEST_F(ChooserTest, SelectFileDoubleClickOnAPageIsOK)
{
    makeFile(QStringLiteral("news/a.zel"));
    makeFile(QStringLiteral("news/b.zel"));
    whenShown<dlgSelectFile>([&](dlgSelectFile& d) { doubleClick(d.pageList(), 1); });
    dlgSelectFile::instance().openPage();
    EXPECT_EQ(dlgSelectFile::instance().getSelectedFilePath(),
              kiosk.folder() + QStringLiteral("news") + kSep + QStringLiteral("b.zel"));
}

TEST_F(ChooserTest, SelectFileCloseBoxCountsAsCancelAndTheNextUseIsAFreshDialog)
{
    makeFile(QStringLiteral("news/a.zel"));
    whenShown<dlgSelectFile>([](dlgSelectFile& d) { d.okButton()->click(); });
    dlgSelectFile::instance().openPage();
    ASSERT_FALSE(dlgSelectFile::instance().getSelectedFilePath().isEmpty());
    whenShown<dlgSelectFile>([](dlgSelectFile& d) { d.close(); });
    dlgSelectFile::instance().openPage();
    EXPECT_EQ(dlgSelectFile::instance().getSelectedFilePath(), QString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dlgSelectFile::instance().getSelectedFilePath(), QString());
}

// ---- dlgSaveFile ----

TEST_F(ChooserTest, SaveFilePreselectsThePagesOwnFolder)
{
    makeFile(QStringLiteral("about/team.zel"));
    makeFile(QStringLiteral("news/today.zel"));
    struct Row {
        const char* name;
        QString filePath;
        QString folder;
    };
    const Row rows[] = {
        {"page never saved", QString(), "about"},
        {"page in news", kiosk.folder() + "news" + kSep + "today.zel", "news"},
        {"folder no longer there", kiosk.folder() + "gone" + kSep + "x.zel", "about"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QString selected;
        QStringList pages;
        int pageRow = -2;
        whenShown<dlgSaveFile>([&](dlgSaveFile& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("ZEL - Save Page As"));
            selected = d.folderList()->currentItem()->text();
            pages = d.pageBox()->items();
            pageRow = d.pageBox()->currentRow();
            d.cancelButton()->click();
        });
        dlgSaveFile::instance().savePage(row.filePath);
        EXPECT_EQ(selected, row.folder);
        EXPECT_EQ(pages, QStringList{row.folder == "news" ? "today" : "team"});
        EXPECT_EQ(pageRow, -1);
        EXPECT_EQ(dlgSaveFile::instance().getSelectedFilePath(), QString());
    }
}

TEST_F(ChooserTest, SaveFileOKTable)
{
    makeFile(QStringLiteral("news/today.zel"));
    makeFolder(QStringLiteral("sport"));
    struct Row {
        const char* name;
        QString typed;
        QString result; // relative to the kiosk folder, empty when the dialog stays open
        int messages;
        QString message;
    };
    const Row rows[] = {
        {"new page name", "weekend", "news" + kSep + "weekend.zel", 0, {}},
        {"name of an existing page", "today", "news" + kSep + "today.zel", 0, {}},
        {"empty page text", "", {}, 1, "No page selected"},
        {"capital letter", "Today", {}, 1, {}},
        {"space in the name", "to day", {}, 1, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        bool stayedOpen = false;
        whenShown<dlgSaveFile>([&](dlgSaveFile& d) {
            d.pageBox()->lineEdit()->clear();
            QTest::keyClicks(d.pageBox()->lineEdit(), row.typed);
            d.okButton()->click();
            stayedOpen = d.isVisible();
            if (stayedOpen)
                d.cancelButton()->click();
        });
        dlgSaveFile::instance().savePage(kiosk.folder() + "news" + kSep + "today.zel");
        EXPECT_EQ(stayedOpen, row.result.isEmpty());
        EXPECT_EQ(dlgSaveFile::instance().getSelectedFilePath(),
                  row.result.isEmpty() ? QString() : kiosk.folder() + row.result);
        EXPECT_EQ(kiosk.messages.texts().size(), row.messages);
        if (!row.message.isEmpty())
            EXPECT_EQ(kiosk.messages.texts().value(0), row.message);
    }
}

TEST_F(ChooserTest, SaveFileDoubleClickOnAPageIsOKWithThatName)
{
    makeFile(QStringLiteral("news/a.zel"));
    makeFile(QStringLiteral("news/today.zel"));
    whenShown<dlgSaveFile>([&](dlgSaveFile& d) { doubleClick(d.pageBox()->listWidget(), 1); });
    dlgSaveFile::instance().savePage(QString());
    EXPECT_EQ(dlgSaveFile::instance().getSelectedFilePath(), kiosk.folder() + "news" + kSep + "today.zel");
}

// ---- dlgCreateNewFolder ----

TEST_F(ChooserTest, CreateNewFolderOKTable)
{
    makeFolder(QStringLiteral("news"));
    makeFolder(QStringLiteral("root"));
    struct Row {
        const char* name;
        std::function<void(SimpleComboBox&)> enter;
        QString result;
        QStringList messages; // "*" stands for the name rule's own message
    };
    auto typed = [](const char* text) {
        return [text](SimpleComboBox& box) {
            box.lineEdit()->clear();
            QTest::keyClicks(box.lineEdit(), QString::fromLatin1(text));
        };
    };
    const Row rows[] = {
        {"spaces around a new name are trimmed", typed("  sport  "), "sport", {}},
        {"a new name", typed("weather"), "weather", {}},
        {"spaces around an existing name", typed("  news "), {}, {"Folder already exists"}},
        {"picked from the list", [](SimpleComboBox& box) { box.setCurrentRow(1); }, {}, {"Folder already exists"}},
        {"empty text", typed(""), {}, {"No folder name entered"}},
        {"only blanks", typed("   "), {}, {"No folder name entered"}},
        {"not a valid folder name", typed("My Folder"), {}, {"*"}},
        {"capital letters", typed("News"), {}, {"*"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        whenShown<dlgCreateNewFolder>([&](dlgCreateNewFolder& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Create New Folder"));
            EXPECT_EQ(d.folderBox()->items(), (QStringList{"news", "root"}));
            row.enter(*d.folderBox());
            d.okButton()->click();
            EXPECT_EQ(d.isVisible(), row.result.isEmpty());
            if (d.isVisible())
                d.cancelButton()->click();
        });
        dlgCreateNewFolder::instance().showModal();
        EXPECT_EQ(dlgCreateNewFolder::instance().getFolderPath(),
                  row.result.isEmpty() ? QString() : kiosk.folder() + row.result);
        ASSERT_EQ(kiosk.messages.texts().size(), row.messages.size());
        if (!row.messages.isEmpty() && row.messages[0] != "*")
            EXPECT_EQ(kiosk.messages.texts(), row.messages);
        // The dialog creates nothing itself.
        if (!row.result.isEmpty())
            EXPECT_FALSE(QFileInfo::exists(kiosk.path(row.result)));
    }
}

TEST_F(ChooserTest, CreateNewFolderKeepsTheTypedTextAndRefillsItsListOnEveryShow)
{
    makeFolder(QStringLiteral("news"));
    whenShown<dlgCreateNewFolder>([&](dlgCreateNewFolder& d) {
        QTest::keyClicks(d.folderBox()->lineEdit(), QStringLiteral("sport"));
        d.cancelButton()->click();
    });
    dlgCreateNewFolder::instance().showModal();
    makeFolder(QStringLiteral("sport"));
    QString text;
    QStringList listed;
    whenShown<dlgCreateNewFolder>([&](dlgCreateNewFolder& d) {
        text = d.folderBox()->text();
        listed = d.folderBox()->items();
        d.okButton()->click();
        d.cancelButton()->click();
    });
    dlgCreateNewFolder::instance().showModal();
    EXPECT_EQ(text, QStringLiteral("sport"));
    EXPECT_EQ(listed, (QStringList{"news", "sport"}));
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"Folder already exists"});
    EXPECT_EQ(dlgCreateNewFolder::instance().getFolderPath(), QString());

    // The close box destroys it: the next one starts empty.
    whenShown<dlgCreateNewFolder>([](dlgCreateNewFolder& d) { d.close(); });
    dlgCreateNewFolder::instance().showModal();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dlgCreateNewFolder::instance().folderBox()->text(), QString());
    EXPECT_EQ(dlgCreateNewFolder::instance().getFolderPath(), QString());
}

// ---- the resize rule ----

struct ResizeRow {
    const char* name;
    QSize design;
    int margin;
    bool twoLists;
    std::function<ChooserDialog&()> open; // shows the dialog (the runner leaves it open)
    std::function<QWidget*(ChooserDialog&)> firstList;
    std::function<QWidget*(ChooserDialog&)> secondList;
};

TEST_F(ChooserTest, ResizeRuleKeepsTheFirstSizeAsMinimumAndStretchesTheLists)
{
    makeFile(QStringLiteral("news/today.zel"));
    const ResizeRow rows[] = {
        {"dlgSaveFile", {344, 245}, 16, true,
         []() -> ChooserDialog& {
             dlgSaveFile::instance().savePage(QString());
             return dlgSaveFile::instance();
         },
         [](ChooserDialog& d) -> QWidget* { return static_cast<dlgSaveFile&>(d).folderList(); },
         [](ChooserDialog& d) -> QWidget* { return static_cast<dlgSaveFile&>(d).pageBox(); }},
        {"dlgSelectFile", {344, 245}, 16, true,
         []() -> ChooserDialog& {
             dlgSelectFile::instance().openPage();
             return dlgSelectFile::instance();
         },
         [](ChooserDialog& d) -> QWidget* { return static_cast<dlgSelectFile&>(d).folderList(); },
         [](ChooserDialog& d) -> QWidget* { return static_cast<dlgSelectFile&>(d).pageList(); }},
        {"dlgSelectFolder", {177, 245}, 16, false,
         []() -> ChooserDialog& {
             dlgSelectFolder::instance().openFolders();
             return dlgSelectFolder::instance();
         },
         [](ChooserDialog& d) -> QWidget* { return static_cast<dlgSelectFolder&>(d).folderList(); }, nullptr},
        {"dlgCreateNewFolder", {194, 212}, 8, false,
         []() -> ChooserDialog& {
             dlgCreateNewFolder::instance().showModal();
             return dlgCreateNewFolder::instance();
         },
         [](ChooserDialog& d) -> QWidget* { return static_cast<dlgCreateNewFolder&>(d).folderBox(); }, nullptr},
    };
    for (const ResizeRow& row : rows) {
        SCOPED_TRACE(row.name);
        ChooserDialog& d = row.open();
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(d.size(), row.design);
        QWidget* first = row.firstList(d);
        const QRect firstAtStart = first->geometry();
        const int cancelTopAtStart = d.cancelButton()->y();

        d.resize(row.design.width() - 50, row.design.height() - 40);
        EXPECT_EQ(d.size(), row.design);
        EXPECT_EQ(d.minimumSize(), row.design);

        const int wider = 120, taller = 90;
        d.resize(row.design.width() + wider, row.design.height() + taller);
        ASSERT_EQ(d.size(), QSize(row.design.width() + wider, row.design.height() + taller));
        EXPECT_EQ(first->height(), firstAtStart.height() + taller);
        EXPECT_EQ(first->x(), row.margin);
        EXPECT_EQ(d.cancelButton()->y(), cancelTopAtStart + taller);
        EXPECT_EQ(d.okButton()->y(), cancelTopAtStart + taller);
        EXPECT_EQ(d.okButton()->height(), 25);
        if (row.twoLists) {
            const int column = (d.width() - 3 * row.margin) / 2;
            QWidget* second = row.secondList(d);
            EXPECT_EQ(first->width(), column);
            EXPECT_EQ(second->width(), column);
            EXPECT_EQ(second->height(), first->height());
            EXPECT_EQ(second->x(), 2 * row.margin + column);
            EXPECT_EQ(d.cancelButton()->x(), row.margin + (column - d.cancelButton()->width()) / 2);
            EXPECT_EQ(d.okButton()->x(), second->x() + (column - d.okButton()->width()) / 2);
            EXPECT_EQ(d.findChild<QLabel*>("lblPage")->x(), second->x());
        } else {
            const int inner = d.width() - 2 * row.margin;
            EXPECT_EQ(first->width(), inner);
            EXPECT_EQ(d.cancelButton()->x(), row.margin + (inner / 2 - d.cancelButton()->width()) / 2);
            EXPECT_EQ(d.okButton()->x(), row.margin + (inner * 3 / 2 - d.okButton()->width()) / 2);
        }
        // Cancel left of OK, and neither overlaps the list.
        EXPECT_LT(d.cancelButton()->x() + d.cancelButton()->width(), d.okButton()->x());
        EXPECT_LT(first->geometry().bottom(), d.cancelButton()->y());
        EXPECT_EQ(d.findChild<QLabel*>("lblFolder")->text(), QStringLiteral("Folders"));
        d.cancelButton()->click();
    }
}

} // namespace
