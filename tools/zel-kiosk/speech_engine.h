// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the kiosk speaks through when a visitor switched speech on: the
// desktop's speech service (QtSpeechEngine), or in the tests an engine that
// records what it was asked to say.
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // Says the text in the language ("en", "de-CH"; "" the service's own):
    // after what is still being said when queued, else instead of it.
    virtual void say(const QString& text, const QString& language, bool queued) = 0;
    // Stops speaking at once and forgets what was queued.
    virtual void stop() = 0;
};
