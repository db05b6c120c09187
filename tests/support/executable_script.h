// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A stand-in program (an image tool, a helper a test runs): writes "#!/bin/sh",
// then body, to path (making its folder), readable and writable by the owner
// and executable unless told otherwise. Returns path.
QString writeExecutableScript(const QString& path, const QString& body, bool executable = true);
