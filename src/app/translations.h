// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QTranslator>
#include <memory>
#include <vector>

// The desktop program's texts in the author's language: the program's own
// translation (built into the program as a resource) and Qt's for its
// standard buttons and dialogs, installed for as long as the object lives.
// The locale's UI languages are tried in their order of preference; English,
// the language the texts are written in, or a language without a translation
// leaves the texts in English. Command-line tools install none.
class Translations {
public:
    explicit Translations(const QLocale& locale = QLocale::system());
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The language installed ("de"), or empty for English.
    QString language() const { return m_language; }

private:
    void install(const QString& name, const QString& folder);

    QString m_language;
    std::vector<std::unique_ptr<QTranslator>> m_translators;
};
