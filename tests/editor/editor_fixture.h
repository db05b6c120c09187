#pragma once

#include "fileio/atomic_file.h"

#include "dialogs/dlg_make_page.h"
#include "editor/dlg_insert.h"
#include "editor/frm_edit.h"
#include "editor/page_source_file.h"
#include "support/closing_windows.h"
#include "support/kiosk_fixture.h"
#include "support/modal_author.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

// An open kiosk system and the author at its dialogs (see ModalAuthor). The maker dialog runs
// its queued make at once, as in the program, and its message is kept in makerMessages.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kiosk.open();
        kiosk.messages.clear();
        author.whenShown<dlgMakePage>([this](dlgMakePage& maker) {
            QCoreApplication::sendPostedEvents(&maker, QEvent::MetaCall);
            makerMessages.append(maker.lblMessage()->text());
        });
    }

    void TearDown() override
    {
        closeAllWindows();
        dlgInsert::setImageChooser({});
    }

    // A new editor window of the page type (1 leaf, 2 branch, 4 selector).
    static frmEdit* newEditor(int type)
    {
        auto* editor = new frmEdit();
        type == 1 ? editor->newLeafPage() : type == 2 ? editor->newBranchPage() : editor->newSelectorPage();
        return editor;
    }

    // An editor on a page source written with these bytes (a failure if it does not load).
    frmEdit* editorOn(const QString& relative, const QByteArray& bytes)
    {
        writeBytes(kiosk.path(relative), bytes);
        auto* editor = new frmEdit();
        EXPECT_TRUE(editor->editPage(kiosk.path(relative))) << relative.toStdString();
        return editor;
    }

    // Runs the step with the author's answers to its questions (0: none); returns the messages shown.
    QStringList withAnswers(std::initializer_list<int> answers, const std::function<void()>& step)
    {
        kiosk.messages.clear();
        for (int answer : answers)
            if (answer != 0)
                kiosk.messages.scriptAnswers({answer});
        step();
        return kiosk.messages.texts();
    }

    static void type(frmEdit* editor, const QString& text)
    {
        editor->txtContent()->moveCursor(QTextCursor::End);
        editor->txtContent()->insertPlainText(text);
    }

    static void trigger(QWidget* window, const char* name) { window->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }

    // File operations named failOperation fail with failError (none while it is empty).
    std::string failOperation;
    int failError = 0;
    TemporaryKiosk kiosk{{}, {.fileFaults = [this](std::string_view operation, const std::string&) {
                                  return operation == failOperation ? failError : 0;
                              }}};
    ModalAuthor author;
    QStringList makerMessages;
};
