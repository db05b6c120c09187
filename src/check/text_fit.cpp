// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/text_fit.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace {

// Advance widths in em, close to DejaVu Sans.
double advance(QChar c)
{
    static const QString narrow = QStringLiteral("ijl.,:;!|'I");
    static const QString slim = QStringLiteral("ftr()[]-\"");
    static const QString wide = QStringLiteral("mwMW@%");
    if (c == u' ' || c == QChar(0xA0))
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
    // A no-break space joins the words beside it: kept apart from the blanks
    // until they are simplified.
    const QChar noBreak(0xE000);
    text.replace(QLatin1String("&nbsp;"), QString(noBreak));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    QStringList lines;
    for (const QString& line : text.split(u'\n')) {
        const QString simplified = line.simplified().replace(noBreak, QChar(0xA0));
        if (!simplified.trimmed().isEmpty())
            lines.append(simplified);
    }
    return lines;
}

bool isLetter(QChar c) { return (c.unicode() < 0x80 && c.isLetter()) || (c.unicode() >= 0xC0 && c.unicode() <= 0xFF); }

bool isVowel(QChar c)
{
    const QChar lower = c.toLower();
    return QStringLiteral("aeiouy").contains(lower) || (lower.unicode() >= 0xE0 && lower.unicode() <= 0xFF);
}

// Whether the kiosk's script puts a soft hyphen before character i of a run
// of characters between blanks: in runs of seven or more, three letters at
// least on either side, between a small and a capital letter or before a
// consonant that starts a syllable.
bool hyphenBefore(const QString& run, qsizetype i)
{
    if (run.size() < 7 || i < 3 || run.size() - i < 3)
        return false;
    const auto at = [&](qsizetype k) { return k >= 0 && k < run.size() ? run.at(k) : QChar(); };
    const QChar before = at(i - 1), here = at(i), after = at(i + 1);
    const bool camel = before.unicode() < 0x80 && before.isLower() && here.unicode() < 0x80 && here.isUpper();
    const bool syllable = isLetter(here) && !isVowel(here) && isVowel(after)
                          && (isVowel(before) || (isLetter(before) && !isVowel(before) && isVowel(at(i - 2))));
    return camel || syllable;
}

// The parts of a word that a caption cannot break inside: it breaks only
// after a hyphen and at its soft hyphens (a broken part ends in a hyphen).
QStringList unbreakableParts(const QString& word)
{
    QStringList parts;
    QString part;
    for (const QString& run : word.split(QChar(0xA0))) {
        if (!part.isEmpty() || !parts.isEmpty())
            part += QChar(0xA0);
        for (qsizetype i = 0; i < run.size(); ++i) {
            if (hyphenBefore(run, i)) {
                parts.append(part + u'-');
                part.clear();
            }
            part += run.at(i);
            if (run.at(i) == u'-') {
                parts.append(part);
                part.clear();
            }
        }
    }
    if (!part.isEmpty())
        parts.append(part);
    return parts;
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

// Lines the plain lines take in the box.
int linesIn(const QStringList& lines, const TextBox& box)
{
    int count = 0;
    for (const QString& line : lines)
        count += wrappedLines(line, box);
    return count;
}

// Width in pixels of the widest part of a word that the box cannot break.
double widestUnbreakable(const QStringList& lines, const TextBox& box)
{
    double widest = 0;
    for (const QString& line : lines)
        for (const QString& word : line.split(u' ', Qt::SkipEmptyParts))
            for (const QString& part : unbreakableParts(word))
                widest = std::max(widest, TextFit::textWidth(part, box.fontSize, box.bold));
    return widest;
}

} // namespace

double TextFit::textWidth(const QString& text, double fontSize, bool bold)
{
    double em = 0;
    for (const QChar c : text)
        em += advance(c);
    return em * fontSize * (bold ? 1.1 : 1.0);
}

int TextFit::estimatedLines(const QString& html, const TextBox& box) { return linesIn(plainLines(html), box); }

bool TextFit::mayNotFit(const QString& html, const TextBox& box)
{
    const QStringList plain = plainLines(html);
    const int lines = linesIn(plain, box);
    return lines > 0
           && (box.width <= 0 || lines * box.lineHeight > box.height + 0.5 || (box.maxLines > 0 && lines > box.maxLines)
               || (!box.breaksWords && widestUnbreakable(plain, box) > box.width + 0.5));
}
