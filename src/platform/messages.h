// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Every message box and question of the program goes through one MessageBoxes
// object: Qt message boxes titled "ZEL_Editor" in the desktop program, standard
// error in command-line tools, a recording fake in tests.
enum class MessageIcon { None, Exclamation };

// The answer to a question (the numbers are the platform's codes, as logs
// and recorded answers show them).
enum class Answer { None = 0, Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal box with only an OK button.
    virtual void show(const QString& text, MessageIcon icon) = 0;
    // Returns Answer::Yes or Answer::No; defaultAnswer is the one Enter gives.
    virtual Answer askYesNo(const QString& text, Answer defaultAnswer) = 0;
    // Returns Answer::Yes, Answer::No or Answer::Cancel.
    virtual Answer askYesNoCancel(const QString& text) = 0;
};

// Writes each message to standard error: the text with every CR LF as a
// newline, then one empty line. Questions cannot be asked there; they are
// answered No (Yes/No) and Cancel (Yes/No/Cancel).
class StandardErrorMessageBoxes : public MessageBoxes {
public:
    void show(const QString& text, MessageIcon icon) override;
    Answer askYesNo(const QString& text, Answer defaultAnswer) override;
    Answer askYesNoCancel(const QString& text) override;
    int shownCount() const { return m_shown; }

private:
    void write(const QString& text);
    int m_shown = 0;
};

class Session;

// The message boxes of the session a window or tool was handed.
namespace Messages {
void show(Session& session, const QString& text);
void showExclamation(Session& session, const QString& text);
// defaultAnswer is what Enter answers: Answer::No for every question that
// would replace a file.
Answer askYesNo(Session& session, const QString& text, Answer defaultAnswer);
Answer askYesNoCancel(Session& session, const QString& text);
} // namespace Messages
