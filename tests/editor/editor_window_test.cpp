// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/runtime_error.h"
#include "dialogs/save_file_dialog.h"
#include "dialogs/simple_combo_box.h"
#include "editor/insert_dialog.h"
#include "editor/page_source_file.h"
#include "editor/page_text_area.h"
#include "editor/problem_marks.h"
#include "pages/files.h"
#include "support/window_fixture.h"
#include "system/recovery_copies.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QWindow>
#include <cerrno>

namespace {

using EditorWindowTest = WindowTest;

// The caption and the commands shown per page type (loaded pages hold only their type line).
TEST_F(EditorWindowTest, CaptionsAndMenusPerPageType)
{
    const struct {
        const char* file;
        int type;
        const char* caption;
        QList<bool> saveAsButtonImageItem;
    } rows[] = {
        {nullptr, 1, "ZEL (Editor) New Leaf page", {true, false, true, false}},
        {nullptr, 2, "ZEL (Editor) New Branch Page", {true, true, true, false}},
        {nullptr, 4, "ZEL (Editor) New Selector page", {true, false, false, true}},
        {"news/today.zel", 1, "ZEL (Editor) Leaf Page - news\\today", {true, false, true, false}},
        {"news/news.zel", 2, "ZEL (Editor) Branch Page - news\\news", {true, true, true, false}},
        {"root/root.zel", 3, "ZEL (Editor) Root Page", {false, true, true, false}},
        {"shops/list.zel", 4, "ZEL (Editor) Selector Page - shops\\list", {true, false, false, true}},
    };
    const char* typeLines[] = {"", "#leaf\r\n", "#branch\r\n", "#root\r\n", "#selector\r\n"};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        EditorWindow* editor = row.file ? editorOn(row.file, typeLines[row.type]) : newEditor(row.type);
        // The window system shows the modified marker of a new page (changed from the start).
        EXPECT_EQ(editor->windowHandle()->title(), QString(row.caption) + (row.file ? "" : "*"));
        QList<bool> shown;
        for (const char* name : {"saveAsAction", "insertButtonAction", "insertImageAction", "insertItemAction"})
            shown.append(editor->findChild<QAction*>(name)->isVisible());
        EXPECT_EQ(shown, row.saveAsButtonImageItem);
    }
}

TEST_F(EditorWindowTest, OpeningAndSavingLeavesTheFileIdenticalAndClosesWithoutAsking)
{
    const std::pair<const char*, QByteArray> rows[] = {
        {"empty lines at the end stay", "#leaf\r\n#title Today\r\n\r\n\r\n"},
        {"only #branch without a line end", "#branch"},
        {"mixed line ends, none at the end", "#leaf\n#para\r\nA\rB"},
        {"a line separator the text area shows as a line end", "#leaf\r\n#para\r\nA\xe2\x80\xa8"
                                                               "B\r\n"},
    };
    for (const auto& [name, bytes] : rows) {
        SCOPED_TRACE(name);
        EditorWindow* editor = editorOn("news/page.zel", bytes);
        type(editor, "typed, then taken back");
        editor->textArea()->undo();
        EXPECT_TRUE(editor->saveFile());
        EXPECT_EQ(readBytes(kiosk.path("news/page.zel")), bytes);
        EXPECT_TRUE(editor->close());
        EXPECT_TRUE(kiosk.messages.texts().isEmpty());
    }
}

// The disk fills while the page is written: the save is reported, and neither Save, Make & View nor Make
// (answered Yes to saving first) makes anything. Which step of the write fails is the file layer's test.
TEST_F(EditorWindowTest, FailedWriteKeepsTheOldPageSourceAndMakesNothing)
{
    const QString path = kiosk.path("news/today.zel");
    EditorWindow* editor = editorOn("news/today.zel", "#leaf\r\n");
    type(editor, "#para\nNew text");
    failOperation = "write";
    failError = ENOSPC;
    EXPECT_FALSE(editor->saveFile());
    trigger(editor, "saveMakeViewAction");
    kiosk.messages.scriptAnswers({Answer::Yes});
    trigger(editor, "makePageAction");
    failOperation.clear();
    ASSERT_EQ(kiosk.messages.texts().size(), 4);
    EXPECT_TRUE(kiosk.messages.texts().first().startsWith("Unable to write file " + path
                                                          + "\r\nError number 61\r\nDisk full: " + path))
        << kiosk.messages.texts().first().toStdString();
    EXPECT_EQ(readBytes(path), "#leaf\r\n");
    EXPECT_TRUE(makerMessages.isEmpty());
}

