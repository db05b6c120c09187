// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/folder_state.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

std::string entryState(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0)
        return "missing";
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", unsigned(info.st_mode & 07777));
    const std::string attributes =
        std::string(mode) + " " + std::to_string(info.st_uid) + ":" + std::to_string(info.st_gid);
    if (S_ISLNK(info.st_mode)) {
        char target[4096];
        const ssize_t size = ::readlink(name.constData(), target, sizeof target);
        return "link to " + std::string(target, size_t(std::max<ssize_t>(size, 0)));
    }
    if (S_ISDIR(info.st_mode))
        return "folder " + attributes;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "unreadable file " + attributes;
    return "file " + attributes + ", " + std::to_string(info.st_size) + " bytes "
           + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex().left(12).toStdString();
}

std::map<std::string, std::string> folderState(const QString& folder)
{
    std::map<std::string, std::string> state;
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        state[QDir(folder).relativeFilePath(path).toStdString()] = entryState(path);
    }
    return state;
}
