// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

// The colour a kiosk system's pages are drawn on: the background of "body"
// in its stylesheet.css (background-color, else background). The web view
// shows it while a page loads, so that the screen never flashes white
// between pages. White, the engine's own, where the sheet gives none that
// can be read.
QColor pageBackground(const QString& kioskFolder);
