#include "editor/directive_highlighter.h"
#include "editor_fixture.h"
#include "pages/files.h"
#include "platform/runtime_error.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QTest>

namespace {

const QByteArray kCrLf = "\r\n";

QAction* action(frmEdit* editor, const char* name) { return editor->findChild<QAction*>(QString::fromLatin1(name)); }

// Which of Insert Button, Insert Image, Insert Item and Save As show.
QList<bool> visibleCommands(frmEdit* editor)
{
    return {action(editor, "mnuInsertButton")->isVisible(), action(editor, "mnuInsertImage")->isVisible(),
            action(editor, "mnuInsertItem")->isVisible(), action(editor, "mnuSaveAs")->isVisible()};
}

using EditorWindowTest = EditorTest;

TEST_F(EditorWindowTest, MenusCarryTheirCaptions)
{
    frmEdit* editor = newEditor(2);
    QStringList titles;
    for (QAction* menu : editor->menuBar()->actions())
        titles.append(menu->text());
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Tools"}));
    QStringList file;
    for (QAction* item : editor->menuBar()->actions().at(0)->menu()->actions())
        file.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(file, (QStringList{"Save...", "Save As...", "-", "Make...", "Save, Make && View", "View...", "-",
                                 "Quit"}));
    EXPECT_TRUE(editor->menuBar()->actions().at(1)->menu()->actions().isEmpty());
    EXPECT_EQ(action(editor, "mnuInsertButton")->text(), QStringLiteral("Insert Button..."));
    EXPECT_EQ(action(editor, "mnuInsertImage")->text(), QStringLiteral("Insert Image..."));
    EXPECT_EQ(action(editor, "mnuInsertItem")->text(), QStringLiteral("Insert Item..."));
    EXPECT_EQ(action(editor, "mnuSave")->shortcut(), QKeySequence(QKeySequence::Save));
}

TEST_F(EditorWindowTest, NewPagesShowTheirCaptionAndInsertMenu)
{
    struct Row {
        const char* name;
        int type;
        const char* caption;
        QList<bool> commands;
    };
    const Row rows[] = {
        {"new leaf page", 1, "ZEL (Editor) New Leaf page", {false, true, false, true}},
        {"new branch page", 2, "ZEL (Editor) New Branch Page", {true, true, false, true}},
        {"new selector page", 4, "ZEL (Editor) New Selector page", {false, false, true, true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        frmEdit* editor = newEditor(row.type);
        EXPECT_EQ(editor->windowTitle(), QString::fromLatin1(row.caption));
        EXPECT_EQ(visibleCommands(editor), row.commands);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_TRUE(editor->isPageChanged()) << "a new page counts as changed from the start";
        EXPECT_EQ(editor->filePath(), QString());
        EXPECT_EQ(editor->pageType(), row.type);
    }
}

TEST_F(EditorWindowTest, LoadedPagesShowTheirCaptionAndInsertMenu)
{
    struct Row {
        const char* name;
        const char* relative;
        const char* firstLine;
        const char* caption;
        QList<bool> commands;
    };
    const Row rows[] = {
        {"leaf page", "news/today.zel", "#leaf", "ZEL (Editor) Leaf Page - news\\today", {false, true, false, true}},
        {"branch page", "news/news.zel", "#branch", "ZEL (Editor) Branch Page - news\\news", {true, true, false, true}},
        {"root page without Save As", "root/root.zel", "#root", "ZEL (Editor) Root Page", {true, true, false, false}},
        {"selector page", "shops/list.zel", "#selector", "ZEL (Editor) Selector Page - shops\\list",
         {false, false, true, true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        frmEdit* editor = editorOn(QString::fromLatin1(row.relative), QByteArray(row.firstLine) + "\r\n#title A\r\n");
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->windowTitle(), QString::fromLatin1(row.caption));
        EXPECT_EQ(visibleCommands(editor), row.commands);
        EXPECT_FALSE(editor->isPageChanged());
        EXPECT_FALSE(editor->pageMade());
        EXPECT_EQ(editor->bodyText(), QStringLiteral("#title A\n"));
    }
}

TEST_F(EditorWindowTest, PageWithOnlyTheBranchLineOpensEmptyAndSavesUnchanged)
{
    frmEdit* editor = editorOn(QStringLiteral("news/news.zel"), "#branch\r\n");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->bodyText(), QString());
    EXPECT_TRUE(editor->saveFile());
    EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("news/news.zel"))), QByteArray("#branch\r\n"));

