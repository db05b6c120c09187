// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/navigation_guard.h"

#include "pages/files.h"
#include "runtime/error_handler.h"
#include "viewer/viewer_window.h"

#include <QDir>
#include <QUrl>

namespace NavigationGuard {

bool startsWith(Session& session, const QString& text, const QString& prefix)
{
    return runCommand(
        session, ViewerWindow::moduleName(),
        [&] { return QStringLiteral("startsWith( ") + text + u',' + prefix + u')'; },
        [&] { return text.left(prefix.size()).toLower() == prefix; });
}

QString targetText(const QUrl& url)
{
    if (url.isLocalFile())
        return QDir::toNativeSeparators(url.toLocalFile());
    return url.toString();
}

bool allows(Session& session, const QString& target)
{
    return startsWith(session, target, QStringLiteral("javascript:")) || Files::fileExists(target);
}

} // namespace NavigationGuard
