#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& folderOverride()
{
    static QString folder;
    return folder;
}

QString withSeparator(QString folder)
{
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QDir::separator()))
        folder.append(QDir::separator());
    return folder;
}
} // namespace

QString programFolder()
{
    if (!folderOverride().isEmpty())
        return withSeparator(folderOverride());
    return withSeparator(QCoreApplication::applicationDirPath());
}

void setProgramFolderOverride(const QString& folder) { folderOverride() = folder; }
