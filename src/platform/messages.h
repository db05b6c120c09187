// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Every message box and question of the program goes through one MessageBoxes
// object: Qt message boxes titled "ZEL_Editor" in the desktop program, standard
// error in command-line tools, a recording fake in tests.
enum class MessageIcon { None, Exclamation };

// Answers keep the platform's codes.
namespace Answer {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace Answer

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal box with only an OK button.
    virtual void show(const QString& text, MessageIcon icon) = 0;
    // Returns Answer::Yes or Answer::No; defaultAnswer is the one Enter gives.
    virtual int askYesNo(const QString& text, int defaultAnswer) = 0;
    // Returns Answer::Yes, Answer::No or Answer::Cancel.
    virtual int askYesNoCancel(const QString& text) = 0;
};

// Writes each message to standard error: the text with every CR LF as a
// newline, then one empty line. Questions cannot be asked there; they are
// answered No (Yes/No) and Cancel (Yes/No/Cancel).
class StandardErrorMessageBoxes : public MessageBoxes {
public:
    void show(const QString& text, MessageIcon icon) override;
    int askYesNo(const QString& text, int defaultAnswer) override;
    int askYesNoCancel(const QString& text) override;
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
int askYesNo(Session& session, const QString& text, int defaultAnswer);
int askYesNoCancel(Session& session, const QString& text);
} // namespace Messages
