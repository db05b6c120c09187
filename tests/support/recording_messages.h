// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/messages.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

// Records every message and question; questions take their answers from a
// script (Answer::Yes, ...) in order, and answer Cancel when it runs out.
class RecordingMessages : public MessageBoxes {
public:
    struct Entry {
        enum Kind { Ok, Exclamation, YesNo, YesNoCancel } kind;
        QString text;
        Answer defaultAnswer = Answer::No; // of a Yes/No question
    };

    void show(const QString& text, MessageIcon icon) override;
    Answer askYesNo(const QString& text, Answer defaultAnswer) override;
    Answer askYesNoCancel(const QString& text) override;

    void scriptAnswers(std::initializer_list<Answer> answers);
    const std::vector<Entry>& entries() const { return m_entries; }
    QStringList texts() const;
    // Called with each question's text before it is answered (to look at the windows then).
    std::function<void(const QString&)> whenAsked;
    // Forgets the recorded entries and the answers not used yet.
    void clear()
    {
        m_entries.clear();
        m_answers.clear();
    }

private:
    Answer nextAnswer();
    std::vector<Entry> m_entries;
    std::deque<Answer> m_answers;
};