// The recovery copy on a disk that fills (and fills again; that the copy written before stays is the copies' own
// test): a line below the editor's text area says that the text is not protected, where and why; said once (one log
// line, no message box) however often the copy fails, and gone once a copy is written or the page is saved.
TEST_F(EditorWindowTest, RecoveryCopyOnAFullDiskKeepsTheLastOneAndSaysTheTextIsNotProtected)
{
    QTemporaryDir data;
    RecoveryCopies copies(data.filePath("recovery"), kiosk.session.session().fileFaults());
    workbench.setRecoveryCopies(&copies);
    const auto forget = qScopeGuard([&] { workbench.setRecoveryCopies(nullptr); });
    EditorWindow* editor = editorOn("news/today.zel", "#leaf\r\n");
    const auto notice = [&] {
        const QLabel* line = editor->recoveryLabel();
        if (!line || !line->isVisibleTo(editor))
            return QString();
        EXPECT_LT(editor->textArea()->geometry().bottom(), line->geometry().top());
        EXPECT_GE(line->height(), line->heightForWidth(line->width()));
        return line->text();
    };
    const QString folder = copies.folder();
    const QString notProtected = "The text is not protected: its recovery copy cannot be written to " + folder
                                 + " (No space left on device). Save the page to keep it.";
    const qsizetype logged = kiosk.logLines().size();
    const auto edit = [&](const QString& text, const std::string& failing) {
        failOperation = failing;
        failError = ENOSPC;
        type(editor, text);
        editor->recovery()->write();
        failOperation.clear();
    };

    edit("#para\nkept", "");
    EXPECT_EQ(notice(), "");
    edit(" one", "rename"); // the log, written to the same disk, is not made to fail too
    edit(" two", "rename");
    EXPECT_EQ(notice(), notProtected);
    edit(" three", "");
    EXPECT_EQ(notice(), "");
    edit(" four", "sync");
    EXPECT_EQ(notice(), notProtected) << "told again";
    EXPECT_TRUE(editor->saveFile());
    EXPECT_EQ(notice(), "") << "the page is saved";
    EXPECT_EQ(kiosk.logLines().mid(logged),
              (QStringList{"recovery copy not written: " + folder + " (No space left on device)",
                           "recovery copy written again: " + folder,
                           "recovery copy not written: " + folder + " (No space left on device)"}));
    EXPECT_TRUE(kiosk.messages.texts().isEmpty()) << kiosk.messages.texts().join('|').toStdString();
    EXPECT_EQ(QDir(folder).entryList({"*.zelrecovery"}), QStringList());
}

