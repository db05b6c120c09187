// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "page_background.h"

#include "check/colour_contrast.h"
#include "check/style_sheet.h"

#include <QDir>

QColor pageBackground(const QString& kioskFolder)
{
    const StyleSheet sheet = StyleSheet::read(QDir(kioskFolder).filePath(QStringLiteral("stylesheet.css")));
    const QString body = QStringLiteral("body");
    for (const char* property : {"background-color", "background"}) {
        const QString value = sheet.value(body, QString::fromLatin1(property)).trimmed();
        if (value.isEmpty())
            continue;
        if (const std::optional<Colour> colour = ColourContrast::parse(value))
            return QColor(colour->red, colour->green, colour->blue);
        break;
    }
    return QColor(Qt::white);
}
