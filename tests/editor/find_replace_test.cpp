// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/find_replace_dialog.h"
#include "support/window_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>

namespace {

QWidget* focused() { return QApplication::focusWidget(); }

// The window system's answer to an activation comes late.
bool activeSoon(QWidget* window)
{
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

// The author at the keyboard in an editor on a leaf page, finding and replacing through the keys.
class FindReplaceTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        editor = editorOn("news/fruit.zel", "#leaf\r\n#title Apple pie\r\n#para An apple a day\r\n#para APPLE\r\n");
        ASSERT_TRUE(activeSoon(editor));
    }
    FindReplaceDialog& dialog() const { return editor->findDialog(); }
    // The selection as "line:text" (line of the body, 1-based), then the dialog's status line.
    QString found() const
    {
        const QTextCursor cursor = editor->textArea()->textCursor();
        return QStringLiteral("%1:%2|%3")
            .arg(cursor.block().blockNumber() + 1)
            .arg(cursor.selectedText(), dialog().statusLabel()->text());
    }
    // An access key of the dialog: a button's is clicked once its press has been shown.
    void accessKey(Qt::Key key)
    {
        QTest::keyClick(&dialog(), key, Qt::AltModifier);
        const QList<QAbstractButton*> buttons = dialog().findChildren<QAbstractButton*>();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return std::none_of(buttons.begin(), buttons.end(), [](QAbstractButton* b) { return b->isDown(); });
        }));
    }
    // Back in the editor, the keys go to the window.
    void keysToEditor(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        editor->activateWindow();
        ASSERT_TRUE(activeSoon(editor));
        QTest::keyClick(editor, key, modifiers);
    }

    static constexpr const char* kBody = "#title Apple pie\n#para An apple a day\n#para APPLE\n";
    EditorWindow* editor = nullptr;
};

// Ctrl+F, the text typed, then Enter after Enter: each finds the next occurrence, in any letter case, and the
// fourth goes round the page's end and says so. With Match case (Alt+S) only the same letters are found; F3 and
// Shift+F3 in the editor go on from the selection. A text not found is said. Nothing of the text changes.
TEST_F(FindReplaceTest, FindNextGoesRoundTheEndAndSaysSo)
{
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(activeSoon(&dialog()));
    EXPECT_EQ(focused(), dialog().findEdit());
    QTest::keyClicks(focused(), "apple");
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(focused(), Qt::Key_Return);
        seen.append(found());
    }
    EXPECT_EQ(seen, (QStringList{"1:Apple|", "2:apple|", "3:APPLE|",
                                 "1:Apple|Passed the end of the page - went on from its start"}));

    accessKey(Qt::Key_S);
    EXPECT_TRUE(dialog().matchCaseBox()->isChecked());
    accessKey(Qt::Key_N); // back to the find box
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(found(), "2:apple|");
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(found(), "2:apple|Passed the end of the page - went on from its start");

    QTest::keyClick(focused(), Qt::Key_Escape);
    EXPECT_FALSE(dialog().isVisible());
    dialog().matchCaseBox()->setChecked(false);
    keysToEditor(Qt::Key_F3);
    EXPECT_EQ(found(), "3:APPLE|");
    keysToEditor(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(found(), "2:apple|");
    keysToEditor(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(found(), "1:Apple|");
    EXPECT_EQ(kiosk.messages.texts(), QStringList{});
    keysToEditor(Qt::Key_F3, Qt::ShiftModifier); // the dialog is hidden: said in a message
    EXPECT_EQ(found(), "3:APPLE|");
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"Passed the start of the page - went on from its end"});

    // A text not found is said (on the status line while the dialog is shown, else in a message).
    editor->textArea()->moveCursor(QTextCursor::Start);
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(activeSoon(&dialog()));
    dialog().findEdit()->setText("pear");
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(found(), "1:|\"pear\" was not found in this page");
    accessKey(Qt::Key_A); // Replace All
    EXPECT_EQ(found(), "1:|\"pear\" was not found in this page");
    QTest::keyClick(focused(), Qt::Key_Escape);
    keysToEditor(Qt::Key_F3);
    EXPECT_EQ(kiosk.messages.texts().value(1), "\"pear\" was not found in this page");
    EXPECT_EQ(editor->bodyText(), kBody);
    EXPECT_FALSE(editor->isPageChanged());
}

// Ctrl+H with a word selected: the word is the text to find and the keyboard is in the replacement box. Replace
// changes the selected occurrence and selects the next; Replace All the rest, and one Ctrl+Z in the editor takes
// the whole Replace All back, a second the single Replace.
TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStep)
{
    QTextCursor word(editor->textArea()->document());
    word.setPosition(int(editor->bodyText().indexOf("apple")));
    word.setPosition(word.position() + 5, QTextCursor::KeepAnchor);
    editor->textArea()->setTextCursor(word);
    QTest::keyClick(editor, Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(activeSoon(&dialog()));
    EXPECT_EQ(dialog().findEdit()->text(), "apple");
    EXPECT_EQ(focused(), dialog().replaceEdit());
    QTest::keyClicks(focused(), "pear");
    accessKey(Qt::Key_R);
    EXPECT_EQ(editor->bodyText(), "#title Apple pie\n#para An pear a day\n#para APPLE\n");
    EXPECT_EQ(found(), "3:APPLE|");
    accessKey(Qt::Key_A);
    EXPECT_EQ(dialog().statusLabel()->text(), "Replaced 2 occurrences");
    EXPECT_EQ(editor->bodyText(), "#title pear pie\n#para An pear a day\n#para pear\n");
    EXPECT_TRUE(editor->isPageChanged());

    QTest::keyClick(focused(), Qt::Key_Escape);
    keysToEditor(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->bodyText(), "#title Apple pie\n#para An pear a day\n#para APPLE\n");
    keysToEditor(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->bodyText(), kBody);
    EXPECT_FALSE(editor->isPageChanged());
    EXPECT_EQ(kiosk.messages.texts(), QStringList{});
}

} // namespace