// A page source too large for the text area is refused, not read (one that is no regular file is the maker's test).
TEST_F(EditorWindowTest, HugePageSourceIsRefused)
{
    QFile huge(kiosk.path("huge.zel"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(65LL * 1024 * 1024));
    EXPECT_THROW(PageSourceFile::read(huge.fileName()), RuntimeError);
}

// Each row inserts d through the command's dialog into a saved branch page.
TEST_F(EditorWindowTest, InsertRules)
{
    const QString d = "#button news\\today Next", midLine = "You can only insert at the end or the beginning of a line";
    const int n = int(d.size());
    const struct {
        const char* name;
        QString text;
        int position, selection;
        QString expected;
        int caret;
        const char* command = "insertButtonAction";
    } rows[] = {
        {"empty text", "", 0, 0, d + "\n", n + 1},
        {"end of the first line", "#title A\n#para\n", 8, 0, "#title A\n" + d + "\n#para\n", 9 + n},
        {"start of the second line", "#title A\n#para\n", 9, 0, "#title A\n" + d + "\n#para\n", 9 + n + 1},
        {"end of the text without a line end", "#title A", 8, 0, "#title A\n" + d, 9 + n},
        {"whole line with its line end selected", "a\nold\nb\n", 2, 4, "a\n" + d + "\nb\n", 2 + n + 1},
        {"selection from a line end into the next", "ab\ncd\n", 2, 3, "ab\n" + d + "\n", 3 + n},
        {"button mid-line refused", "#title A\n", 3, 0, "#title A\n", 3},
        {"image mid-line refused", "#title A\n", 3, 0, "#title A\n", 3, "insertImageAction"},
        {"item mid-line refused", "#title A\n", 3, 0, "#title A\n", 3, "insertItemAction"},
    };
    EditorWindow* editor = editorOn("news/news.zel", "#branch\r\n");
    InsertDialog& insertDialog = workbench.instance<InsertDialog>(); // it keeps its entries between uses
    insertDialog.folderEdit()->setText("news");
    insertDialog.pageEdit()->setText("today");
    insertDialog.textEdit()->setText("Next");
    author.whenShown<InsertDialog>([](InsertDialog& dialog) { dialog.okButton()->click(); });
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        editor->textArea()->setPlainText(row.text);
        QTextCursor cursor = editor->textArea()->textCursor();
        cursor.setPosition(row.position);
        cursor.setPosition(row.position + row.selection, QTextCursor::KeepAnchor);
        editor->textArea()->setTextCursor(cursor);
        const QStringList shown = withAnswers({}, [&] { trigger(editor, row.command); });
        EXPECT_EQ(editor->bodyText(), row.expected);
        EXPECT_EQ(editor->textArea()->textCursor().position(), row.caret);
        EXPECT_FALSE(editor->textArea()->textCursor().hasSelection());
        EXPECT_EQ(shown, row.text == row.expected ? QStringList{midLine} : QStringList());
        editor->textArea()->undo();
        EXPECT_EQ(editor->bodyText(), row.text) << "one undo takes the insertion back";
    }
    author.whenShown<InsertDialog>([](InsertDialog& dialog) { dialog.cancelButton()->click(); });
    trigger(editor, "insertButtonAction");
    EXPECT_EQ(editor->bodyText(), "#title A\n") << "Cancel inserts nothing";
    kiosk.messages.clear();
    trigger(newEditor(4), "insertItemAction");
    trigger(newEditor(1), "insertImageAction");
    EXPECT_EQ(kiosk.messages.texts(), (QStringList{"You must save this page before you can insert an item",
                                                   "You must save this page before you can insert an image"}));
    EXPECT_EQ(author.stayedOpen, 0) << "no refused insertion showed the dialog";
}

// The editor of the first row is gone when the second uses the Save As dialog: it is the same dialog still.
TEST_F(EditorWindowTest, CloseCheck)
{
    const struct {
        const char* name;
        Answer answer;
        bool saveDialogCancels, closes, written;
    } rows[] = {
        {"Yes saves and closes", Answer::Yes, false, true, true},
        {"Yes with Cancel in the save dialog stays open", Answer::Yes, true, false, false},
        {"No closes and loses the changes", Answer::No, false, true, false},
    };
    ASSERT_TRUE(QDir().mkpath(kiosk.path("news")));
    QList<QPointer<SaveFileDialog>> used;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(kiosk.path("news/fresh.zel"));
        QPointer<EditorWindow> editor = newEditor(1);
        author.whenShown<SaveFileDialog>([&](SaveFileDialog& dialog) {
            used.append(&dialog);
            dialog.pageBox()->setText("fresh");
            (row.saveDialogCancels ? dialog.cancelButton() : dialog.okButton())->click();
        });
        EXPECT_EQ(withAnswers({row.answer}, [&] { EXPECT_EQ(editor->close(), row.closes); }),
                  QStringList{"Page has changed - do you want to save it?\r\n(new page, not saved yet)"});
        EXPECT_EQ(Files::fileExists(kiosk.path("news/fresh.zel")), row.written);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(editor.isNull(), row.closes) << "a closed editor is destroyed";
        EXPECT_TRUE(!editor || editor->isVisible());
    }
    ASSERT_EQ(used.size(), 2);
    EXPECT_TRUE(used[0] && used[0] == used[1]);
}

