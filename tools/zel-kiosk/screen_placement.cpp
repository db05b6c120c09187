// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_placement.h"

#include "util/rounding.h"

#include <algorithm>

QList<QRect> screenPlacement(QList<QRect> realScreens, int configuredScreens)
{
    QList<QRect> placed;
    if (realScreens.isEmpty() || configuredScreens < 1)
        return placed;
    if (realScreens.size() >= configuredScreens) {
        std::stable_sort(realScreens.begin(), realScreens.end(),
                         [](const QRect& a, const QRect& b) { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); });
        return realScreens.mid(0, configuredScreens);
    }
    const QRect shared = realScreens.front();
    const int width = int(util::roundHalfToEven(double(shared.width()) / configuredScreens));
    for (int index = 0; index < configuredScreens; ++index)
        placed.append(QRect(shared.x() + index * width, shared.y(), width, shared.height()));
    return placed;
}
