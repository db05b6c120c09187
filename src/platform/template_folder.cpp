// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/template_folder.h"

#include "platform/session.h"

#include <QDir>
#include <QFileInfo>

QString templateFolder(const Session& session)
{
    const QString beside = session.programFolder() + QStringLiteral("Template");
    if (QFileInfo(beside).isDir())
        return beside;
    const QString installed = QDir::toNativeSeparators(
        QDir::cleanPath(session.programFolder() + QStringLiteral(ZEL_TEMPLATE_FROM_PROGRAM_FOLDER)));
    return QFileInfo(installed).isDir() ? installed : beside;
}
