// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_find_in_pages.h"
#include "dialogs/dlg_chose_dir.h"
#include "dialogs/dlg_save_file.h"
#include "dialogs/dlg_select_file.h"
#include "editor/dlg_find_replace.h"
#include "editor/dlg_insert.h"
#include "support/window_fixture.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSet>

namespace {

// The keys of the windows' commands, pressed on the windows as an author does.
class MenuKeysTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeTextFile(kiosk.path("root/root.zel"), {"#root", "#button news\\today News"});
        writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#title Today"});
        writeTextFile(kiosk.path("news/index.zel"), {"#branch", "#title News"});
        recordShown<dlgChoseDir>();
        recordShown<dlgSelectFile>();
        recordShown<dlgSaveFile>();
        recordShown<dlgInsert>();
    }
    template <class Dialog>
    void recordShown()
    {
        author.whenShown<Dialog>([this](Dialog&) { happened.append(Dialog::staticMetaObject.className()); });
    }
    frmKioskSystem& openMain()
    {
        mainWindow().openKioskSystem(kiosk.folder());
        kiosk.messages.clear();
        return *main;
    }
    // What the keys did: the modal dialogs shown, the messages, the made pages ("made"), the views ("view"), and
    // the windows that appeared (+name) or went (-name), an editor named by its caption.
    QStringList effectsOf(QWidget* window, QKeyCombination keys)
    {
        window->activateWindow();
        if (!QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }))
            return {"not active"};
        const auto shown = [] {
            QList<QPointer<QWidget>> windows;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->isVisible())
                    windows.append(widget);
            return windows;
        };
        const auto name = [](QWidget* widget) {
            return qobject_cast<frmEdit*>(widget) ? widget->windowTitle().remove("[*]") : widget->objectName();
        };
        const QList<QPointer<QWidget>> before = shown();
        QStringList names; // of the windows before, which a close may delete
        for (const QPointer<QWidget>& widget : before)
            names.append(name(widget));
        happened.clear();
        kiosk.messages.clear();
        const qsizetype made = makerMessages.size();
        QTest::keyClick(window, keys.key(), keys.keyboardModifiers());
        QCoreApplication::processEvents();
        QStringList effects = happened + kiosk.messages.texts();
        if (makerMessages.size() > made)
            effects.append("made");
        for (const QPointer<QWidget>& widget : shown())
            if (!before.contains(widget))
                effects.append('+' + name(widget));
        for (qsizetype i = 0; i < before.size(); ++i)
            if (!before[i] || !before[i]->isVisible())
                effects.append('-' + names[i]);
        return effects;
    }
    // The page's editor, shown, with the view recorded instead of shown.
    frmEdit* pageEditor(const QString& relative)
    {
        auto* editor = new frmEdit(workbench);
        EXPECT_TRUE(editor->editPage(kiosk.path(relative)));
        editor->showPage = [this](const QString&) { happened.append("view"); };
        return editor;
    }

    QStringList happened;
};

// Each key of the main window's commands; the Edit and Tools keys do nothing before a kiosk system is open.
TEST_F(MenuKeysTest, MainWindowKeysOpenTheirCommands)
{
    const struct Row {
        QKeyCombination keys;
        QStringList effects;
    } rows[] = {
        {Qt::CTRL | Qt::Key_O, {"dlgChoseDir"}},
        {Qt::CTRL | Qt::Key_E, {"dlgSelectFile"}},
        {Qt::CTRL | Qt::Key_N, {"+ZEL (Editor) New Leaf page"}},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_N, {"+ZEL (Editor) New Branch Page"}},
        {Qt::CTRL | Qt::ALT | Qt::Key_N, {"+ZEL (Editor) New Selector page"}},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_M, {"made"}},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_F, {"+frmFindInPages"}},
        {Qt::CTRL | Qt::Key_Q, {"-frmKioskSystem"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QKeySequence(row.keys).toString().toStdString());
        EXPECT_EQ(effectsOf(&openMain(), row.keys), row.effects);
        closeAllWindows(workbench);
    }
    for (QKeyCombination keys : {Qt::CTRL | Qt::Key_E, Qt::CTRL | Qt::Key_N, Qt::CTRL | Qt::SHIFT | Qt::Key_F})
        EXPECT_EQ(effectsOf(&mainWindow(), keys), QStringList{}) << QKeySequence(keys).toString().toStdString();
}

