// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_speech_engine.h"

#include <QLocale>
#include <QTextToSpeech>

QtSpeechEngine::QtSpeechEngine(double volume, double rate, QObject* parent)
    : QObject(parent), m_speech(new QTextToSpeech(this))
{
    m_speech->setVolume(volume);
    m_speech->setRate(rate);
    // The service says one text at a time: the next one queued follows.
    connect(m_speech, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
        if (state == QTextToSpeech::Ready)
            sayNext();
    });
}

void QtSpeechEngine::say(const QString& text, const QString& language, bool queued)
{
    if (!language.isEmpty() && QLocale(language).language() != m_speech->locale().language())
        m_speech->setLocale(QLocale(language));
    if (!queued) {
        m_queue.clear();
        m_speech->stop();
    }
    m_queue.append(text);
    if (m_speech->state() != QTextToSpeech::Speaking)
        sayNext();
}

void QtSpeechEngine::stop()
{
    m_queue.clear();
    m_speech->stop();
}

void QtSpeechEngine::sayNext()
{
    if (!m_queue.isEmpty())
        m_speech->say(m_queue.takeFirst());
}
