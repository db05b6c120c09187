// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/web_windows.h"

#include "platform/messages.h"
#include "platform/session.h"
#include "platform/web_engine_sandbox.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {

WebWindows*& provided()
{
    static WebWindows* windows = nullptr;
    return windows;
}

// Loads the module (never unloaded); "" when the windows are there, else why not.
QString loadModule(const QString& path)
{
    if (provided())
        return {};
    runWebEngineWithoutSandboxForSuperuser();
    QLibrary module(path);
    if (!module.load())
        return module.errorString();
    if (!provided())
        return QStringLiteral("%1: not the web windows' module").arg(path);
    return {};
}

QString modulePath(const Session& session)
{
    return QDir::toNativeSeparators(session.programFolder() + QString::fromLatin1(WebWindows::kModuleName));
}

} // namespace

void WebWindows::provide(WebWindows& windows) { provided() = &windows; }

WebWindows* WebWindows::loaded() { return provided(); }

WebWindows* WebWindows::loadQuietly(const Session& session)
{
    loadModule(modulePath(session));
    return provided();
}

WebWindows* WebWindows::load(Session& session)
{
    const QString path = modulePath(session);
    const QString failure = loadModule(path);
    if (!failure.isEmpty())
        Messages::showExclamation(
            session,
            QCoreApplication::translate("WebWindows", "The viewer and the preview cannot be shown: their part of the "
                                                      "program (%1) could not be loaded (%2). Installing ZEL again "
                                                      "puts it back.")
                .arg(path, failure));
    return provided();
}