    // Without a line end after it, saving ends the type line.
    frmEdit* bare = editorOn(QStringLiteral("news/bare.zel"), "#branch");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->bodyText(), QString());
    EXPECT_TRUE(bare->saveFile());
    EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("news/bare.zel"))), QByteArray("#branch\r\n"));
}

TEST_F(EditorWindowTest, OpeningAndSavingLeavesTheFileIdentical)
{
    struct Row {
        const char* name;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"leaf with title and text", "#leaf\r\n#title Today\r\n#para\r\nA line.\r\nAnother line.\r\n"},
        {"empty lines at the end stay", "#leaf\r\n#title Today\r\n\r\n\r\n"},
        {"Windows-1252 text", "#leaf\r\n#para\r\nCaf\xe9 \x80 5\r\n"},
        {"UTF-8 text outside Windows-1252", "#leaf\r\n#para\r\nKrak\xc3\xb3w \xc5\x91 \xe2\x86\x92\r\n"},
        {"no-break space kept", "#leaf\r\n#para\r\nA\xa0" "B\r\n"},
        {"selector with quoted item", "#selector\r\n#item \"my photo.jpg\" news\\today Today\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        frmEdit* editor = editorOn(QStringLiteral("news/page.zel"), row.bytes);
        ASSERT_NE(editor, nullptr);
        for (int save = 0; save < 2; ++save) {
            EXPECT_TRUE(editor->saveFile());
            EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("news/page.zel"))), row.bytes) << "save " << save;
        }
        editor->close();
    }
}

TEST_F(EditorWindowTest, SavingWritesTheTypeLineTheTextAndOneFinalLineEnd)
{
    ASSERT_TRUE(QDir().mkpath(kiosk.path(QStringLiteral("news"))));
    frmEdit* editor = newEditor(1);
    editor->choosePagePath = [&](const QString&) { return kiosk.path(QStringLiteral("news/today.zel")); };
    type(editor, QStringLiteral("#title Today\n#para\nCaf\u00e9"));
    EXPECT_TRUE(editor->saveFile());
    EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("news/today.zel"))),
              QByteArray("#leaf\r\n#title Today\r\n#para\r\nCaf\xe9\r\n"));
    EXPECT_FALSE(editor->isPageChanged());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("ZEL (Editor) Leaf Page - news\\today"));
    EXPECT_EQ(editor->filePath(), kiosk.path(QStringLiteral("news/today.zel")));
}

