// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

class Session;

// The log of the open kiosk system: "log" + yyyymmddhhmmss + ".txt" in the
// kiosk system folder, UTF-8, one CR LF line per write, kept by the session
// among its numbered files.

// Creates the log file for the current local time in the kiosk system folder
// (ending with the separator) and returns its handle. The file is created
// new, never through a link; when the name exists, "_2", "_3", ... is added
// before ".txt". A failure is reported as "configuration.openLogFile" and ends
// the program.
int openLogFile(Session& session, const QString& folder);

// The file name for a given moment: "log20261206085005.txt".
QString logFileName(const QDateTime& when);

// Writes the text as one line (a text with line breaks becomes several lines)
// to the log opened last (whatever logFileNumber has been set to). Silent when no log is open or
// when anything fails.
void logMessage(Session& session, const QString& text);

// Writes "log file closed" and closes the log, when one is open.
void closeLogFile(Session& session);
