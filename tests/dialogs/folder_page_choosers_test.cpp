// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/new_folder_dialog.h"
#include "dialogs/save_file_dialog.h"
#include "dialogs/select_file_dialog.h"
#include "dialogs/select_folder_dialog.h"
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
// the author leaves open (so every one that shows a message) is cancelled afterwards.
template <class Dialog>
struct Row {
    const char* name;
    std::function<void(Dialog&)> author;
    QString result;
    QStringList messages = {};
    bool staysOpen = false;
};

// The openers.
const auto selectFolder = [](SelectFolderDialog& d) { d.openFolders(); };
const auto selectFile = [](SelectFileDialog& d) { d.openPage(); };
const auto saveAs = [](const QString& saved) { return [saved](SaveFileDialog& d) { d.savePage(saved); }; };
const auto createFolder = [](NewFolderDialog& d) { d.showModal(); };

// A kiosk system with about/team and news/a, Intro, memo and today (page
// sources in any letter case; which files are page sources is the maker's
// test), a sport folder without pages, a file at the top and a hidden folder.
class ChoosersTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (const char* file : {"about/team.zel", "news/today.zel", "news/a.zel", "news/Intro.ZEL", "news/memo.Zel",
                                 "top.txt", "sport/notes.txt", ".hidden/page.zel"})
            writeBytes(kiosk.path(file), "#leaf\r\n");
    }

    // Each row through the opener, then the result as the program takes it, from the dialog there then (one
    // closed through its frame is gone); a folder's result is its name, every other a path.
    template <class Dialog, size_t N>
    void check(const Row<Dialog> (&rows)[N], const auto& open, QString (Dialog::*result)() const)
    {
        const QString prefix = std::is_same_v<Dialog, SelectFolderDialog> ? QString() : kiosk.folder();
        for (const Row<Dialog>& row : rows) {
            SCOPED_TRACE(row.name);
            kiosk.messages.clear();
            author.stayedOpen = 0;
            author.whenShown<Dialog>(row.author);
            const QString expected = row.result.isEmpty() ? QString() : prefix + QDir::toNativeSeparators(row.result);
            open(workbench.instance<Dialog>());
            EXPECT_EQ((workbench.instance<Dialog>().*result)(), expected);
            EXPECT_EQ(author.stayedOpen, row.staysOpen || !row.messages.isEmpty() ? 1 : 0);
            QStringList firstLines;
            for (const QString& text : kiosk.messages.texts())
                firstLines.append(text.section("\r\n", 0, 0));
            EXPECT_EQ(firstLines, row.messages);
        }
    }
};

TEST_F(ChoosersTest, WithoutFoldersEachOpenerSaysSoAndShowsNothing)
{
    for (const char* folder : {"about", "news", "sport", ".hidden"})
        QDir(kiosk.path(folder)).removeRecursively();
    selectFolder(workbench.instance<SelectFolderDialog>());
    selectFile(workbench.instance<SelectFileDialog>());
    saveAs({})(workbench.instance<SaveFileDialog>());
    EXPECT_EQ(kiosk.messages.texts(), QStringList(3, "No folders have been created in this kiosk system"));
    EXPECT_EQ(author.shown, 0);
}

TEST_F(ChoosersTest, SelectFolderTable)
{
    const auto highlight = [](int row) { return thenOK([row](auto& d) { d.folderList()->setCurrentRow(row); }); };
    const Row<SelectFolderDialog> rows[] = {
        {"the first folder is preselected", ok, "about"},
        {"OK takes the highlighted folder", highlight(2), "sport"},
        {"the close box is Cancel", [](auto& d) { d.close(); }, ""},
        {"double click does nothing", [](auto& d) { doubleClick(d.folderList(), 1); }, "", {}, true},
        {"OK without a selection", highlight(-1), "", {"No folder selected"}},
    };
    check(rows, selectFolder, &SelectFolderDialog::getSelectedFolderName);
    EXPECT_EQ(texts(workbench.instance<SelectFolderDialog>().folderList()), (QStringList{"about", "news", "sport"}));
}

TEST_F(ChoosersTest, SelectFileTable)
{
    const auto highlight = [](int folder, int page) {
        return [folder, page](SelectFileDialog& d) {
            d.folderList()->setCurrentRow(folder);
            if (page >= 0)
                d.pageList()->setCurrentRow(page);
        };
    };
    const auto doubleClickFirst = [&](SelectFileDialog& d) {
        highlight(1, 1)(d);
        doubleClick(d.pageList(), 0);
    };
    const Row<SelectFileDialog> rows[] = {
        {"the first folder and page are preselected", ok, "about/team.zel"},
        {"another folder preselects its first page", thenOK(highlight(1, -1)), "news/a.zel"},
        {"a folder without pages", thenOK(highlight(2, -1)), "", {"No page selected"}},
        {"OK takes a page source in capitals by its name on disk", thenOK(highlight(1, 1)), "news/Intro.ZEL"},
        {"double click on a page is OK", doubleClickFirst, "news/a.zel"},
    };
    check(rows, selectFile, &SelectFileDialog::getSelectedFilePath);
    const SelectFileDialog& d = workbench.instance<SelectFileDialog>();
    EXPECT_EQ(texts(d.pageList()), (QStringList{"a", "Intro", "memo", "today"}));
    EXPECT_EQ(d.getFolder() + "/" + d.getPage(), "news/a");
}

// The last rows: a page never saved, or saved in a folder that is gone, gets the first folder.
TEST_F(ChoosersTest, SaveFileTable)
{
    const Row<SaveFileDialog> rows[] = {
        {"no page is preselected", ok, "", {"No page selected"}},
        {"a new page name", typed("weekend"), "news/weekend.zel"},
        {"an existing page source in other letters", typed("memo"), "news/memo.Zel"},
        {"a capital letter", typed("Today"), "", {"Today is not a valid page name"}},
        {"double click on a page is OK", [](auto& d) { doubleClick(d.pageBox()->listWidget(), 0); }, "news/a.zel"},
    };
    check(rows, saveAs(kiosk.path("news/today.zel")), &SaveFileDialog::getSelectedFilePath);
    for (const char* saved : {"", "gone/x.zel"}) {
        const Row<SaveFileDialog> fresh[] = {{saved, typed("new"), "about/new.zel"}};
        check(fresh, saveAs(*saved ? kiosk.path(saved) : QString()), &SaveFileDialog::getSelectedFilePath);
    }
}

// The last row: the list is refilled on every show, and picking a name from it is refused.
TEST_F(ChoosersTest, CreateNewFolderTable)
{
    const Row<NewFolderDialog> rows[] = {
        {"spaces around a new name are trimmed", typed("  weather  "), "weather"},
        {"spaces around an existing name", typed("  news "), "", {"Folder already exists"}},
        {"only blanks", typed("   "), "", {"No folder name entered"}},
        {"capital letters", typed("News"), "", {"News is not a valid folder name"}},
    };
    check(rows, createFolder, &NewFolderDialog::getFolderPath);
    EXPECT_FALSE(QFileInfo::exists(kiosk.path("weather"))); // the caller creates it
    ASSERT_TRUE(QDir().mkpath(kiosk.path("weekly")));
    const Row<NewFolderDialog> picked[] = {
        {"picked", thenOK([](auto& d) { d.folderBox()->setCurrentRow(3); }), "", {"Folder already exists"}}};
    check(picked, createFolder, &NewFolderDialog::getFolderPath);
    EXPECT_EQ(workbench.instance<NewFolderDialog>().folderBox()->items(),
              (QStringList{"about", "news", "sport", "weekly"}));
}

} // namespace
