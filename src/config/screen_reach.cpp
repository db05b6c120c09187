// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/screen_reach.h"

#include "config/kiosk_design.h"
#include "config/kiosk_system.h"

#include <algorithm>

ScreenReach ScreenReach::of(const KioskSystem& kiosk)
{
    return ScreenReach{kiosk.integerValue(QStringLiteral("screenheightmm")),
                       kiosk.integerValue(QStringLiteral("mountingheightmm"))};
}

double ScreenReach::pixelsFromTop(double millimetresAboveFloor, int pixels) const
{
    if (screenHeightMm <= 0)
        return 0;
    return pixels * (1.0 - (millimetresAboveFloor - bottomMm) / screenHeightMm);
}

double ScreenReach::bandTop(int pixels) const
{
    return std::clamp(pixelsFromTop(KioskDesign::highestReachMm, pixels), 0.0, double(pixels));
}

double ScreenReach::bandBottom(int pixels) const
{
    return std::clamp(pixelsFromTop(KioskDesign::lowestReachMm, pixels), 0.0, double(pixels));
}

QString ScreenReach::attribute() const { return QString::number(screenHeightMm) + u' ' + QString::number(bottomMm); }