TEST_F(EditorWindowTest, UnreadablePagesAreNotShown)
{
    struct Row {
        const char* name;
        QByteArray bytes;
        QString message;
    };
    const Row rows[] = {
        {"first line no page type", "#leaves\r\n#title A\r\n", QStringLiteral("Invalid ZEL Page")},
        {"page type with a blank", "#leaf \r\n", QStringLiteral("Invalid ZEL Page")},
        {"empty file", "", QStringLiteral("Invalid ZEL Page")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        EXPECT_EQ(editorOn(QStringLiteral("news/bad.zel"), row.bytes), nullptr);
        EXPECT_EQ(kiosk.messages.texts(), QStringList{row.message});
    }
    kiosk.messages.clear();
    auto* editor = new frmEdit();
    const QString missing = kiosk.path(QStringLiteral("news/missing.zel"));
    EXPECT_FALSE(editor->editPage(missing));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(kiosk.messages.texts(),
              QStringList{QStringLiteral("Unable to read file ") + missing + "\r\nError number 53\r\nFile not found"});
    delete editor;
}

TEST_F(EditorWindowTest, FailedWriteKeepsTheOldPageSource)
{
    // The write fails after the temporary file has been filled, just before
    // it would replace the page source.
    const QByteArray old = "#leaf\r\n#title Old\r\n";
    frmEdit* editor = editorOn(QStringLiteral("news/today.zel"), old);
    ASSERT_NE(editor, nullptr);
    const QString caption = editor->windowTitle();
    type(editor, QStringLiteral("#para\nNew text"));
    PageSourceFile::setBeforeCommitHook([](QSaveFile& file) { file.cancelWriting(); });
    kiosk.messages.clear();
    EXPECT_FALSE(editor->saveFile());
    const QString path = kiosk.path(QStringLiteral("news/today.zel"));
    ASSERT_EQ(kiosk.messages.texts().size(), 1);
    EXPECT_TRUE(kiosk.messages.texts().first().startsWith(QStringLiteral("Unable to write file ") + path
                                                          + "\r\nError number 75\r\nPath/File access error"))
        << kiosk.messages.texts().first().toStdString();
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(QDir(kiosk.path(QStringLiteral("news"))).entryList(QDir::Files), QStringList{"today.zel"})
        << "no temporary file is left behind";
    EXPECT_TRUE(editor->isPageChanged());
    EXPECT_EQ(editor->windowTitle(), caption);
}

TEST_F(EditorWindowTest, SaveAsIntoAFolderThatIsNowAFileFailsAndChangesNothing)
{
    frmEdit* editor = newEditor(2);
    writeBytes(kiosk.path(QStringLiteral("gone")), "a file where the folder was");
    const QString target = kiosk.path(QStringLiteral("gone/page.zel"));
    editor->choosePagePath = [&](const QString&) { return target; };
    EXPECT_FALSE(editor->saveFile());
    EXPECT_EQ(kiosk.messages.texts(),
              QStringList{QStringLiteral("Unable to write file ") + target + "\r\nError number 76\r\nPath not found"});
    EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("gone"))), QByteArray("a file where the folder was"));
    EXPECT_EQ(editor->filePath(), QString());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("ZEL (Editor) New Branch Page"));
}

TEST_F(EditorWindowTest, SaveAsOntoAnExistingPageAsksFirst)
{
    writeBytes(kiosk.path(QStringLiteral("news/other.zel")), "#leaf\r\n#title Other\r\n");
    frmEdit* editor = editorOn(QStringLiteral("news/today.zel"), "#leaf\r\n#title Today\r\n");
    ASSERT_NE(editor, nullptr);
    editor->choosePagePath = [&](const QString&) { return kiosk.path(QStringLiteral("news/other.zel")); };

    kiosk.messages.scriptAnswers({Answer::No});
    EXPECT_FALSE(editor->saveFileAs());
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"Page already exists - do you want to replace it?"});
    EXPECT_EQ(editor->filePath(), kiosk.path(QStringLiteral("news/today.zel")));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("ZEL (Editor) Leaf Page - news\\today"));
    EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("news/other.zel"))), QByteArray("#leaf\r\n#title Other\r\n"));

    kiosk.messages.clear();
    kiosk.messages.scriptAnswers({Answer::Yes});
    EXPECT_TRUE(editor->saveFileAs());
    EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("news/other.zel"))), QByteArray("#leaf\r\n#title Today\r\n"));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("ZEL (Editor) Leaf Page - news\\other"));

    // The question comes also for the page's own path.
    editor->choosePagePath = [&](const QString& current) { return current; };
    kiosk.messages.clear();
    kiosk.messages.scriptAnswers({Answer::No});
    EXPECT_FALSE(editor->saveFileAs());
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"Page already exists - do you want to replace it?"});
}

