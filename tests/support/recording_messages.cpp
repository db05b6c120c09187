// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/recording_messages.h"

void RecordingMessages::show(const QString& text, MessageIcon icon)
{
    m_entries.push_back({icon == MessageIcon::Exclamation ? Entry::Exclamation : Entry::Ok, text});
}

Answer RecordingMessages::askYesNo(const QString& text, Answer defaultAnswer)
{
    m_entries.push_back({Entry::YesNo, text, defaultAnswer});
    return nextAnswer();
}

Answer RecordingMessages::askYesNoCancel(const QString& text)
{
    m_entries.push_back({Entry::YesNoCancel, text});
    if (whenAsked)
        whenAsked(text);
    return nextAnswer();
}

void RecordingMessages::scriptAnswers(std::initializer_list<Answer> answers)
{
    m_answers.insert(m_answers.end(), answers);
}

QStringList RecordingMessages::texts() const
{
    QStringList list;
    for (const auto& e : m_entries)
        list.append(e.text);
    return list;
}

Answer RecordingMessages::nextAnswer()
{
    if (m_answers.empty())
        return Answer::Cancel;
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}
