// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>

// Where each configured screen of a kiosk system is shown. With at least as
// many real screens as configured ones, configured screen i fills the i-th
// real screen from the left (top to bottom for screens stacked at the same
// left edge). With fewer, the first real screen is shared as the viewer
// shares its window: side by side, each w = width / screens wide (halves to
// even), the i-th from (i - 1) * w.
QList<QRect> screenPlacement(QList<QRect> realScreens, int configuredScreens);