TEST_F(EditorWindowTest, InsertRules)
{
    struct Row {
        const char* name;
        QString text;
        int position;
        int selection;
        QString expected;
        int caret;
    };
    const QString d = QStringLiteral("#button news\\today Next");
    const int n = int(d.size());
    const Row rows[] = {
        {"empty text", "", 0, 0, d + "\n", n + 1},
        {"start of the first line", "#title A\n", 0, 0, d + "\n#title A\n", n + 1},
        {"end of the first line", "#title A\n#para\n", 8, 0, "#title A\n" + d + "\n#para\n", 9 + n},
        {"start of the second line", "#title A\n#para\n", 9, 0, "#title A\n" + d + "\n#para\n", 9 + n + 1},
        {"end of the text without a line end", "#title A", 8, 0, "#title A\n" + d, 9 + n},
        {"empty line in the middle", "a\n\nb\n", 2, 0, "a\n" + d + "\n\nb\n", 2 + n + 1},
        {"whole line selected", "a\nold\nb\n", 2, 3, "a\n" + d + "\n\nb\n", 2 + n + 1},
        {"whole line with its line end selected", "a\nold\nb\n", 2, 4, "a\n" + d + "\nb\n", 2 + n + 1},
        {"selection from a line end into the next", "ab\ncd\n", 2, 3, "ab\n" + d + "\n", 3 + n},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        frmEdit* editor = newEditor(2);
        editor->txtContent()->setPlainText(row.text);
        setCaret(editor, row.position, row.selection);
        kiosk.messages.clear();
        ASSERT_TRUE(editor->insertionPointOK());
        editor->insert(d);
        EXPECT_EQ(editor->bodyText(), row.expected);
        EXPECT_EQ(editor->txtContent()->textCursor().position(), row.caret);
        EXPECT_FALSE(editor->txtContent()->textCursor().hasSelection());
        EXPECT_TRUE(kiosk.messages.texts().isEmpty());
        editor->close();
    }
}

TEST_F(EditorWindowTest, SecondInsertionGoesBelowTheFirstAndUndoTakesItBack)
{
    frmEdit* editor = newEditor(2);
    editor->txtContent()->setPlainText(QStringLiteral("#title A"));
    setCaret(editor, 8);
    for (const char* directive : {"#button a One", "#button b Two"}) {
        ASSERT_TRUE(editor->insertionPointOK());
        editor->insert(QString::fromLatin1(directive));
    }
    EXPECT_EQ(editor->bodyText(), QStringLiteral("#title A\n#button a One\n#button b Two"));
    setCaret(editor, 0);
    for (const char* directive : {"#head X", "#head Y"}) {
        ASSERT_TRUE(editor->insertionPointOK());
        editor->insert(QString::fromLatin1(directive));
    }
    EXPECT_EQ(editor->bodyText(), QStringLiteral("#head X\n#head Y\n#title A\n#button a One\n#button b Two"));
    editor->txtContent()->undo();
    EXPECT_EQ(editor->bodyText(), QStringLiteral("#head X\n#title A\n#button a One\n#button b Two"));
    editor->txtContent()->redo();
    EXPECT_EQ(editor->bodyText(), QStringLiteral("#head X\n#head Y\n#title A\n#button a One\n#button b Two"));
}

TEST_F(EditorWindowTest, EveryInsertCommandRefusesACaretInsideALine)
{
    frmEdit* editor = editorOn(QStringLiteral("shops/list.zel"), "#branch\r\n#title Shops\r\n");
    ASSERT_NE(editor, nullptr);
    int dialogShows = 0;
    whenShown<dlgInsert>(QStringLiteral("dlgInsert"), [&](dlgInsert&) { ++dialogShows; });
    for (const char* command : {"mnuInsertButton", "mnuInsertImage", "mnuInsertItem"}) {
        SCOPED_TRACE(command);
        setCaret(editor, 3);
        kiosk.messages.clear();
        action(editor, command)->trigger();
        EXPECT_EQ(kiosk.messages.texts(), QStringList{"You can only insert at the end or the beginning of a line"});
        EXPECT_EQ(editor->bodyText(), QStringLiteral("#title Shops\n"));
    }
    EXPECT_EQ(dialogShows, 0);
}

