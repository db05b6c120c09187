// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "maker/page_layout.h"

#include "config/kiosk_system.h"

PageLayout PageLayout::of(const KioskSystem& kiosk, const QString& pageType)
{
    // Read in the order of the fields (a braced list is evaluated in order).
    return PageLayout{
        .navigationHeight = kiosk.integerValue(QStringLiteral("navigationHeight")),
        .buttons = kiosk.integerValue(QStringLiteral("buttons")),
        .buttonWidth = kiosk.integerValue(pageType + QStringLiteral("ButtonWidth")),
        .maximumImageWidth = kiosk.integerValue(pageType + QStringLiteral("MaximumImageWidth")),
        .contentAvailableWidth = kiosk.integerValue(pageType + QStringLiteral("ContentAvailableWidth")),
    };
}
