// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/save_file_dialog.h"
#include "dialogs/simple_combo_box.h"
#include "pages/files.h"
#include "support/folder_state.h"
#include "support/window_fixture.h"
#include "system/page_renaming.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <unistd.h>

namespace {

// The questions about news/today.zel, which name it.
const QString changedQuestion = "The page has changed. Do you want to save the page first?\r\nnews\\today";
const QString closeQuestion = "Page has changed - do you want to save it?\r\nnews\\today";

// What a write must keep of the page source at path: its kind, mode and owner; for a link, its target and those
// of the file it leads to.
std::string keptOf(const QString& path)
{
    const std::string state = entryState(path);
    if (state.starts_with("link to "))
        return state + ", " + keptOf(QFileInfo(path).symLinkTarget());
    return state.substr(0, state.find(','));
}

// The editor windows on page sources that change on disk behind their back, driven by keys and the event loop.
class PageSourceOnDiskTest : public WindowTest {
protected:
    // An editor on news/today.zel, active, with the keyboard in its text.
    EditorWindow* activeEditor(const QByteArray& bytes = "#leaf\r\n#title Today\r\n")
    {
        EditorWindow* editor = editorOn("news/today.zel", bytes);
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == editor->textArea(); }));
        return editor;
    }
    static void typeKeys(EditorWindow* editor, const char* keys)
    {
        QTest::keyClick(editor->textArea(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(editor->textArea(), keys);
    }
    // The title the window system shows.
    static QString shownTitle(EditorWindow* editor) { return editor->windowHandle()->title(); }

    const QString today = kiosk.path("news/today.zel");
};

// The page source is deleted by another program while its editor is open and unchanged: the editor keeps the
// text and counts as changed; Make and View say the page source is gone instead of making; closing asks; Save
// writes it again.
TEST_F(PageSourceOnDiskTest, DeletedPageSourceKeepsItsEditorAndText)
{
    const QString gone =
        "Page source " + QDir::toNativeSeparators(today) + " no longer exists - save the page to write it again";
    const struct {
        const char* name;
        const char* command;
        Answer answer;
        QStringList shown;
        bool writtenAgain;
    } rows[] = {
        {"Make, not saved first", "makePageAction", Answer::No, {changedQuestion, gone}, false},
        {"View, not saved first", "viewPageAction", Answer::No, {changedQuestion, gone}, false},
        {"Quit, cancelled", "quitAction", Answer::Cancel, {closeQuestion}, false},
        {"Make, saved first: written again and made", "makePageAction", Answer::Yes, {changedQuestion}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        closeEditors();
        makerMessages.clear();
        QPointer<EditorWindow> editor = activeEditor();
        ASSERT_TRUE(QFile::remove(today));
        EXPECT_TRUE(QTest::qWaitFor([&] { return shownTitle(editor).endsWith('*'); })) << "marked changed";
        EXPECT_EQ(withAnswers({row.answer}, [&] { trigger(editor, row.command); }), row.shown);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(editor && editor->isVisible());
        EXPECT_EQ(editor->bodyText(), "#title Today\n");
        EXPECT_EQ(Files::fileExists(today), row.writtenAgain);
        EXPECT_EQ(makerMessages.size(), row.writtenAgain ? 1 : 0);
        if (!row.writtenAgain) {
            EXPECT_EQ(withAnswers({Answer::Cancel}, [&] { EXPECT_FALSE(editor->close()); }),
                      QStringList{closeQuestion});
            EXPECT_EQ(withAnswers({Answer::No}, [&] { EXPECT_TRUE(editor->close()); }), QStringList{closeQuestion});
        }
    }
    EXPECT_EQ(readBytes(today), "#leaf\r\n#title Today\r\n");
}

// Another program changes the page source while its editor is open. Rows: whether the author typed first, how
// the file is replaced, whether another editor is in front meanwhile (the watcher is then no help and nothing is
// offered), the answer to the reload offer, then Ctrl+S with the answer to the replace question (0: not asked).
// The title carries the modified marker only while the text differs from the page source.
TEST_F(PageSourceOnDiskTest, OutsideChangeIsOfferedAndNeverOverwrittenSilently)
{
    const QByteArray outside = "#leaf\r\n#title Today\r\n#para\r\nAdded by another program\r\n";
    const QString offer =
        "Page source " + QDir::toNativeSeparators(today) + " has been changed by another program.\r\n";
    const QString replace = offer + "Do you want to replace it with the text in this editor?";
    const QString reloadOffer = offer + "Do you want to load it?";
    const QString loseChanges = offer + "Do you want to load it and lose the changes made in this editor?";
    const QString reloaded = "#title Today\n#para\nAdded by another program\n", typed = "#title Today\n#para";
    const QString title = "ZEL (Editor) Leaf Page - news\\today";
    const struct {
        const char* name;
        const char* typed;
        bool renamedOver, inTheBackground;
        QString offered;
        Answer defaultAnswer, reload, replaceAnswer;
        QString body;
        QByteArray onDisk;
    } rows[] = {
        {"unchanged editor reloads", "", false, false, reloadOffer, Answer::Yes, Answer::Yes, Answer::None, reloaded,
         outside},
        {"unchanged editor reloads a file renamed over", "", true, false, reloadOffer, Answer::Yes, Answer::Yes,
         Answer::None, reloaded, outside},
        {"changed editor keeps its text, save refused", "#para", false, false, loseChanges, Answer::No, Answer::No,
         Answer::No, typed, outside},
        {"changed editor keeps its text, save replaces", "#para", true, false, loseChanges, Answer::No, Answer::No,
         Answer::Yes, typed, "#leaf\r\n#title Today\r\n#para\r\n"},
        {"changed editor loads the outside text", "#para", false, false, loseChanges, Answer::No, Answer::Yes,
         Answer::None, reloaded, outside},
        {"changed editor in the background, save refused", "#para", false, true, QString(), Answer::None, Answer::None,
         Answer::No, typed, outside},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        closeEditors();
        QPointer<EditorWindow> editor = activeEditor();
        typeKeys(editor, row.typed);
        EXPECT_EQ(shownTitle(editor), title + (*row.typed ? "*" : ""));
        if (row.inTheBackground) {
            EditorWindow* other = newEditor(1);
            other->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(other));
        }
        kiosk.messages.clear();
        kiosk.messages.scriptAnswers({row.reload});
        if (row.renamedOver) {
            writeBytes(kiosk.path("news/today.new"), outside);
            ASSERT_EQ(std::rename(qPrintable(kiosk.path("news/today.new")), qPrintable(today)), 0);
        } else {
            writeBytes(today, outside);
        }
        if (!row.offered.isEmpty()) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !kiosk.messages.texts().isEmpty(); })) << "change not noticed";
            EXPECT_EQ(kiosk.messages.entries()[0].defaultAnswer, row.defaultAnswer);
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(kiosk.messages.texts(), QStringList(row.offered.isEmpty() ? 0 : 1, row.offered)) << "asked once";
        const QStringList onSave = withAnswers({row.replaceAnswer}, [&] {
            row.inTheBackground ? trigger(editor, "saveAction")
                                : QTest::keyClick(editor->textArea(), Qt::Key_S, Qt::ControlModifier);
        });
        EXPECT_EQ(onSave, QStringList(row.replaceAnswer != Answer::None ? 1 : 0, replace));
        EXPECT_TRUE(row.replaceAnswer == Answer::None || kiosk.messages.entries()[0].defaultAnswer == Answer::No);
        EXPECT_EQ(editor->bodyText(), row.body);
        EXPECT_EQ(readBytes(today), row.onDisk);
        EXPECT_EQ(shownTitle(editor), title + (row.replaceAnswer == Answer::No ? "*" : ""));
    }
}

