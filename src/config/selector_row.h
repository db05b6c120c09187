// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The rows of a selector page's item table, from the layout's navigation
// height and row count: the table starts one navigation row down, each item
// row is two navigation rows high, and its picture cell is 4 pixels lower
// than the row and 4:3 as wide as it is high. 16-bit arithmetic, raising
// Overflow (6) like the rest of the layout.
struct SelectorRow {
    std::int16_t tableTop = 0;
    std::int16_t height = 0;
    std::int16_t pictureHeight = 0;
    std::int16_t pictureWidth = 0;

    // buttons: the navigation rows, at least one.
    static SelectorRow of(std::int16_t navigationHeight, std::int16_t buttons);
};
