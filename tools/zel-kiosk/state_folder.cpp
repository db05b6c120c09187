#include "state_folder.h"

#include <QDir>

namespace StateFolder {

QString path()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    const QString folder = base + QStringLiteral("/zel-kiosk");
    QDir().mkpath(folder);
    return folder;
}

QString file(const QString& name) { return path() + u'/' + name; }

} // namespace StateFolder
