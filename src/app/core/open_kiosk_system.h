#pragma once

#include <QString>

class ScreenSizeProvider;

// Builds the run state of a kiosk system folder: the configuration (with its
// log file), one screen of the real size, edit mode, the derived layout and
// its checks. Warns through a message when the configured screen size differs
// from the real one, then uses the real size. Any unexpected failure is
// reported as frmKioskSystem.openKioskSystem(folder) and ends the program.
void openKioskSystemRunState(const QString& folder, const ScreenSizeProvider& screen);

// The same for a headless maker: keeps the configured screens, remotescreen,
// screenwidth and screenheight, measures no screen and skips the screen checks.
// withLog false writes nothing into the folder (no log file).
void openKioskSystemHeadless(const QString& folder, bool withLog = true);
