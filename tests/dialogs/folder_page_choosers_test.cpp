#include "dialogs/dlg_create_new_folder.h"
#include "dialogs/dlg_save_file.h"
#include "dialogs/dlg_select_file.h"
#include "dialogs/dlg_select_folder.h"
#include "dialogs/simple_combo_box.h"
#include "support/window_fixture.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result.append(list->item(i)->text());
    return result;
}

void doubleClick(QListWidget* list, int row) { clickItem(list, list->visualItemRect(list->item(row)), true); }

void typeInto(SimpleComboBox* box, const char* text)
{
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), text);
}

// One use of a dialog: what the author does, the result ("" for none; paths
// relative to the kiosk folder) and the first line of each message. A dialog
// the author leaves open is cancelled afterwards.
template <class Dialog>
struct Row {
    const char* name;
    std::function<void(Dialog&)> author;
    QString result;
    QStringList messages;
    bool staysOpen;
};

// A kiosk system with about/team and news/a, Intro, memo and today (page
// sources in any letter case, plus files and a folder that are no page
// sources), a sport folder without pages and a hidden folder. Each opener
// shows its dialog and returns its result.
class ChoosersTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (const char* file :
             {"about/team.zel", "news/today.zel", "news/a.zel", "news/Intro.ZEL", "news/memo.Zel", "news/notes.txt",
              "news/x.zel.bak", "news/.draft.zel", "news/old.zel/x", "top.txt", "sport/notes.txt", ".hidden/page.zel"})
            writeBytes(kiosk.path(file), "#leaf\r\n");
    }

    template <class Dialog>
    void check(const Row<Dialog>& row, const std::function<QString()>& open, const QString& prefix)
    {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        author.stayedOpen = 0;
        author.whenShown<Dialog>(row.author);
        EXPECT_EQ(open(), row.result.isEmpty() ? QString() : prefix + QDir::toNativeSeparators(row.result));
        EXPECT_EQ(author.stayedOpen, row.staysOpen ? 1 : 0);
        QStringList firstLines;
        for (const QString& text : kiosk.messages.texts())
            firstLines.append(text.section("\r\n", 0, 0));
        EXPECT_EQ(firstLines, row.messages);
    }

    QString selectFolder()
    {
        workbench.instance<dlgSelectFolder>().openFolders();
        return workbench.instance<dlgSelectFolder>().getSelectedFolderName();
    }
    QString selectFile()
    {
        workbench.instance<dlgSelectFile>().openPage();
        return workbench.instance<dlgSelectFile>().getSelectedFilePath();
    }
    QString saveAs(const QString& page = {})
    {
        workbench.instance<dlgSaveFile>().savePage(page);
        return workbench.instance<dlgSaveFile>().getSelectedFilePath();
    }
    QString createFolder()
    {
        workbench.instance<dlgCreateNewFolder>().showModal();
        return workbench.instance<dlgCreateNewFolder>().getFolderPath();
    }
};

using NoFoldersTest = ChoosersTest;

TEST_F(NoFoldersTest, EachOpenerSaysSoAndShowsNothing)
{
    for (const char* folder : {"about", "news", "sport", ".hidden"})
        QDir(kiosk.path(folder)).removeRecursively();
    for (int opener = 0; opener < 3; ++opener) {
        kiosk.messages.clear();
        EXPECT_EQ(opener == 0 ? selectFolder() : opener == 1 ? selectFile() : saveAs(), QString());
        EXPECT_EQ(kiosk.messages.texts(), QStringList{"No folders have been created in this kiosk system"});
    }
    EXPECT_EQ(author.shown, 0);
}

TEST_F(ChoosersTest, SelectFolderTable)
{
    const Row<dlgSelectFolder> rows[] = {
        {"the first folder is preselected", [](auto& d) { d.okButton()->click(); }, "about", {}, false},
        {"OK takes the highlighted folder",
         [](auto& d) {
             d.folderList()->setCurrentRow(2);
             d.okButton()->click();
         },
         "sport",
         {},
         false},
        {"the close box is Cancel", [](auto& d) { d.close(); }, "", {}, false},
        {"double click does nothing", [](auto& d) { doubleClick(d.folderList(), 1); }, "", {}, true},
        {"OK without a selection",
         [](auto& d) {
             d.folderList()->setCurrentRow(-1);
             d.okButton()->click();
         },
         "",
         {"No folder selected"},
         true},
    };
    for (const auto& row : rows)
        check(
            row, [&] { return selectFolder(); }, "");
    EXPECT_EQ(texts(workbench.instance<dlgSelectFolder>().folderList()), (QStringList{"about", "news", "sport"}));
}

TEST_F(ChoosersTest, SelectFileTable)
{
    auto news = [](dlgSelectFile& d, int page) {
        d.folderList()->setCurrentRow(1);
        d.pageList()->setCurrentRow(page);
    };
    const Row<dlgSelectFile> rows[] = {
        {"the first folder and page are preselected",
         [](auto& d) { d.okButton()->click(); },
         "about/team.zel",
         {},
         false},
        {"the close box is Cancel", [](auto& d) { d.close(); }, "", {}, false},
        {"another folder preselects its first page",
         [&](auto& d) {
             news(d, 0);
             d.okButton()->click();
         },
         "news/a.zel",
         {},
         false},
        {"a folder without pages",
         [](auto& d) {
             d.folderList()->setCurrentRow(2);
             d.okButton()->click();
         },
         "",
         {"No page selected"},
         true},
        {"OK takes the highlighted page",
         [&](auto& d) {
             news(d, 3);
             d.okButton()->click();
         },
         "news/today.zel",
         {},
         false},
        {"a page source in capitals by its name on disk",
         [&](auto& d) {
             news(d, 1);
             d.okButton()->click();
         },
         "news/Intro.ZEL",
         {},
         false},
        {"double click on a page is OK",
         [&](auto& d) {
             news(d, 1);
             doubleClick(d.pageList(), 0);
         },
         "news/a.zel",
         {},
         false},
    };
    for (const auto& row : rows)
        check(
            row, [&] { return selectFile(); }, kiosk.folder());
    const dlgSelectFile& d = workbench.instance<dlgSelectFile>();
    EXPECT_EQ(texts(d.pageList()), (QStringList{"a", "Intro", "memo", "today"}));
    EXPECT_EQ(d.getFolder() + "/" + d.getPage(), "news/a");
}

