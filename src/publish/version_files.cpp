// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "version_files.h"

#include "base/runtime_error.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>

namespace VersionFiles {

bool isTemporary(const QString& fileName)
{
    static const QRegularExpression temporary(
        QStringLiteral("^\\..+\\.[A-Za-z0-9_]{6}$" // rsync
                       "|~$|^\\..*\\.sw[a-p]$|^#.*#$|^\\.#|^\\.goutputstream-|^\\.zel-"));
    return temporary.match(fileName).hasMatch();
}

QString pathProblem(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("an empty path");
    if (path.startsWith(u'/'))
        return QStringLiteral("an absolute path");
    if (path.contains(u'\\'))
        return QStringLiteral("a backslash");
    for (const QChar c : path)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QStringLiteral("a control character");
    for (const QStringView segment : QStringView(path).tokenize(u'/'))
        if (segment.isEmpty() || segment == u"." || segment == u"..")
            return QStringLiteral("an empty, \".\" or \"..\" segment");
    return QString();
}

bool isTopLevelOwn(const QString& fileName)
{
    static const QRegularExpression own(QStringLiteral("^(log\\d{14}(_\\d+)?\\.txt|published\\.txt)$"));
    return own.match(fileName).hasMatch();
}

QStringList list(const QString& folder)
{
    const QDir top(folder);
    QStringList paths;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString path = top.relativeFilePath(it.filePath());
        if (it.fileInfo().isSymLink() || isTopLevelOwn(path))
            continue;
        const QStringList segments = path.split(u'/');
        if (std::any_of(segments.begin(), segments.end(), isTemporary))
            continue;
        if (const QString problem = pathProblem(path); !problem.isEmpty())
            Errors::raise(Errors::PathFileAccess,
                          it.filePath() + QStringLiteral(" cannot be published: its name holds ") + problem);
        paths.append(path);
    }
    paths.sort();
    return paths;
}

} // namespace VersionFiles