// Each row starts from a page source opened afresh and brought into its state: changed and not saved, made,
// or made and then changed and saved with Ctrl+S; then one command, with the author's answer.
TEST_F(EditorWindowTest, MakeAsksToSaveAChangedPageAndViewAsksToMakeAPageNotMadeSince)
{
    const QStringList saveFirst{"The page has changed. Do you want to save the page first?\r\nnews\\today"};
    const QStringList makeFirst{"The page has not been made. Do you want to make the page first?\r\nnews\\today"};
    enum { Opened, Changed, Made, MadeThenSaved };
    const struct {
        const char* name;
        int state;
        const char* command;
        Answer answer;
        QStringList asked;
        bool made, viewed, saved;
    } rows[] = {
        {"Cancel to saving first", Changed, "makePageAction", Answer::Cancel, saveFirst, false, false, false},
        {"Yes saves and makes", Changed, "makePageAction", Answer::Yes, saveFirst, true, false, true},
        {"unchanged: made unasked", Opened, "makePageAction", Answer::None, {}, true, false, false},
        {"a made page is shown at once", Made, "viewPageAction", Answer::None, {}, false, true, false},
        {"No after a re-save", MadeThenSaved, "viewPageAction", Answer::No, makeFirst, false, true, true},
        {"Cancel shows nothing", Opened, "viewPageAction", Answer::Cancel, makeFirst, false, false, false},
        {"Yes makes and shows", Opened, "viewPageAction", Answer::Yes, makeFirst, true, true, false},
    };
    const QByteArray stored = "#leaf\r\n#title Today\r\n";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorWindow* editor = editorOn("news/today.zel", stored);
        QStringList viewed;
        editor->showPage = [&](const QString& path) { viewed.append(path); };
        editor->activateWindow();
        QCoreApplication::processEvents(); // window activation arrives as an event, and Ctrl+S needs it
        if (row.state == Made || row.state == MadeThenSaved) {
            trigger(editor, "makePageAction");
            // The maker dialog was the active window while it made; the editor gets it back through an event.
            EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
        }
        if (row.state == Changed || row.state == MadeThenSaved)
            type(editor, "#para\nMore\n");
        if (row.state == MadeThenSaved)
            QTest::keyClick(editor->textArea(), Qt::Key_S, Qt::ControlModifier);
        makerMessages.clear();
        EXPECT_EQ(withAnswers({row.answer}, [&] { trigger(editor, row.command); }), row.asked);
        EXPECT_EQ(makerMessages, row.made ? QStringList{"Making page today in folder news"} : QStringList());
        EXPECT_EQ(viewed, row.viewed ? QStringList{kiosk.path("news/today.htm")} : QStringList());
        EXPECT_EQ(readBytes(kiosk.path("news/today.zel")), row.saved ? stored + "#para\r\nMore\r\n" : stored);
        closeEditors();
    }
}

// A page never saved is saved through Save As before it is made or shown;
// cancelling the save dialog makes and shows nothing.
TEST_F(EditorWindowTest, NeverSavedPageIsSavedFirstOrNothingHappens)
{
    EditorWindow* editor = newEditor(1);
    QString chosen;
    QStringList viewed;
    editor->choosePagePath = [&](const QString&) { return chosen; };
    editor->showPage = [&](const QString& path) { viewed.append(path); };
    for (const char* command : {"makePageAction", "viewPageAction", "saveMakeViewAction"})
        trigger(editor, command);
    EXPECT_TRUE(makerMessages.isEmpty());
    EXPECT_TRUE(viewed.isEmpty());
    chosen = kiosk.path("news/fresh.zel");
    QDir().mkpath(kiosk.path("news"));
    trigger(editor, "saveMakeViewAction");
    EXPECT_EQ(readBytes(chosen), QByteArray("#leaf\r\n"));
    EXPECT_EQ(makerMessages, QStringList{"Making page fresh in folder news"});
    EXPECT_EQ(viewed, QStringList{kiosk.path("news/fresh.htm")});
}

