// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "speech_engine.h"

#include <QObject>
#include <QStringList>

class QTextToSpeech;

// Speech through Qt TextToSpeech (speech-dispatcher and its voices), at the
// volume (0 to 1) and rate (-1 to 1) of the kiosk settings.
class QtSpeechEngine : public QObject, public SpeechEngine {
    Q_OBJECT

public:
    QtSpeechEngine(double volume, double rate, QObject* parent = nullptr);

    void say(const QString& text, const QString& language, bool queued) override;
    void stop() override;

private:
    void sayNext();

    QTextToSpeech* m_speech;
    QStringList m_queue;
};
