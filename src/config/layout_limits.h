// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class KioskSystem;

// What the layout can hold. Every pixel value of the layout and every value
// the page maker and the check later compute from it (a Select button twice
// a navigation row high, a selector row's picture four thirds as wide as it
// is high) is a 16-bit value, so the configured values are held to these
// limits before anything is derived from them:
// - the navigation height, screenheight - navigationheightadjustment, lies
//   between LowestNavigationHeight and HighestNavigationHeight;
// - twice minimumhorizontalspace, and for every page type the button width,
//   the available width and the widest picture, lie within 16 bits.
namespace LayoutLimits {

// Twice the navigation height fits in 16 bits: the Select button's row.
constexpr int HighestNavigationHeight = 16383;
// A selector row's picture cell with the fewest buttons (4), four thirds of
// (2 * height / 4 - 4), fits in 16 bits.
constexpr int LowestNavigationHeight = -16377;

// A value outside its limit is the fatal report of a bad configuration line
// ("Error processing configuration file"), naming the item and the line of
// configuration.txt that set it last (of the items the value comes from);
// without such a line (a default, or the real screen's size) the report
// names the item alone.
void check(const KioskSystem& kiosk);

} // namespace LayoutLimits
