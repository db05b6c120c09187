// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Pointer placement.
namespace Mouse {

// Puts the mouse pointer at (x, y) in the window's client coordinates. Each
// coordinate is rounded to a 32-bit integer (halves to even; outside the
// 32-bit range raises Overflow). The system may keep the pointer on the
// screen, or ignore the request where the windowing system forbids it; the
// outcome is not examined.
void setMousePosition(QWidget* window, float x, float y);

} // namespace Mouse
