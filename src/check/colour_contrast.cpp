// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/colour_contrast.h"

#include "check/style_sheet.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

// One channel of rgb(): 0-255 or a percentage; -1 when unreadable.
int channel(QString text)
{
    bool ok = false;
    double value = 0;
    if (text.endsWith(u'%')) {
        text.chop(1);
        value = text.toDouble(&ok) * 255 / 100;
    } else {
        value = text.toDouble(&ok);
    }
    return ok ? int(std::lround(std::clamp(value, 0.0, 255.0))) : -1;
}

std::optional<Colour> functionColour(const QString& text)
{
    static const QRegularExpression function(QStringLiteral("^rgba?\\((.*)\\)$"));
    const QRegularExpressionMatch match = function.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    static const QRegularExpression separator(QStringLiteral("[\\s,/]+"));
    const QStringList parts = match.captured(1).split(separator, Qt::SkipEmptyParts);
    if (parts.size() != 3 && parts.size() != 4)
        return std::nullopt;
    if (parts.size() == 4) {
        // Only a wholly opaque colour has a contrast of its own.
        QString alpha = parts.at(3);
        bool ok = false;
        const bool percent = alpha.endsWith(u'%');
        if (percent)
            alpha.chop(1);
        if (alpha.toDouble(&ok) != (percent ? 100.0 : 1.0) || !ok)
            return std::nullopt;
    }
    const int red = channel(parts.at(0)), green = channel(parts.at(1)), blue = channel(parts.at(2));
    if (red < 0 || green < 0 || blue < 0)
        return std::nullopt;
    return Colour{red, green, blue};
}

