// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/style_sheet.h"

#include "fileio/regular_file.h"
#include "text/text_files.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

StyleSheet StyleSheet::read(const QString& path, QString* problem)
{
    std::string bytes;
    const std::string reason = fileio::readRegularFile(QFile::encodeName(path).toStdString(),
                                                       std::size_t(TextFiles::kMaximumInputSize), bytes);
    if (!reason.empty()) {
        const QFileInfo there(path);
        if (problem)
            *problem = there.exists() || there.isSymLink() ? QString::fromStdString(reason) : QString();
        return StyleSheet();
    }
    if (problem)
        problem->clear();
    return parse(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
}

StyleSheet StyleSheet::parse(const QString& textWithComments)
{
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QString text = textWithComments;
    text.remove(comment);
    StyleSheet sheet;
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype open = text.indexOf(u'{', position);
        if (open < 0)
            break;
        const QString selectors = text.mid(position, open - position);
        if (selectors.trimmed().startsWith(u'@')) {
            // An at-rule's block, nested blocks and all, is passed over.
            int depth = 0;
            for (position = open; position < text.size(); ++position) {
                if (text.at(position) == u'{')
                    ++depth;
                else if (text.at(position) == u'}' && --depth == 0)
                    break;
            }
            ++position;
            continue;
        }
        const qsizetype close = text.indexOf(u'}', open);
        if (close < 0)
            break;
        const QString body = text.mid(open + 1, close - open - 1);
        position = close + 1;
        for (const QString& declaration : body.split(u';')) {
            const qsizetype colon = declaration.indexOf(u':');
            if (colon < 0)
                continue;
            const QString property = declaration.left(colon).trimmed().toLower();
            const QString value = declaration.mid(colon + 1).trimmed();
            for (const QString& selector : selectors.split(u','))
                sheet.m_rules[selector.simplified()][property] = value;
        }
    }
    return sheet;
}

QString StyleSheet::value(const QString& selector, const QString& property) const
{
    return m_rules.value(selector).value(property);
}

bool StyleSheet::toPixels(const QString& text, double& result) const
{
    QString value = text.trimmed().toLower();
    double unit = 1;
    if (value.endsWith(QLatin1String("rem"))) {
        value.chop(3);
        unit = m_rootFontSize;
    } else if (value.endsWith(QLatin1String("px"))) {
        value.chop(2);
    } else if (value != QLatin1String("0")) {
        return false;
    }
    bool ok = false;
    result = value.toDouble(&ok) * unit;
    return ok;
}

void StyleSheet::setScreenScale(double scale, double smallestRootFontSize)
{
    double designSize = 16;
    if (!toPixels(value(QStringLiteral("html"), QStringLiteral("font-size")), designSize))
        designSize = 16;
    m_rootFontSize = std::max(smallestRootFontSize, std::round(designSize * scale));
}

void StyleSheet::enlargeText(double factor) { m_rootFontSize = std::round(m_rootFontSize * factor); }

double StyleSheet::pixels(const QString& selector, const QString& property, double fallback) const
{
    double result = 0;
    return toPixels(value(selector, property), result) ? result : fallback;
}

double StyleSheet::lineHeight(const QString& selector, double fontSize) const
{
    QString text = value(selector, QStringLiteral("line-height")).trimmed().toLower();
    double result = 0;
    if (toPixels(text, result))
        return result;
    bool ok = false;
    if (text.endsWith(u'%')) {
        text.chop(1);
        result = text.toDouble(&ok) / 100.0;
    } else {
        result = text.toDouble(&ok);
    }
    return ok && result > 0 ? result * fontSize : 1.2 * fontSize;
}

double StyleSheet::side(const QString& selector, const QString& property, int side) const
{
    const QStringList parts = value(selector, property).split(u' ', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return 0;
    // CSS shorthand: 1 value all sides; 2 vertical, horizontal; 3 top,
    // horizontal, bottom; 4 top, right, bottom, left.
    static const int pick[4][4] = {{0, 0, 0, 0}, {0, 1, 0, 1}, {0, 1, 2, 1}, {0, 1, 2, 3}};
    const int count = int(std::min<qsizetype>(parts.size(), 4));
    double result = 0;
    return toPixels(parts.at(pick[count - 1][side]), result) ? result : 0;
}
