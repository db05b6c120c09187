// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/selector_row.h"

#include "base/int16.h"

SelectorRow SelectorRow::of(std::int16_t navigationHeight, std::int16_t buttons)
{
    SelectorRow row;
    row.tableTop = Int16::checked(navigationHeight / buttons);
    row.height = Int16::checked(Int16::multiply(2, navigationHeight) / buttons);
    row.pictureHeight = Int16::subtract(row.height, 4);
    row.pictureWidth = Int16::checked(Int16::multiply(4, row.pictureHeight) / 3);
    return row;
}
