#include "check/text_fit.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Advance widths in em, close to DejaVu Sans.
double advance(QChar c)
{
    static const QString narrow = QStringLiteral("ijl.,:;!|'I");
    static const QString slim = QStringLiteral("ftr()[]-\"");
    static const QString wide = QStringLiteral("mwMW@%");
    if (c == u' ')
        return 0.318;
    if (narrow.contains(c))
        return 0.28;
    if (slim.contains(c))
        return 0.4;
    if (wide.contains(c))
        return 0.92;
    if (c.isDigit())
        return 0.636;
    if (c.isUpper())
        return 0.72;
    if (c.isLower())
        return 0.6;
    return 0.65;
}

// The text's lines as the browser would start them, tags removed.
QStringList plainLines(const QString& html)
{
    static const QRegularExpression lineBreak(QStringLiteral("<\\s*(br|p|/p|div|/div)\\b[^>]*>"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString text = html;
    text.replace(lineBreak, QStringLiteral("\n"));
    text.remove(tag);
    text.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    QStringList lines;
    for (const QString& line : text.split(u'\n')) {
        const QString simplified = line.simplified();
        if (!simplified.isEmpty())
            lines.append(simplified);
    }
    return lines;
}

int wrappedLines(const QString& line, const TextBox& box)
{
    const double space = TextFit::textWidth(QStringLiteral(" "), box.fontSize, box.bold);
    int lines = 1;
    double used = 0;
    for (const QString& word : line.split(u' ', Qt::SkipEmptyParts)) {
        double width = TextFit::textWidth(word, box.fontSize, box.bold);
        const double needed = used > 0 ? used + space + width : width;
        if (needed <= box.width) {
            used = needed;
            continue;
        }
        if (used > 0) {
            ++lines;
            used = 0;
        }
        // A word wider than the box breaks anywhere.
        while (width > box.width && box.width > 0) {
            ++lines;
            width -= box.width;
        }
        used = width;
    }
    return lines;
}

} // namespace

double TextFit::textWidth(const QString& text, double fontSize, bool bold)
{
    double em = 0;
    for (const QChar c : text)
        em += advance(c);
    return em * fontSize * (bold ? 1.1 : 1.0);
}

int TextFit::estimatedLines(const QString& html, const TextBox& box)
{
    int lines = 0;
    for (const QString& line : plainLines(html))
        lines += wrappedLines(line, box);
    return lines;
}

bool TextFit::mayNotFit(const QString& html, const TextBox& box)
{
    const int lines = estimatedLines(html, box);
    return lines > 0 && (box.width <= 0 || lines * box.lineHeight > box.height + 0.5);
}