TEST_F(EditorWindowTest, ImageAndItemNeedASavedPage)
{
    frmEdit* editor = newEditor(4);
    action(editor, "mnuInsertItem")->trigger();
    frmEdit* leaf = newEditor(1);
    action(leaf, "mnuInsertImage")->trigger();
    EXPECT_EQ(kiosk.messages.texts(), (QStringList{"You must save this page before you can insert an item",
                                                   "You must save this page before you can insert an image"}));
    EXPECT_EQ(shown[QStringLiteral("dlgInsert")], 0);
}

TEST_F(EditorWindowTest, InsertButtonPutsTheDialogsDirectiveIntoTheText)
{
    frmEdit* editor = newEditor(2);
    whenShown<dlgInsert>(QStringLiteral("dlgInsert"), [](dlgInsert& dialog) {
        dialog.txtFolder()->setText(QStringLiteral("news"));
        dialog.txtPage()->setText(QStringLiteral("today"));
        dialog.txtText()->setText(QStringLiteral("  Next  "));
        dialog.cmdOK()->click();
    });
    action(editor, "mnuInsertButton")->trigger();
    EXPECT_EQ(editor->bodyText(), QStringLiteral("#button news\\today Next\n"));
    EXPECT_EQ(editor->txtContent()->textCursor().position(), 24);

    // Cancel inserts nothing.
    whenShown<dlgInsert>(QStringLiteral("dlgInsert"), [](dlgInsert& dialog) { dialog.cmdCancel()->click(); });
    action(editor, "mnuInsertButton")->trigger();
    EXPECT_EQ(editor->bodyText(), QStringLiteral("#button news\\today Next\n"));
}

// The close check, by every answer.
TEST_F(EditorWindowTest, CloseCheck)
{
    struct Row {
        const char* name;
        std::initializer_list<int> answers;
        bool saveDialogCancels;
        bool closes;
        bool written;
    };
    const Row rows[] = {
        {"Yes saves and closes", {Answer::Yes}, false, true, true},
        {"Yes with Cancel in the save dialog stays open", {Answer::Yes}, true, false, false},
        {"No closes and loses the changes", {Answer::No}, false, true, false},
        {"Cancel stays open", {Answer::Cancel}, false, false, false},
    };
    ASSERT_TRUE(QDir().mkpath(kiosk.path(QStringLiteral("news"))));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(kiosk.path(QStringLiteral("news/fresh.zel")));
        QPointer<frmEdit> editor = newEditor(1);
        whenShown<dlgSaveFile>(QStringLiteral("dlgSaveFile"), [&](dlgSaveFile& dialog) {
            if (row.saveDialogCancels) {
                dialog.cancelButton()->click();
                return;
            }
            dialog.pageBox()->setText(QStringLiteral("fresh"));
            dialog.okButton()->click();
        });
        kiosk.messages.clear();
        kiosk.messages.scriptAnswers(row.answers);
        EXPECT_EQ(editor->close(), row.closes);
        EXPECT_EQ(kiosk.messages.texts(), QStringList{"Page has changed - do you want to save it?"});
        EXPECT_EQ(Files::fileExists(kiosk.path(QStringLiteral("news/fresh.zel"))), row.written);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(editor.isNull(), row.closes) << "a closed editor is destroyed";
        if (editor) {
            EXPECT_TRUE(editor->isVisible());
            editor->txtContent()->document()->setModified(false);
            editor->close();
        }
    }
}

TEST_F(EditorWindowTest, UnchangedEditorClosesWithoutAsking)
{
    frmEdit* editor = editorOn(QStringLiteral("news/today.zel"), "#leaf\r\n");
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->close());
    EXPECT_TRUE(kiosk.messages.texts().isEmpty());
}