// Each key of the editor's File and Tools commands, on a saved leaf page (View asks to make it first: Cancel) and
// on a branch page (Insert Button); the keys of hidden commands do nothing.
TEST_F(MenuKeysTest, EditorKeysOpenTheirCommands)
{
    const struct Row {
        const char* page;
        QKeyCombination keys;
        QStringList effects;
    } rows[] = {
        {"news/today.zel", Qt::CTRL | Qt::SHIFT | Qt::Key_S, {"dlgSaveFile"}},
        {"news/today.zel", Qt::CTRL | Qt::Key_M, {"made"}},
        {"news/today.zel", Qt::CTRL | Qt::Key_R, {"The page has not been made. Do you want to make the page first?"}},
        {"news/today.zel", Qt::Key_F5, {"view", "made"}},
        {"news/today.zel", Qt::CTRL | Qt::SHIFT | Qt::Key_I, {"dlgInsert"}},
        {"news/today.zel", Qt::CTRL | Qt::SHIFT | Qt::Key_B, {}},
        {"news/index.zel", Qt::CTRL | Qt::SHIFT | Qt::Key_B, {"dlgInsert"}},
        {"news/today.zel", Qt::CTRL | Qt::Key_F, {"+dlgFindReplace"}},
        {"news/today.zel", Qt::CTRL | Qt::Key_H, {"+dlgFindReplace"}},
        {"news/today.zel", Qt::Key_F3, {"+dlgFindReplace"}}, // nothing to find yet
        {"news/today.zel", Qt::CTRL | Qt::Key_W, {"-ZEL (Editor) Leaf Page - news\\today"}},
    };
    openMain();
    for (const Row& row : rows) {
        SCOPED_TRACE(QString(row.page + QKeySequence(row.keys).toString()).toStdString());
        frmEdit* editor = pageEditor(row.page);
        EXPECT_EQ(effectsOf(editor, row.keys), row.effects);
        closeEditors();
    }
}

// The editing keys on the window reach the text through the Edit menu's commands.
TEST_F(MenuKeysTest, EditorEditingKeys)
{
    openMain();
    frmEdit* editor = pageEditor("news/today.zel");
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    const auto press = [&](QKeyCombination keys) { QTest::keyClick(editor, keys.key(), keys.keyboardModifiers()); };
    press(Qt::CTRL | Qt::Key_A);
    EXPECT_EQ(editor->txtContent()->textCursor().selectedText(), "#title Today" + QString(QChar::ParagraphSeparator));
    press(Qt::CTRL | Qt::Key_C);
    press(Qt::CTRL | Qt::Key_X);
    EXPECT_EQ(editor->bodyText(), "");
    press(Qt::CTRL | Qt::Key_V);
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(editor->bodyText(), "#title Today\n#title Today\n");
    press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(editor->bodyText(), "#title Today\n");
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    EXPECT_EQ(editor->bodyText(), "#title Today\n#title Today\n");
    EXPECT_TRUE(editor->isPageChanged());
    press(Qt::CTRL | Qt::Key_S);
    EXPECT_FALSE(editor->isPageChanged());
    EXPECT_EQ(readLines(kiosk.path("news/today.zel")), (QStringList{"#leaf", "#title Today", "#title Today"}));
}

// No two commands of one window share a key, in the main window and in editors of every page type.
TEST_F(MenuKeysTest, NoTwoCommandsOfAWindowShareAKey)
{
    openMain();
    const QList<QMainWindow*> windows{main.get(), pageEditor("news/today.zel"), pageEditor("news/index.zel"),
                                      pageEditor("root/root.zel"), newEditor(4)};
    for (QMainWindow* window : windows) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        QHash<QKeySequence, QString> owner;
        int keys = 0;
        for (QAction* menu : window->menuBar()->actions())
            for (QAction* item : menu->menu()->actions())
                for (const QKeySequence& key : item->shortcuts()) {
                    ++keys;
                    EXPECT_FALSE(owner.contains(key))
                        << key.toString().toStdString() << ": " << owner.value(key).toStdString() << " and "
                        << item->objectName().toStdString();
                    owner.insert(key, item->objectName());
                }
        EXPECT_GE(keys, 8);
    }
}

} // namespace
