// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether a caption is likely to fit the box it is shown in, estimated from
// average glyph widths of a DejaVu-like sans-serif face (the kiosk's style
// sheet asks for DejaVu Sans). Only an estimate: the browser decides.
struct TextBox {
    double width = 0;      // inner width in pixels
    double height = 0;     // inner height in pixels
    double fontSize = 16;  // pixels
    double lineHeight = 0; // pixels per line
    bool bold = false;
    // Whether a word wider than the box breaks anywhere; otherwise only
    // after a hyphen and where the kiosk's script hyphenates captions.
    bool breaksWords = true;
    int maxLines = 0; // 0: as many as the height holds
};

namespace TextFit {

// Width in pixels of plain text on one line.
double textWidth(const QString& text, double fontSize, bool bold);

// Lines the text takes in a box of that width: tags are removed, <br> and
// <p> start a new line, a few entities are decoded, words wrap at blanks and
// a word wider than the box breaks anywhere. 0 for text without characters.
int estimatedLines(const QString& html, const TextBox& box);

// True when the estimated lines are taller than the box or more than its
// maximum, or when a word cannot be broken to the box's width.
bool mayNotFit(const QString& html, const TextBox& box);

} // namespace TextFit
