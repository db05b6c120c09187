// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gate_inputs.h"

#include "pages/page_sources.h"
#include "publish/version_files.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {

QString hashOf(const QStringList& lines)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(lines.join(u'\n').toUtf8(), QCryptographicHash::Sha256).toHex());
}

} // namespace

QString GateInputs::contentOf(const QString& path)
{
    struct stat info;
    if (::stat(QFile::encodeName(m_top + u'/' + path).constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? QStringLiteral("-") : QStringLiteral("other");
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("folder");
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("other");
    // Not the change time: linking the file into another version changes it.
    const QString stamp = QStringLiteral("%1:%2:%3:%4.%5")
                              .arg(info.st_dev)
                              .arg(info.st_ino)
                              .arg(info.st_size)
                              .arg(info.st_mtim.tv_sec)
                              .arg(info.st_mtim.tv_nsec);
    if (const auto known = m_known.constFind(path); known != m_known.cend() && known->stamp == stamp) {
        m_files.insert(path, *known);
        return known->value;
    }
    QFile file(m_top + u'/' + path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QStringLiteral("other");
    const QString value = QString::fromLatin1(hash.result().toHex());
    m_files.insert(path, {stamp, value});
    return value;
}

GateInputs::GateInputs(const QString& top) : m_top(QDir::cleanPath(QFileInfo(top).absoluteFilePath())) {}

QString GateInputs::relative(const QString& absolute) const
{
    const QString path = QDir::cleanPath(QFileInfo(absolute).absoluteFilePath());
    if (path == m_top)
        return QStringLiteral(".");
    return path.startsWith(m_top + u'/') ? path.mid(m_top.size() + 1) : QString();
}

QString GateInputs::value(const QString& key)
{
    const auto known = m_values.constFind(key);
    if (known != m_values.cend())
        return *known;
    const QString computed = compute(key);
    m_values.insert(key, computed);
    return computed;
}

bool GateInputs::unchanged(const QHash<QString, QString>& inputs)
{
    for (auto input = inputs.cbegin(); input != inputs.cend(); ++input)
        if (value(input.key()) != input.value())
            return false;
    return true;
}

QString GateInputs::compute(const QString& key)
{
    const qsizetype colon = key.indexOf(u':');
    const QString kind = key.left(colon + 1), path = key.mid(colon + 1);
    // No name leads out of the folder.
    if (colon < 0 || path.startsWith(u'/') || path.split(u'/').contains(QStringLiteral("..")))
        return QString();
    const QString absolute = QDir::cleanPath(m_top + u'/' + path);
    if (kind == QLatin1String("file:"))
        return contentOf(QDir::cleanPath(path));
    if (kind == QLatin1String("sources:"))
        return hashOf(PageSources::fileNamesIn(absolute));
    if (kind == QLatin1String("names:"))
        return hashOf(QDir(absolute).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                               QDir::Name));
    if (kind == QLatin1String("folders:")) {
        QStringList folders;
        QDirIterator it(m_top, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            folders.append(relative(it.next()));
        folders.sort();
        return hashOf(folders);
    }
    return QString();
}

QString GateInputs::global(const QString& imageTool)
{
    QStringList lines;
    for (const QString& path : {QCoreApplication::applicationFilePath(), imageTool}) {
        const QFileInfo program(path);
        lines.append(path + u' ' + QString::number(program.size()) + u' '
                     + QString::number(program.lastModified().toMSecsSinceEpoch()));
    }
    const QDir top(m_top);
    for (const QFileInfo& entry :
         top.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        if (VersionFiles::isTemporary(entry.fileName()) || VersionFiles::isTopLevelOwn(entry.fileName()))
            continue;
        lines.append(entry.fileName() + u' '
                     + (entry.isDir() ? QStringLiteral("folder") : value(file(entry.fileName()))));
    }
    return hashOf(lines);
}
