// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web_engine_sandbox.h"

#include <QByteArray>
#include <unistd.h>

bool runWebEngineWithoutSandboxForSuperuser()
{
    if (::geteuid() != 0 || qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        return false;
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    return true;
}
