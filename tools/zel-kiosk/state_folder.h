// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The kiosk's own folder for what it writes while it runs (log, heartbeat,
// page views, prepared versions): $XDG_STATE_HOME/zel-kiosk, by default
// ~/.local/state/zel-kiosk. Nothing is ever written into the kiosk system.
namespace StateFolder {

// The folder, without a final separator; created when missing.
QString path();
// A file of the folder.
QString file(const QString& name);

// One kiosk per state folder: takes the lock on kiosk.lock in the folder
// (flock, held until the process ends) and writes the process number into
// it. Returns false when another process holds it, with holder set to that
// process's number ("0" when unknown), or when the lock file cannot be
// opened, with holder set to "" and reason to the system's reason.
bool lock(QString& holder, QString& reason);

} // namespace StateFolder
