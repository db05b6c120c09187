// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Session;

// "ZEL - Find and Replace": finds and replaces plain text in one editor's
// text area. Not modal: the author goes on typing in the editor while it is
// open, and the editor's Find Next and Find Previous use what it holds. Each
// editor has its own, made on first use; Esc and Close only hide it.
//
// Searches go round the page's end (or start) and say so; a text not found is
// said too, and nothing changes. What is said goes to the status line of the
// dialog while it is shown, otherwise into a message. Replace All is one edit
// step, so that a single undo in the editor takes it back.
class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    // text: the editor's text area; the dialog is a window over owner; what
    // is said in a message goes to the session's message boxes.
    FindReplaceDialog(Session& session, QPlainTextEdit* text, QWidget* owner);

    // Shows the dialog in front with the find box ready; a selection within
    // one line of the text becomes the text to find.
    void showFind();
    // The next (backward: the previous) occurrence, selected in the text
    // area; opens the dialog when there is nothing to find yet.
    bool findNext(bool backward = false);
    // Replaces the occurrence the text area has selected, then finds the next.
    void replace();
    // Replaces every occurrence; the number replaced.
    int replaceAll();

    // The controls, for the author's hands in tests.
    QLineEdit* findEdit() const { return m_findEdit; }
    QLineEdit* replaceEdit() const { return m_replaceEdit; }
    QCheckBox* matchCaseBox() const { return m_matchCaseBox; }
    QPushButton* findNextButton() const { return m_findNextButton; }
    QPushButton* findPreviousButton() const { return m_findPreviousButton; }
    QPushButton* replaceButton() const { return m_replaceButton; }
    QPushButton* replaceAllButton() const { return m_replaceAllButton; }
    QLabel* statusLabel() const { return m_statusLabel; }

private:
    bool matchCase() const;
    // Says text on the status line, or in a message when the dialog is hidden.
    void say(const QString& text);

    Session& m_session;
    QPlainTextEdit* m_text;
    QLineEdit* m_findEdit = nullptr;
    QLineEdit* m_replaceEdit = nullptr;
    QCheckBox* m_matchCaseBox = nullptr;
    QPushButton* m_findNextButton = nullptr;
    QPushButton* m_findPreviousButton = nullptr;
    QPushButton* m_replaceButton = nullptr;
    QPushButton* m_replaceAllButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QLabel* m_statusLabel = nullptr;
};
