// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class KioskSystem;

// Where on the kiosk's screen a visitor in a wheelchair reaches, from the
// screen's height in millimetres (of the visible picture, screenheightmm) and
// the height of its lower edge above the floor (mountingheightmm), both 0 when
// not given. The kiosk's script lays the touch targets out by the same rule
// and the same numbers (KioskDesign's reach); the check judges what is left.
struct ScreenReach {
    int screenHeightMm = 0;
    int bottomMm = 0;

    static ScreenReach of(const KioskSystem& kiosk);

    // The screen's size on the wall is known: targets can be judged in mm.
    bool sizeKnown() const { return screenHeightMm > 0; }
    // Both items given: the made pages carry them and the script keeps the
    // targets within reach.
    bool known() const { return screenHeightMm > 0 && bottomMm > 0; }
    // Millimetres a pixel of a screen `pixels` high stands for.
    double millimetresPerPixel(int pixels) const { return pixels > 0 ? double(screenHeightMm) / pixels : 0; }
    // The place from the screen's top, in pixels of a screen `pixels` high,
    // of a height above the floor; outside 0 to pixels when off the screen.
    double pixelsFromTop(double millimetresAboveFloor, int pixels) const;
    // The reachable band's top and bottom in pixels from the screen's top,
    // within the screen; top >= bottom when none of the screen is in reach.
    double bandTop(int pixels) const;
    double bandBottom(int pixels) const;
    // The made pages' meta element content: "SCREEN BOTTOM" in mm.
    QString attribute() const;
};
