// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal.h"

#include <QString>

// The kiosk's log: one line per event ("2026-05-04T08:00:12Z renderer crashed:
// reloading the root page", the time in UTC, a line break in it turned into a space),
// appended in UTF-8 to kiosk.log in the state folder (never waiting on a
// FIFO there). When the file grows past a megabyte it is renamed kiosk.log.1 (the
// one before is dropped), so months of running fill no disk.
namespace EventLog {

void write(const QString& event);

// An event the operator's tools look for: written to the log and sent to
// systemd's journal too, with its kind as ZEL_EVENT ("started", "shown",
// "refused", "not-taken", "restarted", "gave-up", "opening-hours", "ended"),
// the version (the folder shown or published) as ZEL_VERSION and the reason
// as ZEL_REASON, each left out when empty. Priority as syslog's: 3 error,
// 4 warning, 5 notice, 6 information.
struct Event {
    const char* kind;
    int priority = 6;
    QString version;
    QString reason;
};
void write(const QString& text, const Event& event);
// The journal fields of such an event.
QList<Journal::Field> journalFields(const QString& text, const Event& event);
// The log file's path.
QString path();

} // namespace EventLog