double luminanceOf(const Colour& colour)
{
    return ColourContrast::luminance(colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
}

// The first colour among a "background" shorthand's values, or the whole of
// a "color" or "background-color" value.
std::optional<Colour> firstColour(const QString& value)
{
    if (const std::optional<Colour> whole = ColourContrast::parse(value))
        return whole;
    static const QRegularExpression part(QStringLiteral("rgba?\\([^)]*\\)|[#\\w-]+"));
    for (QRegularExpressionMatchIterator parts = part.globalMatch(value); parts.hasNext();)
        if (const std::optional<Colour> colour = ColourContrast::parse(parts.next().captured()))
            return colour;
    return std::nullopt;
}

// The first of selectors that sets one of properties, and the value it sets.
struct Setting {
    QString selector;
    QString value;
};
std::optional<Setting> firstSetting(const StyleSheet& sheet, const QStringList& selectors,
                                    const QStringList& properties)
{
    for (const QString& selector : selectors)
        for (const QString& property : properties)
            if (const QString value = sheet.value(selector, property).trimmed();
                !value.isEmpty() && value.compare(QLatin1String("inherit"), Qt::CaseInsensitive) != 0
                && value.compare(QLatin1String("transparent"), Qt::CaseInsensitive) != 0)
                return Setting{selector, value};
    return std::nullopt;
}

// A rule whose text is drawn on a background: the rules its colour, its
// background and its font come from, nearest first.
struct Pair {
    QStringList text;
    QStringList background;
};

// The same rules in the visitor's high-contrast scheme (html.contrast):
// its rules first, as they outweigh the others, then the others.
QStringList inContrast(const QStringList& selectors)
{
    QStringList result;
    for (const QString& selector : selectors)
        result.append(QStringLiteral("html.contrast ") + selector);
    return result + selectors;
}

const QList<Pair>& pairs()
{
    const auto with = [](const QString& selector, const QStringList& parents) {
        return QStringList{selector} + parents;
    };
    const QStringList body = {QStringLiteral("body")};
    const QStringList button = {QStringLiteral("a.nav")};
    const QStringList column = {QStringLiteral("table.nav td"), QStringLiteral("table.nav"), QStringLiteral("body")};
    const QStringList list = {QStringLiteral("#sTable td"), QStringLiteral("#sTable"), QStringLiteral("body")};
    static const QList<Pair> all = {
        {body, body},
        {with(QStringLiteral("p.title"), body), with(QStringLiteral("p.title"), body)},
        {with(QStringLiteral("p.branch"), body), body},
        {with(QStringLiteral("p.leaf"), body), body},
        {with(QStringLiteral("p.leaf_head"), body), body},
        {with(QStringLiteral("a"), body), body},
        {with(QStringLiteral("a.nav"), body), with(QStringLiteral("a.nav"), column)},
        {with(QStringLiteral("a.nav[href$=\"root.htm\"]"), button + body),
         with(QStringLiteral("a.nav[href$=\"root.htm\"]"), button + column)},
        {with(QStringLiteral("a.nav[href=\"javascript:goBack()\"]"), button + body),
         with(QStringLiteral("a.nav[href=\"javascript:goBack()\"]"), button + column)},
        {with(QStringLiteral("a.nav[href=\"javascript:select()\"]"), button + body),
         with(QStringLiteral("a.nav[href=\"javascript:select()\"]"), button + column)},
        {with(QStringLiteral("a.nav.disabled"), button + body),
         with(QStringLiteral("a.nav.disabled"), button + column)},
        {with(QStringLiteral("p.item"), list), with(QStringLiteral("p.item"), list)},
        {with(QStringLiteral("#sTable tr.current td"), QStringList{QStringLiteral("p.item")} + list),
         with(QStringLiteral("#sTable tr.current td"), list)},
    };
    static const QList<Pair> withContrast = [] {
        QList<Pair> result = all;
        for (const Pair& pair : all)
            result.append(Pair{inContrast(pair.text), inContrast(pair.background)});
        return result;
    }();
    return withContrast;
}

const QStringList colourProperty = {QStringLiteral("color")};
const QStringList backgroundProperties = {QStringLiteral("background-color"), QStringLiteral("background")};

bool isBold(const StyleSheet& sheet, const QStringList& selectors)
{
    const std::optional<Setting> weight = firstSetting(sheet, selectors, {QStringLiteral("font-weight")});
    if (!weight)
        return false;
    const QString value = weight->value.toLower();
    return value == QLatin1String("bold") || value == QLatin1String("bolder") || value.toInt() >= 700;
}

double fontSize(const StyleSheet& sheet, const QStringList& selectors)
{
    for (const QString& selector : selectors)
        if (const double size = sheet.pixels(selector, QStringLiteral("font-size"), -1); size > 0)
            return size;
    return 16;
}

// CSS's named colours.
const QHash<QString, Colour>& namedColours()
{
    static const QHash<QString, Colour> colours = [] {
        const QStringList words =
            QString::fromLatin1(
                "aliceblue f0f8ff antiquewhite faebd7 aqua 00ffff aquamarine 7fffd4 azure f0ffff beige f5f5dc "
                "bisque ffe4c4 black 000000 blanchedalmond ffebcd blue 0000ff blueviolet 8a2be2 brown a52a2a "
                "burlywood deb887 cadetblue 5f9ea0 chartreuse 7fff00 chocolate d2691e coral ff7f50 "
                "cornflowerblue 6495ed cornsilk fff8dc crimson dc143c cyan 00ffff darkblue 00008b "
                "darkcyan 008b8b darkgoldenrod b8860b darkgray a9a9a9 darkgreen 006400 darkgrey a9a9a9 "
                "darkkhaki bdb76b darkmagenta 8b008b darkolivegreen 556b2f darkorange ff8c00 darkorchid 9932cc "
                "darkred 8b0000 darksalmon e9967a darkseagreen 8fbc8f darkslateblue 483d8b darkslategray 2f4f4f "
                "darkslategrey 2f4f4f darkturquoise 00ced1 darkviolet 9400d3 deeppink ff1493 deepskyblue 00bfff "
                "dimgray 696969 dimgrey 696969 dodgerblue 1e90ff firebrick b22222 floralwhite fffaf0 "
                "forestgreen 228b22 fuchsia ff00ff gainsboro dcdcdc ghostwhite f8f8ff gold ffd700 "
                "goldenrod daa520 gray 808080 green 008000 greenyellow adff2f grey 808080 honeydew f0fff0 "
                "hotpink ff69b4 indianred cd5c5c indigo 4b0082 ivory fffff0 khaki f0e68c lavender e6e6fa "
                "lavenderblush fff0f5 lawngreen 7cfc00 lemonchiffon fffacd lightblue add8e6 lightcoral f08080 "
                "lightcyan e0ffff lightgoldenrodyellow fafad2 lightgray d3d3d3 lightgreen 90ee90 "
                "lightgrey d3d3d3 lightpink ffb6c1 lightsalmon ffa07a lightseagreen 20b2aa lightskyblue 87cefa "
                "lightslategray 778899 lightslategrey 778899 lightsteelblue b0c4de lightyellow ffffe0 "
                "lime 00ff00 limegreen 32cd32 linen faf0e6 magenta ff00ff maroon 800000 mediumaquamarine 66cdaa "
                "mediumblue 0000cd mediumorchid ba55d3 mediumpurple 9370db mediumseagreen 3cb371 "
                "mediumslateblue 7b68ee mediumspringgreen 00fa9a mediumturquoise 48d1cc mediumvioletred c71585 "
                "midnightblue 191970 mintcream f5fffa mistyrose ffe4e1 moccasin ffe4b5 navajowhite ffdead "
                "navy 000080 oldlace fdf5e6 olive 808000 olivedrab 6b8e23 orange ffa500 orangered ff4500 "
                "orchid da70d6 palegoldenrod eee8aa palegreen 98fb98 paleturquoise afeeee palevioletred db7093 "
                "papayawhip ffefd5 peachpuff ffdab9 peru cd853f pink ffc0cb plum dda0dd powderblue b0e0e6 "
                "purple 800080 rebeccapurple 663399 red ff0000 rosybrown bc8f8f royalblue 4169e1 "
                "saddlebrown 8b4513 salmon fa8072 sandybrown f4a460 seagreen 2e8b57 seashell fff5ee "
                "sienna a0522d silver c0c0c0 skyblue 87ceeb slateblue 6a5acd slategray 708090 slategrey 708090 "
                "snow fffafa springgreen 00ff7f steelblue 4682b4 tan d2b48c teal 008080 thistle d8bfd8 "
                "tomato ff6347 turquoise 40e0d0 violet ee82ee wheat f5deb3 white ffffff whitesmoke f5f5f5 "
                "yellow ffff00 yellowgreen 9acd32")
                .split(u' ');
        QHash<QString, Colour> result;
        for (qsizetype i = 0; i + 1 < words.size(); i += 2) {
            const uint rgb = words.at(i + 1).toUInt(nullptr, 16);
            result.insert(words.at(i), Colour{int(rgb >> 16), int((rgb >> 8) & 0xff), int(rgb & 0xff)});
        }
        return result;
    }();
    return colours;
}

} // namespace

