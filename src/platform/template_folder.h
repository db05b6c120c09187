// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Session;

// The Template folder copied into every new kiosk system (no final separator):
// "Template" in the session's program folder when it is there (a build),
// otherwise the installed one in the data folder
// (programFolder/../../share/zel/Template for /usr/lib/zel). When neither
// exists, the one beside the program, so that the failure names the usual place.
QString templateFolder(const Session& session);
