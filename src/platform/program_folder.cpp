#include "platform/program_folder.h"

#include "platform/program_session.h"
#include "platform/session.h"

#include <QDir>
#include <QFileInfo>

QString programFolder() { return programSession().programFolder(); }

QString templateFolder()
{
    const QString beside = programFolder() + QStringLiteral("Template");
    if (QFileInfo(beside).isDir())
        return beside;
    const QString installed =
        QDir::toNativeSeparators(QDir::cleanPath(programFolder() + QStringLiteral(ZEL_TEMPLATE_FROM_PROGRAM_FOLDER)));
    return QFileInfo(installed).isDir() ? installed : beside;
}
