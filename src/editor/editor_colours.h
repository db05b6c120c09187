// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The colours the editor draws besides the palette's own (directives,
// comments, problem marks), chosen for the background they are drawn on so
// that each stays readable in light and dark themes: a contrast of at least
// kMinimumContrast against it.
namespace EditorColours {

inline constexpr double kMinimumContrast = 4.5;

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white),
// by their relative luminance.
double contrast(const QColor& a, const QColor& b);
// wanted, or the nearest colour towards black (on a light background) or
// white (on a dark one) that has the minimum contrast against background.
QColor readableOn(const QColor& wanted, const QColor& background);

QColor directive(const QColor& background);
QColor comment(const QColor& background);
QColor problem(const QColor& background);
// A line number: the palette's colour for it as drawn over background (it
// may be half transparent, and a dark theme may leave the light one's), made
// readable there.
QColor lineNumber(const QColor& wanted, const QColor& background);

} // namespace EditorColours