QString Colour::name() const
{
    return QStringLiteral("#%1").arg((red << 16) | (green << 8) | blue, 6, 16, QChar(u'0'));
}

std::optional<Colour> ColourContrast::parse(const QString& value)
{
    const QString text = value.trimmed().toLower();
    if (text.startsWith(QLatin1String("rgb")))
        return functionColour(text);
    if (const auto named = namedColours().constFind(text); named != namedColours().cend())
        return *named;
    static const QRegularExpression hex(QStringLiteral("^#([0-9a-f]{3}|[0-9a-f]{6})$"));
    if (!hex.match(text).hasMatch())
        return std::nullopt;
    QString digits = text.mid(1);
    if (digits.size() == 3)
        digits = QString(digits[0]) + digits[0] + digits[1] + digits[1] + digits[2] + digits[2];
    const uint rgb = digits.toUInt(nullptr, 16);
    return Colour{int(rgb >> 16), int((rgb >> 8) & 0xff), int(rgb & 0xff)};
}

double ColourContrast::luminance(double red, double green, double blue)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue);
}

double ColourContrast::ratio(double luminanceA, double luminanceB)
{
    return (std::max(luminanceA, luminanceB) + 0.05) / (std::min(luminanceA, luminanceB) + 0.05);
}

double ColourContrast::ratio(const Colour& text, const Colour& background)
{
    return ratio(luminanceOf(text), luminanceOf(background));
}

QStringList ColourContrast::lowContrasts(const StyleSheet& sheet)
{
    QStringList lines;
    for (const Pair& pair : pairs()) {
        // Each rule is judged where it sets a colour of its own, once.
        const QString& rule = pair.text.first();
        if (sheet.value(rule, colourProperty.first()).isEmpty() && !firstSetting(sheet, {rule}, backgroundProperties))
            continue;
        const std::optional<Setting> text = firstSetting(sheet, pair.text, colourProperty);
        const std::optional<Setting> background = firstSetting(sheet, pair.background, backgroundProperties);
        // Unset: the browser's black on white.
        const std::optional<Colour> textColour = text ? parse(text->value) : Colour{0, 0, 0};
        const std::optional<Colour> backgroundColour =
            background ? firstColour(background->value) : Colour{255, 255, 255};
        if (!textColour || !backgroundColour)
            continue;
        const double size = fontSize(sheet, pair.text);
        const bool large = size >= 24 || (size >= 18.66 && isBold(sheet, pair.text));
        const double least = large ? 3.0 : 4.5;
        const double contrast = ratio(*textColour, *backgroundColour);
        if (contrast >= least)
            continue;
        // Shown rounded down, so that a ratio just short never reads as the limit.
        lines.append(QStringLiteral("Contrast %1:1 of %2 on %3 in %4, below %5:1")
                         .arg(QString::number(std::floor(contrast * 10) / 10, 'f', 1), textColour->name(),
                              backgroundColour->name(), rule, QString::number(least, 'f', 1)));
    }
    return lines;
}
