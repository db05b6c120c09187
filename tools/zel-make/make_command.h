// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/session.h"

#include <QStringList>

class StandardErrorMessageBoxes;

// zel-make [--problems] KIOSK_FOLDER [PAGE_SOURCE ...]
// zel-make --check KIOSK_FOLDER [--at=DATETIME]
//
// Opens the kiosk system as the desktop program does but with the configured
// screen (no screen is measured), then makes the named page sources in order,
// or every page as Make All Pages does when none is named. Messages go to
// standard error (text with CR LF as newlines, then an empty line), progress
// lines to standard output; on a terminal also the pictures done so far.
//
// With --check nothing is made and nothing is written into the folder: every
// finding of the kiosk check goes to standard output as
// "PAGE_SOURCE:LINE: KIND: TEXT", then the count line; the exit status is 0
// without findings and 1 with. --at=DATETIME judges the pages' #show lines as
// at that moment (KioskCheck::setMoment).
//
// With --problems the make's problems go to standard output as records
// (Finding::toRecord, the kinds of the check), without progress lines; each
// named page source is first checked as a page being written, and its
// findings of the kinds "may not fit" and "out of date" come before the
// make's problems. Other messages still go to standard error.
namespace MakeCommand {

constexpr int Success = 0;       // nothing was reported
constexpr int MessagesShown = 1; // at least one message was shown
constexpr int Fatal = 2;         // a fatal report, a usage error or a missing file

// What zel-make runs with: messages to standard error, and an end of the
// program (a fatal report) that exits with status Fatal.
SessionServices services(StandardErrorMessageBoxes& messages);

// arguments excludes the program name. Returns the exit status; a fatal
// report ends the process through the session's end service instead. main()
// builds the session from services(messages) before it calls this.
int run(Session& session, const StandardErrorMessageBoxes& messages, const QStringList& arguments);

} // namespace MakeCommand
