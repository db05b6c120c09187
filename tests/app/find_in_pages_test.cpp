// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/find_in_pages_window.h"
#include "app/page_line_list.h"
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTextBlock>
#include <QTreeWidget>

namespace {

class FindInPagesTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeTextFile(kiosk.path("root/root.zel"), {"#root", "#title Ostervale", "#button news\\index News"});
        writeTextFile(kiosk.path("news/index.zel"), {"#branch", "#title News", "#button today Today's news"});
        // Windows-1252 bytes and LF line ends, read as the maker reads them.
        writeBytes(kiosk.path("news/today.zel"), "#leaf\n#title Caf\xe9 news\n#para NEWS of the day\n");
        writeTextFile(kiosk.path("sport/index.zel"), {"#branch", "#title Sport"});
        mainWindow().openKioskSystem(kiosk.folder());
        kiosk.messages.clear();
    }
    // Tools > Find in Pages (Ctrl+Shift+F), the text typed over the last one and Enter: the rows as "page:line:text",
    // then the count.
    QStringList findTyped(const QString& text, bool matchCase = false)
    {
        main->activateWindow();
        if (!QTest::qWaitForWindowActive(main.get()))
            return {"main window not active"};
        QTest::keyClick(main.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        const auto windows = visibleWindows<FindInPagesWindow>();
        if (windows.size() != 1 || !QTest::qWaitForWindowActive(windows[0]))
            return {"no Find in Pages window"};
        window = windows[0];
        window->matchCaseBox()->setChecked(matchCase);
        for (QChar typed : text) // keys beyond ASCII come through the input method
            typed.unicode() < 128 ? QTest::keyClick(QApplication::focusWidget(), typed.toLatin1())
                                  : window->findEdit()->insert(typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QStringList rows;
        const QTreeWidget* list = window->matchList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = list->topLevelItem(i);
            rows.append(row->text(0) + ':' + row->text(1) + ':' + row->text(2));
        }
        rows.append(window->countLabel()->text());
        return rows;
    }

    FindInPagesWindow* window = nullptr;
};

TEST_F(FindInPagesTest, ListsEveryLineHoldingTheText)
{
    const struct Row {
        const char* text;
        bool matchCase;
        QStringList rows;
    } rows[] = {
        {"news",
         false,
         {"news\\index:2:#title News", "news\\index:3:#button today Today's news", "news\\today:2:#title Café news",
          "news\\today:3:#para NEWS of the day", "root\\root:3:#button news\\index News", "Lines holding \"news\": 5"}},
        {"News",
         true,
         {"news\\index:2:#title News", "root\\root:3:#button news\\index News", "Lines holding \"News\": 2"}},
        {"café", false, {"news\\today:2:#title Café news", "Lines holding \"café\": 1"}},
        {"#branch", false, {"news\\index:1:#branch", "sport\\index:1:#branch", "Lines holding \"#branch\": 2"}},
        {"weather", false, {"\"weather\" was not found in the pages"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(findTyped(row.text, row.matchCase), row.rows);
    }
    EXPECT_EQ(kiosk.messages.texts(), QStringList{});
}

// Double-clicking a row opens the page's editor with the caret at the start of that line.
TEST_F(FindInPagesTest, DoubleClickOpensTheEditorAtTheLine)
{
    ASSERT_EQ(findTyped("of the day").size(), 2);
    PageLineList* list = window->matchList();
    clickItem(list, list->visualItemRect(list->topLevelItem(0)), true);
    const auto editors = visibleWindows<EditorWindow>();
    ASSERT_EQ(editors.size(), 1);
    EXPECT_EQ(QDir::cleanPath(editors[0]->filePath()), QDir::cleanPath(kiosk.path("news/today.zel")));
    const QTextCursor caret = editors[0]->textArea()->textCursor(); // page source line 3 is the body's second line
    EXPECT_EQ(std::tuple(caret.blockNumber(), caret.positionInBlock(), caret.block().text()),
              std::tuple(1, 0, QString("#para NEWS of the day")));
}

} // namespace
