// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/folder_export.h"

#include "config/kiosk_system.h"
#include "pages/files.h"
#include "pages/page_sources.h"
#include "base/runtime_error.h"
#include "text/open_text_file.h"
#include "platform/session.h"

#include <QDir>
#include <QProcess>

namespace {

// Names of the files directly in folder, hidden ones left out, that match one
// of the name patterns in any letter case, sorted by name.
QStringList filesMatching(const QString& folder, const QStringList& patterns)
{
    QDir dir(folder);
    dir.setNameFilters(patterns);
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name);
    return dir.entryList();
}

} // namespace

namespace FolderExport {

QString cabinetMakerPath(const Session& session) { return session.programFolder() + QStringLiteral("zel-makecab"); }

QString writeDirectiveFile(const KioskSystem& kiosk, const QString& folderName)
{
    const QString folder = kiosk.folder() + folderName;
    const QString path = folder + QDir::separator() + QStringLiteral("makecab.ddf");
    TextFiles::OutputFile file(path, TextFiles::Encoding::Utf8, kiosk.session().fileFaults());
    const QStringList settings = {
        QStringLiteral(".OPTION EXPLICIT"),
        QStringLiteral(".Set CabinetNameTemplate=") + folderName + QStringLiteral("*.cab"),
        QStringLiteral(".set DiskDirectoryTemplate=") + folder,
        QStringLiteral(".Set CompressionType = MSZIP"),
        QStringLiteral(".Set MaxDiskSize = CDROM"),
        QStringLiteral(".Set SourceDir=") + folder,
        QStringLiteral(".Set Cabinet=on"),
        QStringLiteral(".Set Compress=on"),
    };
    for (const QString& line : settings)
        file.printLine(line);
    // Cameras write ".JPG", phones ".HEIC": the page maker accepts those
    // pictures, so the cabinet must carry them too.
    for (const QString& name : PageSources::fileNamesIn(folder))
        file.printLine(name);
    for (const QString& name : filesMatching(folder, Files::pictureNamePatterns()))
        file.printLine(name);
    file.close();
    return path;
}

int runCabinetMaker(const QString& makerPath, const QString& directivePath)
{
    QProcess maker;
    maker.setProcessChannelMode(QProcess::ForwardedChannels);
    maker.start(makerPath, {QStringLiteral("/f"), directivePath});
    if (!maker.waitForStarted(-1))
        Errors::raise(Errors::PathFileAccess);
    maker.waitForFinished(-1);
    if (maker.exitStatus() != QProcess::NormalExit)
        return -1;
    return maker.exitCode();
}

} // namespace FolderExport
