// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/content_height.h"

#include "check/style_sheet.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

TextBox box(const StyleSheet& sheet, const QString& selector, double width, double fallbackSize)
{
    TextBox result;
    result.width = width;
    result.fontSize = sheet.pixels(selector, QStringLiteral("font-size"), fallbackSize);
    // Unset, the line height is the body's.
    const bool own = !sheet.value(selector, QStringLiteral("line-height")).isEmpty();
    result.lineHeight = sheet.lineHeight(own ? selector : QStringLiteral("body"), result.fontSize);
    result.breaksWords = true;
    return result;
}

} // namespace

ContentHeight::ContentHeight(const StyleSheet& sheet, double columnWidth)
{
    const double rem = sheet.pixels(QStringLiteral("body"), QStringLiteral("font-size"), 16);
    const QString title = QStringLiteral("p.title");
    const QString paragraph = QStringLiteral("p.branch");
    const QString margin = QStringLiteral("margin");
    const QString padding = QStringLiteral("padding");
    m_title = box(sheet, title, columnWidth - sheet.side(title, padding, 1) - sheet.side(title, padding, 3), 1.6 * rem);
    m_title.bold = true;
    // The style sheet shows a title in two lines at most.
    m_title.maxLines = 2;
    m_titleExtra = sheet.side(title, padding, 0) + sheet.side(title, margin, 2) + 0.45 * rem;
    m_paragraph = box(sheet, paragraph,
                      columnWidth - sheet.side(paragraph, margin, 1) - sheet.side(paragraph, margin, 3), 1.15 * rem);
    m_paragraphMargin = sheet.side(paragraph, margin, 0);
    m_plain = box(sheet, QStringLiteral("body"), columnWidth, rem);
    m_pictureMargin = 0.6 * rem;
}

void ContentHeight::startPage()
{
    m_height = 0;
    m_inParagraph = false;
    m_paragraphText.clear();
}

double ContentHeight::paragraphHeight(const QString& html, const TextBox& box, double margin) const
{
    int lines = TextFit::estimatedLines(html, box);
    if (box.maxLines > 0)
        lines = std::min(lines, box.maxLines);
    return lines > 0 ? lines * box.lineHeight + margin : 0;
}

void ContentHeight::addLine(const QString& line)
{
    static const QRegularExpression title(QStringLiteral("^<p class=\"title\">(.*)</p>$"));
    static const QRegularExpression opening(QStringLiteral("^<p class=\"branch\">$"));
    static const QRegularExpression picture(QStringLiteral("^<img [^>]*\\bheight=(\\d+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (m_inParagraph) {
        if (line == QLatin1String("</p>")) {
            m_height += paragraphHeight(m_paragraphText, m_paragraph, m_paragraphMargin);
            m_inParagraph = false;
            m_paragraphText.clear();
        } else {
            m_paragraphText += line + u' ';
        }
        return;
    }
    if (const QRegularExpressionMatch match = title.match(line); match.hasMatch()) {
        m_height += paragraphHeight(match.captured(1), m_title, m_titleExtra);
    } else if (opening.match(line).hasMatch()) {
        m_inParagraph = true;
    } else if (const QRegularExpressionMatch match = picture.match(line); match.hasMatch()) {
        m_height += match.captured(1).toDouble() + m_pictureMargin;
    } else {
        m_height += paragraphHeight(line, m_plain, 0);
    }
}

double ContentHeight::height() const
{
    const double open = m_inParagraph ? paragraphHeight(m_paragraphText, m_paragraph, m_paragraphMargin) : 0;
    const double total = m_height + open;
    return total + (total > 0 ? m_paragraphMargin : 0);
}