// Over three simple pages, each row starts without made pages, with three changed editors and an unchanged one. Make
// All asks about the changed ones in the order they were opened, each in front while asked (Yes brings that one to the
// front to be saved and makes nothing); then the open of a kiosk system asks over each changed editor in turn (No,
// Cancel, No keeps the second open and closes the unchanged one without asking).
TEST_F(EditorWindowTest, ChangedEditorsAreAskedAboutInTheOrderTheyWereOpened)
{
    writeBytes(kiosk.path("root/root.zel"), "#root\r\n#title Home\r\n");
    writeBytes(kiosk.path("news/news.zel"), "#branch\r\n#title News\r\n#button today Today\r\n");
    mainWindow().openKioskSystem(kiosk.folder());
    const struct {
        const char* name;
        std::initializer_list<Answer> answers;
        bool made;
    } rows[] = {
        {"No then Cancel makes nothing", {Answer::No, Answer::Cancel}, false},
        {"No then Yes makes nothing", {Answer::No, Answer::Yes}, false},
        {"No for each makes all pages", {Answer::No, Answer::No, Answer::No}, true},
    };
    const QString changed = "Page has changed - do you want to save it?\r\n(new page, not saved yet)";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        closeEditors();
        makerMessages.clear();
        for (const char* page : {"root/root.htm", "news/today.htm", "news/news.htm"})
            QFile::remove(kiosk.path(page));
        QList<QPointer<EditorWindow>> editors{newEditor(1), newEditor(2), newEditor(4),
                                              editorOn("news/today.zel", "#leaf\r\n#title Today\r\n")};
        main->activateWindow();
        QCoreApplication::processEvents(); // window activation arrives as an event
        QList<QWidget*> asking;
        kiosk.messages.whenAsked = [&](const QString&) { asking.append(workbench.focus().askingWindow()); };
        EXPECT_EQ(withAnswers(row.answers, [&] { trigger(main.get(), "makeAllPagesAction"); }),
                  QStringList(qsizetype(row.answers.size()),
                              "A page has been changed  - do you wish to save it first?\r\n(new page, not saved yet)"));
        const qsizetype asked = qsizetype(row.answers.size());
        EXPECT_EQ(asking, (QList<QWidget*>{editors[0], editors[1], editors[2]}.mid(0, asked)));
        if (*std::prev(row.answers.end()) == Answer::Yes) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == editors[1]; }));
        }
        EXPECT_EQ(Files::fileExists(kiosk.path("news/today.htm")), row.made);
        EXPECT_EQ(Files::fileExists(kiosk.path("root/root.htm")), row.made);
        EXPECT_EQ(makerMessages, row.made ? QStringList{"Making page root in folder root"} : QStringList());
        EXPECT_EQ(withAnswers({Answer::No, Answer::Cancel, Answer::No}, [&] { main->openKioskSystem(kiosk.folder()); }),
                  QStringList({changed, changed, changed,
                               "You must close ALL ZEL editor windows BEFORE you can open another Kiosk System"}));
        kiosk.messages.whenAsked = nullptr;
        EXPECT_EQ(asking.mid(asked), (QList<QWidget*>{editors[0], editors[1], editors[2]}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(std::tuple(editors[0].isNull(), editors[1].isNull(), editors[2].isNull(), editors[3].isNull()),
                  std::tuple(true, false, true, true));
    }
}

// The margin numbers the lines and marks those with problems; word wrap and zoom chosen in one editor hold for the
// next one (and the next start) and stay within their bounds.
TEST_F(EditorWindowTest, LineNumbersWordWrapAndZoom)
{
    EditorWindow* first = editorOn("news/today.zel", "#leaf\r\n#para\r\n" + QByteArray("line\r\n").repeated(120));
    auto* area = static_cast<PageTextArea*>(first->textArea());
    const auto restore = qScopeGuard([&] {
        area->setWordWrap(false);
        area->setZoomSteps(0);
    });
    EXPECT_GE(area->marginWidth(), area->fontMetrics().horizontalAdvance(QStringLiteral("122")));
    EXPECT_GE(area->viewport()->geometry().left(), area->marginWidth());
    ProblemMarks marks(*area);
    marks.show({{4, "Expected valid directive"}, {1, "Image x.jpg does not exist"}, {4, "again"}});
    EXPECT_EQ(area->markedLines(), (QList<int>{1, 4}));

    const int size = area->font().pointSize();
    trigger(first, "wordWrapAction");
    trigger(first, "zoomInAction");
    trigger(first, "zoomInAction");
    EXPECT_TRUE(area->wordWrap());
    EXPECT_EQ(area->font().pointSize(), size + 2);
    EditorWindow* second = newEditor(1);
    auto* next = static_cast<PageTextArea*>(second->textArea());
    EXPECT_TRUE(next->wordWrap());
    EXPECT_TRUE(second->findChild<QAction*>("wordWrapAction")->isChecked());
    EXPECT_EQ(next->font().pointSize(), size + 2);
    for (int step = 0; step < 40; ++step)
        trigger(second, "zoomOutAction");
    EXPECT_GE(next->font().pointSize(), 4);
    for (int step = 0; step < 40; ++step)
        trigger(second, "zoomInAction");
    EXPECT_EQ(next->zoomSteps(), PageTextArea::kMostZoomSteps);
}

} // namespace
