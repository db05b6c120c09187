// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/main_window.h"
#include "app/qt_message_boxes.h"
#include "app/window_closing.h"
#include "base/screen_size.h"
#include "dialogs/make_dialog.h"
#include "editor/editor_window.h"
#include "support/closing_windows.h"
#include "support/kiosk_fixture.h"
#include "support/modal_author.h"
#include "workbench/workbench.h"

#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Clicks the item shown in rect of the view; twice: then double-clicks it.
inline void clickItem(QAbstractItemView* view, const QRect& rect, bool twice = false)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    if (twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

// An author's step in a dialog, then its OK button.
inline auto thenOK(auto step)
{
    return [step](auto& dialog) {
        step(dialog);
        dialog.okButton()->click();
    };
}

// The shown top-level windows of this class.
template <class W>
QList<W*> visibleWindows()
{
    QList<W*> found;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<W*>(widget); window && window->isVisible())
            found.append(window);
    return found;
}

// The fixture of the window tests: an open kiosk system (on a 1280 x 1024 screen), the author at its dialogs (see
// ModalAuthor) and the windows' workbench built with that author, its own settings store, and ways to open the
// main window and editors. The maker dialog runs its queued make at once, as in the program, and its message is
// kept in makerMessages. Every window is closed at the end.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        workbench.setKioskSystem(&kiosk.open());
        kiosk.messages.clear();
        author.whenShown<MakeDialog>([this](MakeDialog& maker) {
            QCoreApplication::sendPostedEvents(&maker, QEvent::MetaCall);
            makerMessages.append(maker.messageLabel()->text());
        });
    }
    void TearDown() override
    {
        if (realBoxes)
            kiosk.session.session().setMessages(recordedBoxes);
        closeAllWindows(workbench);
        main.reset();
    }

    // A new main window (on a screen of this size) shown, without a kiosk system open in it.
    MainWindow& mainWindow(QSize screen = QSize(1280, 1024))
    {
        main = std::make_unique<MainWindow>(workbench);
        main->setScreenSizeProvider(std::make_unique<FixedScreenSize>(screen));
        main->show();
        return *main;
    }
    // A new editor window of the page type (1 leaf, 2 branch, 4 selector).
    EditorWindow* newEditor(int type)
    {
        auto* editor = new EditorWindow(workbench);
        type == 1 ? editor->newLeafPage() : type == 2 ? editor->newBranchPage() : editor->newSelectorPage();
        return editor;
    }
    // An editor on a page source written with these bytes (a failure if it does not load).
    EditorWindow* editorOn(const QString& relative, const QByteArray& bytes)
    {
        writeBytes(kiosk.path(relative), bytes);
        auto* editor = new EditorWindow(workbench);
        EXPECT_TRUE(editor->editPage(kiosk.path(relative))) << relative.toStdString();
        return editor;
    }
    // Runs the step with the author's answers to its questions (None: none); returns the messages shown.
    QStringList withAnswers(std::initializer_list<Answer> answers, const std::function<void()>& step)
    {
        kiosk.messages.clear();
        for (Answer answer : answers)
            if (answer != Answer::None)
                kiosk.messages.scriptAnswers({answer});
        step();
        return kiosk.messages.texts();
    }
    static void type(EditorWindow* editor, const QString& text)
    {
        editor->textArea()->moveCursor(QTextCursor::End);
        editor->textArea()->insertPlainText(text);
    }
    static void trigger(QWidget* window, const char* name)
    {
        window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }

    // From now until the test ends, the windows ask through real message boxes, each dialog and box in a modal loop
    // of its own as in the program.
    void useRealMessageBoxes()
    {
        author.execs = true;
        realBoxes = std::make_unique<QtMessageBoxes>(workbench.focus());
        recordedBoxes = kiosk.session.session().setMessages(realBoxes.get());
    }

    // File operations named failOperation fail with failError (none while it is empty).
    std::string failOperation;
    int failError = 0;
    QTemporaryDir settings;
    // As in the program, a fatal report closes every window through its own close handling.
    TemporaryKiosk kiosk{{},
                         {.closeAllWindows = &WindowClosing::closeAllWindows,
                          .fileFaults = [this](std::string_view operation, const std::string&) {
                              return operation == failOperation ? failError : 0;
                          }}};
    ModalAuthor author;
    Workbench workbench{kiosk.session.session(), author.services()};
    std::unique_ptr<MainWindow> main;
    QStringList makerMessages;
    std::unique_ptr<QtMessageBoxes> realBoxes;
    MessageBoxes* recordedBoxes = nullptr;
};