TEST_F(ChoosersTest, SaveFileTable)
{
    auto typed = [](const char* text) {
        return [text](dlgSaveFile& d) {
            typeInto(d.pageBox(), text);
            d.okButton()->click();
        };
    };
    const Row<dlgSaveFile> rows[] = {
        {"no page is preselected", [](auto& d) { d.okButton()->click(); }, "", {"No page selected"}, true},
        {"a new page name", typed("weekend"), "news/weekend.zel", {}, false},
        {"empty page text", typed(""), "", {"No page selected"}, true},
        {"the name of an existing page", typed("today"), "news/today.zel", {}, false},
        {"an existing page source in other letters", typed("memo"), "news/memo.Zel", {}, false},
        {"a capital letter", typed("Today"), "", {"Today is not a valid page name"}, true},
        {"double click on a page is OK",
         [](auto& d) { doubleClick(d.pageBox()->listWidget(), 0); },
         "news/a.zel",
         {},
         false},
    };
    for (const auto& row : rows)
        check(
            row, [&] { return saveAs(kiosk.path("news/today.zel")); }, kiosk.folder());
    // A page never saved, or saved in a folder that is gone, gets the first folder.
    check<dlgSaveFile>(
        {"never saved", typed("new"), "about/new.zel", {}, false}, [&] { return saveAs(); }, kiosk.folder());
    check<dlgSaveFile>(
        {"folder gone", typed("other"), "about/other.zel", {}, false}, [&] { return saveAs(kiosk.path("gone/x.zel")); },
        kiosk.folder());
}

TEST_F(ChoosersTest, CreateNewFolderTable)
{
    auto typed = [](const char* text) {
        return [text](dlgCreateNewFolder& d) {
            typeInto(d.folderBox(), text);
            d.okButton()->click();
        };
    };
    const Row<dlgCreateNewFolder> rows[] = {
        {"spaces around a new name are trimmed", typed("  weather  "), "weather", {}, false},
        {"spaces around an existing name", typed("  news "), "", {"Folder already exists"}, true},
        {"only blanks", typed("   "), "", {"No folder name entered"}, true},
        {"capital letters", typed("News"), "", {"News is not a valid folder name"}, true},
    };
    for (const auto& row : rows)
        check(
            row, [&] { return createFolder(); }, kiosk.folder());
    EXPECT_FALSE(QFileInfo::exists(kiosk.path("weather"))); // the caller creates it
    ASSERT_TRUE(QDir().mkpath(kiosk.path("weekly")));
    check<dlgCreateNewFolder>(
        {"the list is refilled on every show, and picking from it is refused",
         [](auto& d) {
             d.folderBox()->setCurrentRow(3);
             d.okButton()->click();
         },
         "",
         {"Folder already exists"},
         true},
        [&] { return createFolder(); }, "");
    EXPECT_EQ(workbench.instance<dlgCreateNewFolder>().folderBox()->items(),
              (QStringList{"about", "news", "sport", "weekly"}));
}

// The caption; the first size is the minimum; a larger dialog stretches its lists and moves the buttons down.
TEST_F(ChoosersTest, ResizeRuleTable)
{
    struct ResizeRow {
        const char* caption;
        QSize design;
        int columns;
        std::function<QWidget*()> showList;
    };
    const ResizeRow rows[] = {
        {"ZEL - Save Page As",
         {344, 245},
         2,
         [&] {
             saveAs();
             return workbench.instance<dlgSaveFile>().folderList();
         }},
        {"ZEL - Select Page",
         {344, 245},
         2,
         [&] {
             selectFile();
             return workbench.instance<dlgSelectFile>().folderList();
         }},
        {"ZEL - Select Folder",
         {177, 245},
         1,
         [&] {
             selectFolder();
             return workbench.instance<dlgSelectFolder>().folderList();
         }},
        {"Create New Folder",
         {194, 212},
         1,
         [&]() -> QWidget* {
             createFolder();
             return workbench.instance<dlgCreateNewFolder>().folderBox();
         }},
    };
    author.keepOpen = true; // the dialog stays shown
    for (const ResizeRow& row : rows) {
        SCOPED_TRACE(row.caption);
        QWidget* list = row.showList();
        auto& d = static_cast<ChooserDialog&>(*list->window());
        EXPECT_EQ(d.windowTitle(), row.caption);
        EXPECT_EQ(d.size(), row.design);
        const QRect listAtStart = list->geometry();
        const int buttonsAtStart = d.okButton()->y();
        d.resize(row.design - QSize(50, 40));
        EXPECT_EQ(d.size(), row.design);
        d.resize(row.design + QSize(120, 90));
        EXPECT_EQ(list->size(), listAtStart.size() + QSize(120 / row.columns, 90));
        EXPECT_EQ(d.okButton()->y(), buttonsAtStart + 90);
        EXPECT_LT(d.cancelButton()->geometry().right(), d.okButton()->x());
        EXPECT_LT(list->geometry().bottom(), d.okButton()->y());
        d.cancelButton()->click();
    }
}

} // namespace
