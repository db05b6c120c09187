// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editor_colours.h"

#include "check/colour_contrast.h"

namespace {

double luminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return ColourContrast::luminance(rgb.redF(), rgb.greenF(), rgb.blueF());
}

// Below this luminance black text has less contrast than white text.
constexpr double kDarkBelow = 0.179;

bool isDark(const QColor& background) { return luminance(background) < kDarkBelow; }

// The light theme's colour or the dark theme's, whichever fits the background, made readable on it.
QColor chosen(const QColor& onLight, const QColor& onDark, const QColor& background)
{
    return EditorColours::readableOn(isDark(background) ? onDark : onLight, background);
}

} // namespace

namespace EditorColours {

double contrast(const QColor& a, const QColor& b) { return ColourContrast::ratio(luminance(a), luminance(b)); }

QColor readableOn(const QColor& wanted, const QColor& background)
{
    const QColor target = isDark(background) ? QColor(Qt::white) : QColor(Qt::black);
    const QColor from = wanted.toRgb();
    // Black or white itself always has the minimum contrast against a background on its side.
    for (int step = 0; step <= 20; ++step) {
        const double t = step / 20.0;
        const QColor mixed = QColor::fromRgbF(float(from.redF() + (target.redF() - from.redF()) * t),
                                              float(from.greenF() + (target.greenF() - from.greenF()) * t),
                                              float(from.blueF() + (target.blueF() - from.blueF()) * t));
        if (contrast(mixed, background) >= kMinimumContrast)
            return mixed;
    }
    return target;
}

QColor directive(const QColor& background)
{
    return chosen(QColor(0x1f, 0x3f, 0xa8), QColor(0x8c, 0xb4, 0xff), background);
}

QColor comment(const QColor& background)
{
    return chosen(QColor(0x6b, 0x6b, 0x6b), QColor(0xa0, 0xa0, 0xa0), background);
}

QColor problem(const QColor& background)
{
    return chosen(QColor(0xc8, 0x00, 0x00), QColor(0xff, 0x6e, 0x6e), background);
}

QColor lineNumber(const QColor& wanted, const QColor& background)
{
    const double alpha = wanted.alphaF();
    const auto over = [alpha](float top, float bottom) { return double(top) * alpha + double(bottom) * (1 - alpha); };
    const QColor drawn = QColor::fromRgbF(float(over(wanted.redF(), background.redF())),
                                          float(over(wanted.greenF(), background.greenF())),
                                          float(over(wanted.blueF(), background.blueF())));
    return readableOn(drawn, background);
}

} // namespace EditorColours
