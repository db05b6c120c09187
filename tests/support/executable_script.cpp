// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/executable_script.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString writeExecutableScript(const QString& path, const QString& body, bool executable)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    file.close();
    QFile::setPermissions(path,
                          QFile::ReadOwner | QFile::WriteOwner | (executable ? QFile::ExeOwner : QFile::ReadOwner));
    return path;
}