// Save As from one editor onto the page open in another is refused with a message; nothing is written and the
// editor keeps its own page.
TEST_F(PageSourceOnDiskTest, SaveAsOntoAPageOpenInAnotherEditorIsRefused)
{
    const QByteArray ferry = "#leaf\r\n#title Ferry\r\n";
    EditorWindow* ferryEditor = editorOn("news/ferry.zel", ferry);
    EditorWindow* editor = activeEditor();
    typeKeys(editor, "#para");
    author.whenShown<SaveFileDialog>(thenOK([](SaveFileDialog& dialog) { dialog.pageBox()->setText("ferry"); }));
    EXPECT_EQ(withAnswers({Answer::Yes}, [&] { trigger(editor, "saveAsAction"); }),
              QStringList{"Page " + QDir::toNativeSeparators(kiosk.path("news/ferry.zel"))
                          + " is open in another editor - close that editor before saving over it"});
    EXPECT_EQ(readBytes(kiosk.path("news/ferry.zel")), ferry);
    EXPECT_EQ(editor->filePath(), today);
    EXPECT_TRUE(editor->isPageChanged());
    EXPECT_TRUE(ferryEditor->isVisible());
    ferryEditor->close();
    EXPECT_EQ(withAnswers({Answer::Yes}, [&] { trigger(editor, "saveAsAction"); }),
              QStringList{"Page already exists - do you want to replace it?\r\n"
                          + QDir::toNativeSeparators(kiosk.path("news/ferry.zel"))})
        << "once that editor is closed, Save As onto the page is the usual replace";
    EXPECT_EQ(readBytes(kiosk.path("news/ferry.zel")), "#leaf\r\n#title Today\r\n#para\r\n");
}

