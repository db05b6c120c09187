// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The kiosk's log: one line per event ("2026-05-04 08:00:12 renderer crashed:
// reloading the root page", a line break in it turned into a space),
// appended in UTF-8 to kiosk.log in the state folder (never waiting on a
// FIFO there). When the file grows past a megabyte it is renamed kiosk.log.1 (the
// one before is dropped), so months of running fill no disk.
namespace EventLog {

void write(const QString& event);
// The log file's path.
QString path();

} // namespace EventLog
