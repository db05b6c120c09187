// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/kiosk_system.h"

#include <QString>
#include <memory>

class ScreenSizeProvider;
class Session;

// Builds the open kiosk system of a folder in the session given: the
// configuration (with its log file), one screen of the real size, edit mode,
// the derived layout and its checks. Warns through a message when the
// configured screen size differs from the real one (in the session's message
// boxes), then uses the real size.
// Any unexpected failure is reported as frmKioskSystem.openKioskSystem(folder)
// and ends the program. The caller keeps what it returns while the kiosk
// system is open.
[[nodiscard]] std::unique_ptr<KioskSystem> openKioskSystemRunState(Session& session, const QString& folder,
                                                                   const ScreenSizeProvider& screen);

// The same for a headless maker: keeps the configured screens, remotescreen,
// screenwidth and screenheight, measures no screen and skips the screen checks.
// withLog false writes nothing into the folder (no log file).
[[nodiscard]] std::unique_ptr<KioskSystem> openKioskSystemHeadless(Session& session, const QString& folder,
                                                                   bool withLog = true);
