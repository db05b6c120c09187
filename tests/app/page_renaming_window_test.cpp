// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/references_window.h"
#include "dialogs/select_file_dialog.h"
#include "dialogs/select_folder_dialog.h"
#include "support/window_fixture.h"

#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace {

class RenamingWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeTextFile(kiosk.path("root/root.zel"), {"#root", "#button news\\index News"});
        writeTextFile(kiosk.path("news/index.zel"), {"#branch", "#button today Today"});
        writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#title Today"});
        writeTextFile(kiosk.path("sport/index.zel"), {"#branch", "#button news/today Today"});
        mainWindow().openKioskSystem(kiosk.folder());
        kiosk.messages.clear();
    }
    // The page chooser picks folder\page.
    void choosePage(const QString& folder, const QString& page)
    {
        author.whenShown<SelectFileDialog>(thenOK([folder, page](SelectFileDialog& dialog) {
            dialog.folderList()->setCurrentItem(dialog.folderList()->findItems(folder, Qt::MatchExactly).value(0));
            dialog.pageList()->setCurrentItem(dialog.pageList()->findItems(page, Qt::MatchExactly).value(0));
        }));
    }
};

// Rename Page from the Tools menu: the author names the page and its new name; the page source and every
// reference move with it; an editor without changes on a rewritten page shows the new text, one with changes keeps
// the author's text; Make All is offered and, answered Yes, makes every page.
TEST_F(RenamingWindowTest, RenamePageRewritesReferencesAndOffersMakeAll)
{
    editorOn("news/index.zel", "#branch\r\n#button today Today\r\n");
    EditorWindow* changed = editorOn("sport/index.zel", "#branch\r\n#button news/today Today\r\n");
    type(changed, "#title Mine\n");
    choosePage("news", "today");
    author.textAnswers = {"heute"};
    const QStringList messages =
        withAnswers({Answer::No, Answer::Yes}, [&] { trigger(main.get(), "renamePageAction"); });
    EXPECT_EQ(author.textsAsked, QStringList{"New name of page today in folder news:|Rename Page|today"});
    EXPECT_EQ(messages, (QStringList{"A page has been changed  - do you wish to save it first?\r\nsport\\index",
                                     "The pages that lead to the renamed pages must be made again. Make all pages "
                                     "now?"}));
    EXPECT_FALSE(QFileInfo::exists(kiosk.path("news/today.zel")));
    EXPECT_EQ(readLines(kiosk.path("news/heute.zel")), (QStringList{"#leaf", "#title Today"}));
    EXPECT_EQ(readLines(kiosk.path("sport/index.zel")), (QStringList{"#branch", "#button news/heute Today"}));
    const EditorWindow* index = EditorWindow::editorOn(kiosk.path("news/index.zel")); // the rewritten page reloaded
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->bodyText(), "#button heute Today\n");
    EXPECT_EQ(changed->bodyText(), "#button news/today Today\n#title Mine\n");
    EXPECT_TRUE(changed->isPageChanged());
    EXPECT_FALSE(makerMessages.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(kiosk.path("news/heute.htm")));
}

// Move Page to another folder, then Rename Folder of that folder. (Refused names are the renaming's own test.)
TEST_F(RenamingWindowTest, MovePageThenRenameItsFolder)
{
    choosePage("news", "today");
    author.whenShown<SelectFolderDialog>(thenOK([](SelectFolderDialog& dialog) {
        dialog.folderList()->setCurrentItem(dialog.folderList()->findItems("sport", Qt::MatchExactly).value(0));
    }));
    withAnswers({Answer::No}, [&] { trigger(main.get(), "movePageAction"); });
    EXPECT_EQ(readLines(kiosk.path("news/index.zel")), (QStringList{"#branch", "#button sport\\today Today"}));
    EXPECT_EQ(readLines(kiosk.path("sport/index.zel")), (QStringList{"#branch", "#button sport/today Today"}));
    EXPECT_TRUE(QFileInfo::exists(kiosk.path("sport/today.zel")));
    author.textAnswers = {"games"};
    withAnswers({Answer::No},
                [&] { trigger(main.get(), "renameFolderAction"); }); // the folder chooser picks sport again
    EXPECT_EQ(readLines(kiosk.path("news/index.zel")), (QStringList{"#branch", "#button games\\today Today"}));
    EXPECT_TRUE(QFileInfo::exists(kiosk.path("games/today.zel")));
}

// References lists the lines that name the page. (Opening a line's page there is the list's, as in Find in Pages.)
TEST_F(RenamingWindowTest, ReferencesWindowListsTheLinesNamingThePage)
{
    choosePage("news", "today");
    trigger(main.get(), "referencesAction");
    const auto windows = visibleWindows<ReferencesWindow>();
    ASSERT_EQ(windows.size(), 1);
    QStringList rows;
    for (int i = 0; const QTreeWidgetItem* row = windows[0]->referenceList()->topLevelItem(i); ++i)
        rows << row->text(0) + ':' + row->text(1) + ':' + row->text(2);
    EXPECT_EQ(rows, (QStringList{"news\\index:2:#button today Today", "sport\\index:2:#button news/today Today"}));
}

} // namespace
