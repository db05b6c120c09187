// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class StyleSheet;

// A wholly opaque colour, each channel 0-255.
struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;

    // "#rrggbb"
    QString name() const;
    bool operator==(const Colour&) const = default;
};

// Contrast of text against its background by the relative luminance of the
// two colours, as accessibility guidelines measure it: (L1 + 0.05) / (L2 + 0.05).
namespace ColourContrast {

// A CSS colour: a named colour, #rgb, #rrggbb, rgb() or rgba() wholly
// opaque; none for anything else (transparent, half-transparent, unknown).
std::optional<Colour> parse(const QString& text);
// The relative luminance of an sRGB colour, each channel from 0 to 1.
double luminance(double red, double green, double blue);
// The contrast of two relative luminances: from 1 (the same) to 21 (black on white).
double ratio(double luminanceA, double luminanceB);
double ratio(const Colour& text, const Colour& background);
// One line for each rule the pages use (body, the content's paragraphs,
// links, the navigation buttons, the selector rows; also as the visitor's
// high-contrast scheme sets them, "html.contrast body") that sets a text or
// background colour whose pair is below 4.5:1, or 3:1 for large text (24 px,
// or bold from 18.66 px): "Contrast 2.9:1 of #999999 on #ffffff in body,
// below 4.5:1". A colour that cannot be read is passed over.
QStringList lowContrasts(const StyleSheet& sheet);

} // namespace ColourContrast
