// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

// The check the kiosk viewer makes after every completed load: the page must
// be a frameset of exactly two frames named "nav" and "con", the form every
// made page has.
namespace PageCheck {

// A script for the page's main frame. Its result is a map with the keys
// "document" and "frames" (booleans), "count" (number of frames), "nav" and
// "con" (booleans: a frame of that name exists).
QString inspectionScript();

// The reason the page fails, tested in this order and stopping at the first
// failure: "no document" (also when the script gave no map), "no frames",
// count + " frames" when the count is not 2, "no nav frame", "no con frame".
// Empty when the page passes.
QString failureReason(const QVariant& inspection);

} // namespace PageCheck
