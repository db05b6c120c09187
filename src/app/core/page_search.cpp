#include "app/core/page_search.h"

#include "text/text_codec.h"

#include <QFile>

namespace PageSearch {

QList<PageReferences::ReferenceLine> linesContaining(const QString& kioskFolder, const QString& text, bool matchCase)
{
    QList<PageReferences::ReferenceLine> found;
    if (text.isEmpty())
        return found;
    const Qt::CaseSensitivity sensitivity = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const PageReferences::PageSourceEntry& source : PageReferences::pageSourcesOf(kioskFolder)) {
        QFile file(source.path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QStringList lines = TextCodec::splitLines(TextCodec::decode(file.readAll()));
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines.at(i).contains(text, sensitivity))
                found.append({source.path, int(i + 1), lines.at(i)});
    }
    return found;
}

} // namespace PageSearch
