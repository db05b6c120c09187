// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class KioskSystem;
class ScreenSizeProvider;

// Adds to kiosk the 21 derived pixel items (navigationHeight, then navigation width,
// content width, button width, available width and maximum image width for
// branch, leaf, root and selector pages), writes every item to the log and,
// when a screen is given, checks the configured size against it (a mismatch
// is fatal). Without a screen the checks are skipped, as the headless maker
// needs. Configured values the layout cannot hold (LayoutLimits) are a fatal
// report naming the item first. Arithmetic is 16-bit and raises Overflow,
// except that the product of percentage and screen width is formed in 32 bits.
void deriveLayout(KioskSystem& kiosk, const ScreenSizeProvider* screen);
