// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "maker/output_folders.h"

#include "fileio/atomic_file.h"
#include "pages/files.h"

#include <QFile>
#include <sys/stat.h>

const QString& OutputFolders::prepared(const QString& folder)
{
    if (!m_prepared.contains(folder)) {
        Files::ensureFolder(folder);
        fileio::removeDeadTemporaries(folder.toStdString());
        m_prepared.append(folder);
    }
    return folder;
}

bool OutputFolders::preparedUnlessLink(const QString& folder, bool& firstRefusal)
{
    firstRefusal = false;
    if (m_prepared.contains(folder))
        return true;
    struct stat info {};
    if (::lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISLNK(info.st_mode)) {
        firstRefusal = !m_refused.contains(folder);
        if (firstRefusal)
            m_refused.append(folder);
        return false;
    }
    prepared(folder);
    return true;
}