TEST_F(EditorWindowTest, MakeThenViewAfterAReSaveAsksToMakeFirst)
{
    frmEdit* editor = editorOn(QStringLiteral("news/today.zel"), "#leaf\r\n#title Today\r\n");
    ASSERT_NE(editor, nullptr);
    QStringList viewed;
    editor->showPage = [&](const QString& path) { viewed.append(path); };

    action(editor, "mnuMakePage")->trigger();
    EXPECT_TRUE(editor->pageMade());
    EXPECT_TRUE(Files::fileExists(kiosk.path(QStringLiteral("news/today.htm"))));
    EXPECT_EQ(makerMessages, QStringList{"Making page today in folder news"});
    EXPECT_TRUE(kiosk.messages.texts().isEmpty()) << "an unchanged page is made without a question";

    action(editor, "mnuViewPage")->trigger();
    EXPECT_TRUE(kiosk.messages.texts().isEmpty()) << "a made page is shown at once";
    EXPECT_EQ(viewed, QStringList{kiosk.path(QStringLiteral("news/today.htm"))});

    type(editor, QStringLiteral("#para\nMore"));
    ASSERT_TRUE(editor->saveFile());
    EXPECT_FALSE(editor->pageMade());
    kiosk.messages.scriptAnswers({Answer::No});
    action(editor, "mnuViewPage")->trigger();
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"The page has not been made. Do you want to make the page first?"});
    EXPECT_EQ(viewed.size(), 2);
    EXPECT_EQ(makerMessages.size(), 1) << "No shows the page without making it";

    kiosk.messages.clear();
    kiosk.messages.scriptAnswers({Answer::Cancel});
    action(editor, "mnuViewPage")->trigger();
    EXPECT_EQ(viewed.size(), 2) << "Cancel shows nothing";

    kiosk.messages.clear();
    kiosk.messages.scriptAnswers({Answer::Yes});
    action(editor, "mnuViewPage")->trigger();
    EXPECT_EQ(makerMessages.size(), 2);
    EXPECT_TRUE(editor->pageMade());
    EXPECT_EQ(viewed.size(), 3);
}

TEST_F(EditorWindowTest, MakeAskesToSaveAChangedPage)
{
    frmEdit* editor = editorOn(QStringLiteral("news/today.zel"), "#leaf\r\n#title Today\r\n");
    ASSERT_NE(editor, nullptr);
    type(editor, QStringLiteral("#para\nMore"));

    kiosk.messages.scriptAnswers({Answer::Cancel});
    action(editor, "mnuMakePage")->trigger();
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"The page has changed. Do you want to save the page first?"});
    EXPECT_TRUE(makerMessages.isEmpty());

    kiosk.messages.clear();
    kiosk.messages.scriptAnswers({Answer::Yes});
    action(editor, "mnuMakePage")->trigger();
    EXPECT_EQ(makerMessages.size(), 1);
    EXPECT_FALSE(editor->isPageChanged());
    EXPECT_EQ(readLines(kiosk.path(QStringLiteral("news/today.zel"))),
              (QStringList{"#leaf", "#title Today", "#para", "More"}));
}

