// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace {
// Where the build puts the compiled translations among the program's resources.
const QString kResourceFolder = QStringLiteral(":/i18n");
} // namespace

Translations::Translations(const QLocale& locale)
{
    for (const QString& language : locale.uiLanguages()) {
        const QLocale wanted(language);
        if (wanted.language() == QLocale::English || wanted.language() == QLocale::C)
            return;
        auto translator = std::make_unique<QTranslator>();
        // "zel_de_DE" falls back to "zel_de".
        if (!translator->load(QStringLiteral("zel_") + wanted.name(), kResourceFolder))
            continue;
        QCoreApplication::installTranslator(translator.get());
        m_translators.push_back(std::move(translator));
        m_language = QLocale::languageToCode(wanted.language());
        install(QStringLiteral("qtbase_") + wanted.name(), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        return;
    }
}

Translations::~Translations()
{
    for (const auto& translator : m_translators)
        QCoreApplication::removeTranslator(translator.get());
}

// Qt's own catalogue is optional: without it the standard buttons stay English.
void Translations::install(const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder))
        return;
    QCoreApplication::installTranslator(translator.get());
    m_translators.push_back(std::move(translator));
}
