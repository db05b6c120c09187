#pragma once

#include "app/window_closing.h"
#include "dialogs/dlg_make_page.h"
#include "dialogs/dlg_save_file.h"
#include "dialogs/simple_combo_box.h"
#include "dialogs/modal_runner.h"
#include "editor/dlg_insert.h"
#include "editor/frm_edit.h"
#include "editor/page_source_file.h"
#include "support/kiosk_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QDir>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// An open kiosk system (empty configuration: the default screen) and a modal
// runner that shows each dialog and acts as the author on it. The maker
// dialog needs no author: its queued activation is delivered at once, so the
// make runs inside the modal show as it does in the program. A dialog that
// the author's script leaves open is cancelled, as an author would after
// reading the messages; stayedOpen counts those.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kiosk.open();
        kiosk.messages.clear();
        ModalRunner::setRunner([this](QDialog& dialog) { runModal(dialog); });
    }

    void TearDown() override
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<frmEdit*>(window))
                editor->txtContent()->document()->setModified(false);
        WindowClosing::closeOtherWindows(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ModalRunner::setRunner({});
        PageSourceFile::setBeforeCommitHook({});
        dlgInsert::setImageChooser({});
    }

    void runModal(QDialog& dialog)
    {
        const QString name = QString::fromLatin1(dialog.metaObject()->className());
        ++shown[name];
        dialog.show();
        if (auto* maker = qobject_cast<dlgMakePage*>(&dialog)) {
            QCoreApplication::sendPostedEvents(maker, QEvent::MetaCall);
            makerMessages.append(maker->lblMessage()->text());
            return;
        }
        QPointer<QDialog> guard(&dialog);
        const auto script = authors.find(name);
        if (script != authors.end())
            script->second(dialog);
        if (guard && guard->isVisible()) {
            ++stayedOpen;
            guard->reject();
        }
    }

    // The author's hands for the dialog of that class ("dlgInsert", "dlgSaveFile", ...).
    template <class Dialog>
    void whenShown(const QString& name, std::function<void(Dialog&)> script)
    {
        authors[name] = [script](QDialog& dialog) { script(static_cast<Dialog&>(dialog)); };
    }

    // A new editor window of the page type (1 leaf, 2 branch, 4 selector).
    frmEdit* newEditor(int type)
    {
        auto* editor = new frmEdit();
        if (type == 1)
            editor->newLeafPage();
        else if (type == 2)
            editor->newBranchPage();
        else
            editor->newSelectorPage();
        return editor;
    }

    // An editor on a page source written with these bytes; nullptr when it did not load.
    frmEdit* editorOn(const QString& relative, const QByteArray& bytes)
    {
        writeBytes(kiosk.path(relative), bytes);
        auto* editor = new frmEdit();
        if (!editor->editPage(kiosk.path(relative))) {
            delete editor;
            return nullptr;
        }
        return editor;
    }

    static void setCaret(frmEdit* editor, int position, int selectionLength = 0)
    {
        QTextCursor cursor = editor->txtContent()->textCursor();
        cursor.setPosition(position);
        cursor.setPosition(position + selectionLength, QTextCursor::KeepAnchor);
        editor->txtContent()->setTextCursor(cursor);
    }

    static void type(frmEdit* editor, const QString& text)
    {
        editor->txtContent()->moveCursor(QTextCursor::End);
        editor->txtContent()->insertPlainText(text);
    }

    TemporaryKiosk kiosk;
    std::map<QString, int> shown;
    std::map<QString, std::function<void(QDialog&)>> authors;
    QStringList makerMessages;
    int stayedOpen = 0;
};
