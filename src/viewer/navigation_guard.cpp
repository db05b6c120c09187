#include "viewer/navigation_guard.h"

#include "pages/files.h"
#include "runtime/error_handler.h"

#include <QDir>
#include <QUrl>

namespace NavigationGuard {

bool startsWith(const QString& text, const QString& prefix)
{
    return withErrorPath(
        QStringLiteral("frmViewPage"), [&] { return QStringLiteral("startsWith( ") + text + u',' + prefix + u')'; },
        [&] { return text.left(prefix.size()).toLower() == prefix; });
}

QString targetText(const QUrl& url)
{
    if (url.isLocalFile())
        return QDir::toNativeSeparators(url.toLocalFile());
    return url.toString();
}

bool allows(const QString& target)
{
    return startsWith(target, QStringLiteral("javascript:")) || Files::fileExists(target);
}

} // namespace NavigationGuard