TEST_F(EditorWindowTest, NeverSavedPageIsSavedBeforeMakeOrViewAndNothingHappensWithoutIt)
{
    struct Row {
        const char* name;
        const char* command;
        std::initializer_list<int> answers;
    };
    const Row rows[] = {
        {"Make answered No", "mnuMakePage", {Answer::No}},
        {"Make answered Yes", "mnuMakePage", {Answer::Yes}},
        {"View answered No", "mnuViewPage", {Answer::No}},
        {"Save, Make && View", "mnuSaveMakeView", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        frmEdit* editor = newEditor(1);
        type(editor, QStringLiteral("#title New"));
        int asked = 0;
        QStringList viewed;
        editor->showPage = [&](const QString& path) { viewed.append(path); };
        editor->choosePagePath = [&](const QString& current) {
            ++asked;
            EXPECT_EQ(current, QString());
            return QString();
        };
        kiosk.messages.clear();
        kiosk.messages.scriptAnswers(row.answers);
        action(editor, row.command)->trigger();
        EXPECT_EQ(asked, 1) << "the page is saved through Save As first";
        EXPECT_TRUE(makerMessages.isEmpty());
        EXPECT_TRUE(viewed.isEmpty());
        editor->txtContent()->document()->setModified(false);
        editor->close();
    }

    // With a name given, Save, Make && View saves, makes and shows without a question.
    ASSERT_TRUE(QDir().mkpath(kiosk.path(QStringLiteral("news"))));
    frmEdit* editor = newEditor(1);
    type(editor, QStringLiteral("#title New"));
    QStringList viewed;
    editor->showPage = [&](const QString& path) { viewed.append(path); };
    editor->choosePagePath = [&](const QString&) { return kiosk.path(QStringLiteral("news/new.zel")); };
    kiosk.messages.clear();
    action(editor, "mnuSaveMakeView")->trigger();
    EXPECT_TRUE(kiosk.messages.texts().isEmpty());
    EXPECT_EQ(makerMessages, QStringList{"Making page new in folder news"});
    EXPECT_EQ(viewed, QStringList{kiosk.path(QStringLiteral("news/new.htm"))});
}

TEST_F(EditorWindowTest, FailedSaveMakesNothing)
{
    frmEdit* editor = editorOn(QStringLiteral("news/today.zel"), "#leaf\r\n#title Today\r\n");
    ASSERT_NE(editor, nullptr);
    type(editor, QStringLiteral("#para\nMore"));
    QStringList viewed;
    editor->showPage = [&](const QString& path) { viewed.append(path); };
    PageSourceFile::setBeforeCommitHook([](QSaveFile& file) { file.cancelWriting(); });
    action(editor, "mnuSaveMakeView")->trigger();
    kiosk.messages.scriptAnswers({Answer::Yes});
    action(editor, "mnuMakePage")->trigger();
    EXPECT_TRUE(makerMessages.isEmpty());
    EXPECT_TRUE(viewed.isEmpty());
    EXPECT_FALSE(Files::fileExists(kiosk.path(QStringLiteral("news/today.htm"))));
}

TEST_F(EditorWindowTest, CtrlSSavesFromTheTextArea)
{
    frmEdit* editor = editorOn(QStringLiteral("news/today.zel"), "#leaf\r\n#title Today\r\n");
    ASSERT_NE(editor, nullptr);
    editor->activateWindow();
    QCoreApplication::processEvents(); // window activation arrives as an event
    type(editor, QStringLiteral("#para\nMore"));
    QTest::keyClick(editor->txtContent(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(editor->isPageChanged());
    EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("news/today.zel"))),
              QByteArray("#leaf\r\n#title Today\r\n#para\r\nMore\r\n"));
}

TEST_F(EditorWindowTest, TextAreaFollowsTheWindowSize)
{
    frmEdit* editor = newEditor(1);
    const int below = editor->height() - editor->txtContent()->height();
    const int beside = editor->width() - editor->txtContent()->width();
    editor->resize(900, 700);
    EXPECT_EQ(editor->txtContent()->size(), QSize(900 - beside, 700 - below));
    editor->resize(1, 1);
    EXPECT_GE(editor->txtContent()->width(), 0);
    EXPECT_GE(editor->txtContent()->height(), 0);
}

TEST_F(EditorWindowTest, UnexpectedFailureInSaveAsIsReportedAndNothingSaved)
{
    frmEdit* editor = newEditor(1);
    editor->choosePagePath = [](const QString&) -> QString { 
        throw RuntimeError(5, QStringLiteral("Invalid procedure call or argument"));
    };
    EXPECT_FALSE(editor->saveFileAs());
    EXPECT_EQ(kiosk.messages.texts(),
              QStringList{"error 5 in frmEdit.saveFileAs\r\nInvalid procedure call or argument"});
    EXPECT_TRUE(editor->isPageChanged());
}

TEST(DirectiveHighlighterTest, DirectiveLengths)
{
    struct Row {
        const char* line;
        int length;
    };
    const Row rows[] = {
        {"#title Welcome", 6}, {"#para", 5}, {"#image \"my photo.jpg\" centre 50", 6},
        {"# a comment", -1},   {"#", -1},    {"plain text", 0},
        {" #title indented", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DirectiveHighlighter::directiveLength(QString::fromLatin1(row.line)), row.length) << row.line;
}

} // namespace
