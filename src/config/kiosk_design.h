// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The design every kiosk page is drawn for, in one place. The kiosk's script
// (template/frame_script.js) scales the pages from this screen to the real
// one and keeps the same numbers under the same names (a test holds them
// equal); the root font size drawn for this screen is the style sheet's
// ("html" font-size in template/stylesheet.css), which the script and the
// kiosk check both read from the sheet.
namespace KioskDesign {

// The screen the pages are drawn for; a page shown on another screen is
// scaled by the smaller of the two ratios.
constexpr int screenWidth = 1280;
constexpr int screenHeight = 1024;
// The scaled root font size never falls below this, in pixels.
constexpr int smallestRootFontSize = 11;
// A navigation caption shows this many lines at most, however tall its button.
constexpr int captionLines = 3;
// Touch targets stay between these heights above the floor (mm), where a
// visitor in a wheelchair reaches them, when the screen's size and mounting
// height are configured.
constexpr int lowestReachMm = 380;
constexpr int highestReachMm = 1220;
// The least width and height of a touch target: CSS pixels, and millimetres
// on a screen whose size is configured.
constexpr int smallestTargetPixels = 44;
constexpr int smallestTargetMm = 9;

} // namespace KioskDesign
