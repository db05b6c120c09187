// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "maker/page_maker.h"
#include "platform/problem.h"

#include <QString>

// The relative link of a page reference ("prices", "sales\prices",
// "sales/prices") as written into a page of pageFolderPath in the kiosk
// system folder kioskFolder, on the line at of a page source;
// "..\missing.html" for a badly named reference. A well-named reference's
// page source is told to use; a bad name or a missing page source is
// reported to problems, placed at that line. target receives the page
// source a well-named reference leads to, if it exists ("" else).
QString pageRefToURL(const QString& pageReference, const QString& pageFolderPath, const QString& kioskFolder,
                     const PageMaker::UseHandler& use, ProblemSink& problems, const ProblemPlace& at,
                     QString* target = nullptr);
