// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/page_search.h"

#include "text/text_codec.h"

namespace PageSearch {

QList<PageReferences::ReferenceLine> linesContaining(const QString& kioskFolder, const QString& text, bool matchCase)
{
    QList<PageReferences::ReferenceLine> found;
    if (text.isEmpty())
        return found;
    const Qt::CaseSensitivity sensitivity = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const PageReferences::PageSourceEntry& source : PageReferences::pageSourcesOf(kioskFolder)) {
        const std::optional<QByteArray> bytes = PageReferences::readPageSource(source, found);
        if (!bytes)
            continue;
        const QStringList lines = TextCodec::splitLines(TextCodec::decode(*bytes));
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines.at(i).contains(text, sensitivity))
                found.append({source.path, int(i + 1), lines.at(i)});
    }
    return found;
}

} // namespace PageSearch
