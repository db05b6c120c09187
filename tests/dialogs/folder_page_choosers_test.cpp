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

// OK at once; a name typed into the name box, then OK.
const auto ok = [](auto& d) { d.okButton()->click(); };
const auto typed = [](const char* text) {
    return thenOK([text](auto& d) {
        auto* box = d.template findChild<SimpleComboBox*>();
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), text);
    });
};

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
// sources in any letter case; which files are page sources is the maker's
// test), a sport folder without pages, a file at the top and a hidden folder. Each opener
// shows its dialog and returns its result.
class ChoosersTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (const char* file : {"about/team.zel", "news/today.zel", "news/a.zel", "news/Intro.ZEL", "news/memo.Zel",
                                 "top.txt", "sport/notes.txt", ".hidden/page.zel"})
            writeBytes(kiosk.path(file), "#leaf\r\n");
    }

    template <class Dialog>
    void check(const QString& prefix, const Row<Dialog>& row, const std::function<QString()>& open)
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
    const auto highlight = [](int row) { return thenOK([row](auto& d) { d.folderList()->setCurrentRow(row); }); };
    const Row<dlgSelectFolder> rows[] = {
        {"the first folder is preselected", ok, "about", {}, false},
        {"OK takes the highlighted folder", highlight(2), "sport", {}, false},
        {"the close box is Cancel", [](auto& d) { d.close(); }, "", {}, false},
        {"double click does nothing", [](auto& d) { doubleClick(d.folderList(), 1); }, "", {}, true},
        {"OK without a selection", highlight(-1), "", {"No folder selected"}, true},
    };
    for (const auto& row : rows)
        check("", row, [&] { return selectFolder(); });
    EXPECT_EQ(texts(workbench.instance<dlgSelectFolder>().folderList()), (QStringList{"about", "news", "sport"}));
}

TEST_F(ChoosersTest, SelectFileTable)
{
    const auto highlight = [](int folder, int page) {
        return [folder, page](dlgSelectFile& d) {
            d.folderList()->setCurrentRow(folder);
            if (page >= 0)
                d.pageList()->setCurrentRow(page);
        };
    };
    const Row<dlgSelectFile> rows[] = {
        {"the first folder and page are preselected", ok, "about/team.zel", {}, false},
        {"another folder preselects its first page", thenOK(highlight(1, -1)), "news/a.zel", {}, false},
        {"a folder without pages", thenOK(highlight(2, -1)), "", {"No page selected"}, true},
        {"OK takes the highlighted page", thenOK(highlight(1, 3)), "news/today.zel", {}, false},
        {"a page source in capitals by its name on disk", thenOK(highlight(1, 1)), "news/Intro.ZEL", {}, false},
        {"double click on a page is OK",
         [&](auto& d) {
             highlight(1, 1)(d);
             doubleClick(d.pageList(), 0);
         },
         "news/a.zel",
         {},
         false},
    };
    for (const auto& row : rows)
        check(kiosk.folder(), row, [&] { return selectFile(); });
    const dlgSelectFile& d = workbench.instance<dlgSelectFile>();
    EXPECT_EQ(texts(d.pageList()), (QStringList{"a", "Intro", "memo", "today"}));
    EXPECT_EQ(d.getFolder() + "/" + d.getPage(), "news/a");
}

TEST_F(ChoosersTest, SaveFileTable)
{
    const Row<dlgSaveFile> rows[] = {
        {"no page is preselected", ok, "", {"No page selected"}, true},
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
        check(kiosk.folder(), row, [&] { return saveAs(kiosk.path("news/today.zel")); });
    // A page never saved, or saved in a folder that is gone, gets the first folder.
    for (const char* saved : {"", "gone/x.zel"})
        check<dlgSaveFile>(kiosk.folder(), {saved, typed("new"), "about/new.zel", {}, false},
                           [&] { return saveAs(*saved ? kiosk.path(saved) : QString()); });
}

TEST_F(ChoosersTest, CreateNewFolderTable)
{
    const Row<dlgCreateNewFolder> rows[] = {
        {"spaces around a new name are trimmed", typed("  weather  "), "weather", {}, false},
        {"spaces around an existing name", typed("  news "), "", {"Folder already exists"}, true},
        {"only blanks", typed("   "), "", {"No folder name entered"}, true},
        {"capital letters", typed("News"), "", {"News is not a valid folder name"}, true},
    };
    for (const auto& row : rows)
        check(kiosk.folder(), row, [&] { return createFolder(); });
    EXPECT_FALSE(QFileInfo::exists(kiosk.path("weather"))); // the caller creates it
    ASSERT_TRUE(QDir().mkpath(kiosk.path("weekly")));
    check<dlgCreateNewFolder>("",
                              {"the list is refilled on every show, and picking from it is refused",
                               thenOK([](auto& d) { d.folderBox()->setCurrentRow(3); }),
                               "",
                               {"Folder already exists"},
                               true},
                              [&] { return createFolder(); });
    EXPECT_EQ(workbench.instance<dlgCreateNewFolder>().folderBox()->items(),
              (QStringList{"about", "news", "sport", "weekly"}));
}

} // namespace
