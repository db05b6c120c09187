// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What keeps a kiosk system off the kiosk: a missing root page; buttons or
// items that lead to pages that do not exist (the kiosk check's dead ends);
// a page whose three files are not all there or are not what the maker
// makes of its source (a half-copied, damaged or foreign page: the check
// compares them with its dry run byte for byte); a missing or unreadable
// picture source; and a picture, style sheet, script or other file a made
// page names that is missing, or a JPEG of them that does not decode. Other
// findings of the check (faulty lines, texts that may not fit, pages nobody
// reaches, picture copies a make would redo) are the author's to mend and do
// not stop the kiosk.
class GateRecord;
class Session;

namespace KioskGate {

struct Verdict {
    // One line per reason, empty when the kiosk system may be shown.
    QStringList reasons;
    // The configured number of screens.
    int screens = 1;
    // The page sources the check read; the others' judgement was taken over.
    int pagesRead = 0;
};

// Reads the kiosk system as the check does and writes nothing into it. A
// configuration file that cannot be read is a fatal report that ends the
// program. With before, the record of another version's judgement, every
// page source and made page whose inputs are all as they were then keeps
// its judgement unread (the verdict is the same as without); after
// receives this judgement's record.
Verdict judge(Session& session, const QString& kioskFolder, const GateRecord* before = nullptr,
              GateRecord* after = nullptr);

// The root page of a kiosk system folder.
QString rootPage(const QString& kioskFolder);

// The files the made pages (every "*.htm" below the folder) name in their
// src and href attributes, within the folder, that are missing, or are
// JPEG files that do not decode: one reason each. With before and after as
// judge takes them.
QStringList missingFiles(const QString& kioskFolder, const GateRecord* before = nullptr, GateRecord* after = nullptr);

} // namespace KioskGate
