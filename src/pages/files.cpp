// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/files.h"

#include "base/runtime_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <sys/stat.h>

namespace {

const QChar kSeparator = QDir::separator();

QString join(const QString& folder, const QString& name)
{
    return folder.endsWith(kSeparator) ? folder + name : folder + kSeparator + name;
}

void requireFolder(const QString& path)
{
    if (!Files::folderExists(path))
        Errors::raise(Errors::PathNotFound);
}

} // namespace

namespace Files {

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

bool folderExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

void createFolder(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        Errors::raise(Errors::FileAlreadyExists);
    if (!info.absoluteDir().exists())
        Errors::raise(Errors::PathNotFound);
    if (!QDir().mkdir(path))
        Errors::raise(Errors::PathFileAccess);
}

void copyFile(const QString& source, const QString& destination, const fileio::FailureHook* faults)
{
    if (!fileExists(source))
        Errors::raise(Errors::FileNotFound);
    const QFileInfo target(destination);
    if (!target.absoluteDir().exists())
        Errors::raise(Errors::PathNotFound);
    if (target.exists() && target.canonicalFilePath() == QFileInfo(source).canonicalFilePath())
        return;
    if (!fileio::regularFileProblem(source.toStdString()).empty())
        Errors::raiseAccessError(source, QStringLiteral("is not a regular file"));
    // The old destination stays until the whole copy is in place.
    Errors::translatingFileErrors([&] { fileio::copyFile(source.toStdString(), destination.toStdString(), faults); });
}

void ensureFolder(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0777) == 0)
        return;
    const int error = errno;
    if (folderExists(path))
        return;
    Errors::raiseFileError(fileio::FileError(error == EEXIST ? ENOTDIR : error, path.toStdString()));
}

void copyFolderContents(const QString& source, const QString& destination, const fileio::FailureHook* faults)
{
    requireFolder(source);
    requireFolder(destination);
    const QDir dir(source);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        copyFile(join(source, name), join(destination, name), faults);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        const QString target = join(destination, name);
        if (!folderExists(target))
            createFolder(target);
        copyFolderContents(join(source, name), target, faults);
    }
}

QString fileNameOf(const QString& path)
{
    if (!fileExists(path))
        Errors::raise(Errors::FileNotFound);
    return QFileInfo(path).fileName();
}

QString fileExtension(const QString& path)
{
    const QString name = fileNameOf(path);
    return name.mid(name.lastIndexOf(u'.') + 1);
}

const QStringList& pictureExtensions()
{
    static const QStringList extensions = {QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("png"),
                                           QStringLiteral("webp"), QStringLiteral("heic"), QStringLiteral("heif"),
                                           QStringLiteral("avif"), QStringLiteral("gif"),  QStringLiteral("tif"),
                                           QStringLiteral("tiff"), QStringLiteral("bmp")};
    return extensions;
}

QStringList pictureNamePatterns()
{
    QStringList patterns;
    for (const QString& extension : pictureExtensions())
        patterns.append(QStringLiteral("*.") + extension);
    return patterns;
}

bool hasPictureExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(fileName).mid(dot + 1);
    for (const QString& jpeg : pictureExtensions())
        if (extension.compare(jpeg, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString parentFolderOf(const QString& path)
{
    const qsizetype last = path.lastIndexOf(kSeparator);
    if (last < 0)
        return QString();
    if (last == 0)
        return QString(kSeparator);
    return path.left(last);
}

QString lastFolderName(const QString& path)
{
    const qsizetype last = path.lastIndexOf(kSeparator);
    if (last < 0)
        Errors::raise(Errors::InvalidArgument);
    const qsizetype before = last > 0 ? path.lastIndexOf(kSeparator, last - 1) : -1;
    return path.mid(before + 1, last - before - 1);
}

bool fitsFileSystem(const QString& path)
{
    // The longest temporary: ".zel-journal-<pid>-XXXXXX", ".zel-copy-<pid>-<n>.jpg".
    constexpr qsizetype temporaryName = 40;
    const QByteArray encoded = QFile::encodeName(QDir::toNativeSeparators(path));
    const qsizetype name = encoded.size() - (encoded.lastIndexOf('/') + 1);
    const qsizetype folder = encoded.size() - name;
    return name <= NAME_MAX && folder + std::max(name, temporaryName) < PATH_MAX;
}

void sortByName(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
}

} // namespace Files