// A page source's mode, owner and link survive Save, Save As over it, a rename that rewrites it (as a referring
// page) and a move of it; or the write is refused, saying why and naming it, and nothing at all changes. A
// read-only page source is never made writable; another owner is kept where the process may give the file back
// (the superuser) and refused elsewhere; a link is written through, its file replaced beside it, except for a page
// to move, which would become a file.
TEST_F(PageSourceOnDiskTest, ModesOwnersAndLinksAreKeptOrTheWriteIsRefused)
{
    enum Operation { Save, SaveAs, Rename, Move };
    const char* operations[] = {"save", "Save As", "rename", "move"};
    const bool superuser = ::geteuid() == 0;
    // Each prepares the page source "$1" (in a page folder) as a shell command.
    const struct Row {
        const char *name, *prepare;
        const char* refusal[4]; // the reason by operation; "" when done
    } rows[] = {
        {"0444", "chmod 444 \"$1\"", {"is read-only", "is read-only", "is read-only", ""}},
        {"0664", "chmod 664 \"$1\"", {"", "", "", ""}},
        {"a link",
         "cd \"${1%/*}/..\" && mkdir .kept && mv \"$1\" .kept/p && chmod 640 .kept/p && ln -s ../.kept/p \"$1\"",
         {"", "", "", "is a symbolic link"}},
        {"another owner (the superuser keeps it)", "chmod 666 \"$1\" && chown 65534:65534 \"$1\"", {"", "", "", ""}},
    };
    for (const Row& row : rows) {
        if (!superuser && std::string(row.name).starts_with("another"))
            continue; // only the superuser can give a file to another user
        for (int operation : {Save, SaveAs, Rename, Move}) {
            SCOPED_TRACE(std::string(row.name) + ", " + operations[operation]);
            closeEditors();
            for (const char* folder : {"news", "sport", ".kept"})
                QDir(kiosk.path(folder)).removeRecursively();
            writeBytes(kiosk.path("news/today.zel"), "#leaf\r\n#title Today\r\n");
            writeBytes(kiosk.path("news/index.zel"), "#branch\r\n#button today Today\r\n");
            writeBytes(kiosk.path("sport/start.zel"), "#leaf\r\n");
            EditorWindow* editor =
                operation == SaveAs ? editorOn("news/ferry.zel", "#leaf\r\n#title Ferry\r\n") : nullptr;
            const QString subject = operation == Rename ? kiosk.path("news/index.zel") : today;
            ASSERT_EQ(QProcess::execute("/bin/sh", {"-c", row.prepare, "sh", subject}), 0);
            if (operation == Save) {
                editor = new EditorWindow(workbench);
                ASSERT_TRUE(editor->editPage(today));
                type(editor, "#para\n");
            }
            const std::string attributes = keptOf(subject);
            const QByteArray bytes = readBytes(subject);
            const std::map<std::string, std::string> before = folderState(kiosk.folder());
            QString problem;
            if (operation == Save)
                problem = withAnswers({}, [&] { trigger(editor, "saveAction"); }).join("|");
            if (operation == SaveAs) {
                author.whenShown<SaveFileDialog>(
                    thenOK([](SaveFileDialog& dialog) { dialog.pageBox()->setText("today"); }));
                problem = withAnswers({Answer::Yes}, [&] { trigger(editor, "saveAsAction"); }).mid(1).join("|");
            }
            if (operation == Rename || operation == Move)
                problem = PageRenaming::renamePage(
                              kiosk.session.session(), kiosk.folder(), {"news", "today"},
                              {operation == Move ? "sport" : "news", operation == Move ? "today" : "heute"})
                              .problem;
            if (*row.refusal[operation]) {
                EXPECT_TRUE(problem.contains(subject) && problem.contains(row.refusal[operation]))
                    << problem.toStdString();
                EXPECT_EQ(folderState(kiosk.folder()), before);
                continue;
            }
            EXPECT_EQ(problem, "");
            const QString after = operation == Move ? kiosk.path("sport/today.zel") : subject;
            EXPECT_EQ(keptOf(after), attributes);
            EXPECT_EQ(readBytes(after) == bytes, operation == Move) << "written, or moved as it was";
            for (const auto& [name, state] : folderState(kiosk.folder()))
                EXPECT_FALSE(QString::fromStdString(name).contains(".zel-tmp-")) << name;
        }
    }
}

} // namespace
