// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Escaping of the text and attribute values written into pages.
#include "maker/html_escape.h"

#include "maker/maker_module.h"

#include "runtime/error_handler.h"

QString Html::encodeAttribute(const QString& text)
{
    if (!text.contains(u'"') && !text.contains(u'&') && !text.contains(u'<') && !text.contains(u'>'))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString Html::encode(const QString& text)
{
    return inProcedure(
        makerModule(), [&] { return QStringLiteral("encode(") + text + QStringLiteral(")"); },
        [&] {
            // Copies the runs between brackets in one piece each.
            qsizetype open = text.indexOf(u'<');
            const qsizetype close = text.indexOf(u'>');
            if (open < 0 && close < 0)
                return text;
            QString out;
            out.reserve(text.size() + 16);
            qsizetype start = 0;
            const qsizetype n = text.size();
            for (qsizetype i = 0; i < n; ++i) {
                const QChar c = text.at(i);
                if (c != u'<' && c != u'>')
                    continue;
                out.append(QStringView(text).mid(start, i - start));
                out.append(c == u'<' ? QLatin1String("&lt;") : QLatin1String("&gt;"));
                start = i + 1;
            }
            out.append(QStringView(text).mid(start));
            return out;
        });
}
