// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

class KioskSystem;

// The sizes a page type is laid out with, from the kiosk system's
// configuration: the navigation bar's height and row count, a button's
// width, the widest picture and the width the content may fill.
struct PageLayout {
    std::int16_t navigationHeight = 0;
    std::int16_t buttons = 0;
    std::int16_t buttonWidth = 0;
    std::int16_t maximumImageWidth = 0;
    std::int16_t contentAvailableWidth = 0;

    // pageType: "root", "branch", "leaf" or "selector", the prefix of its items.
    static PageLayout of(const KioskSystem& kiosk, const QString& pageType);
};
