// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/kiosk_system.h"

#include <QString>
#include <cstdint>

class ProblemSink;
class Session;

// Reading a kiosk system's configuration into its items, and item access by
// name for the readers that are not handed the kiosk system.
namespace configuration {

// Folder check, log file, run-state items, configurable items with their
// defaults, then configuration.txt, all into kiosk (which starts empty). A
// kioskSystemFolder set by the file is kept (ending with the separator), and
// a move to another folder is reported to problems (folderMoveMessage,
// Problem::Kind::KioskFolder). Ends the program when the folder (reported to
// problems first) or its configuration file is missing. Without a log
// (LogFile::None) nothing is written into the folder and logFileNumber is 0.
enum class LogFile { Create, None };
void openConfiguration(KioskSystem& kiosk, const QString& folder, ProblemSink& problems, LogFile log = LogFile::Create);

// Applies every setting line of the file (comments and blank lines skipped).
// A bad line is a fatal report naming it.
void readConfigurationFile(KioskSystem& kiosk, const QString& path);
// Applies one setting line: name, a blank, value.
void add(KioskSystem& kiosk, const QString& line);
// Raises the fatal problem of a bad setting: "Error processing configuration
// file", the description, then the line it occurred in (left out when empty).
[[noreturn]] void raiseBadLine(const QString& description, const QString& line);
// When configuration.txt moved kioskSystemFolder away from the folder the
// kiosk system was opened from: "Kiosk System Folder - OPENED is moved to
// OTHER by configuration.txt"; "" otherwise. openConfiguration reports it
// and writes it to the log.
QString folderMoveMessage(const KioskSystem& kiosk);
// Writes "name = value" for every item to the log, in store order.
void list(const KioskSystem& kiosk);

} // namespace configuration
