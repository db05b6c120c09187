// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/mouse.h"

#include "base/runtime_error.h"
#include "util/rounding.h"

#include <QCursor>
#include <QPoint>
#include <QWidget>
#include <cstdint>

namespace {

int roundToInt32(float value)
{
    const double rounded = util::roundHalfToEven(double(value));
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        Errors::raise(Errors::Overflow);
    return static_cast<int>(rounded);
}

} // namespace

namespace Mouse {

void setMousePosition(QWidget* window, float x, float y)
{
    const QPoint client(roundToInt32(x), roundToInt32(y));
    QCursor::setPos(window->screen(), window->mapToGlobal(client));
}

} // namespace Mouse
