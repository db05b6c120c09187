// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "version_preparation.h"

#include "fileio/atomic_file.h"
#include "publish/version_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <filesystem>

namespace VersionPreparation {

namespace {

constexpr int kToolTimeoutMs = 10 * 60 * 1000;

// A marker larger than this names no version of a kiosk system.
constexpr qint64 kLargestMarker = 4 * 1024 * 1024;

QStringList cabinets(const QString& folder)
{
    QStringList names =
        QDir(folder).entryList({QStringLiteral("*.cab"), QStringLiteral("*.CAB")}, QDir::Files, QDir::Name);
    names.removeIf([](const QString& name) { return isTemporary(name); });
    return names;
}

QString sha256(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

// Runs a program with an argument list; false with its output as the reason
// when it fails or exits above highestSuccess.
bool run(const QString& program, const QStringList& arguments, QString& reason, int highestSuccess = 0)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        reason = program + QStringLiteral(" could not be started: ") + process.errorString();
        return false;
    }
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        reason = program + QStringLiteral(" did not finish");
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() > highestSuccess) {
        reason = QFileInfo(program).fileName() + QStringLiteral(" failed: ")
                 + QString::fromLocal8Bit(process.readAll()).trimmed();
        return false;
    }
    return true;
}

} // namespace

QString markerName() { return QStringLiteral("published.txt"); }

void writeMarker(const QString& published)
{
    const QDir top(published);
    QStringList names;
    QDirIterator it(published, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = top.relativeFilePath(path);
        if (!isTemporary(it.fileName()) && name != markerName() && !it.fileInfo().isSymLink())
            names.append(name);
    }
    names.sort();
    QString text;
    for (const QString& name : std::as_const(names))
        text += sha256(published + u'/' + name) + QStringLiteral("  ") + name + u'\n';
    fileio::replaceFile(QFile::encodeName(published + u'/' + markerName()).toStdString(), text.toUtf8().toStdString());
}

bool hasMarker(const QString& published) { return QFileInfo(published + u'/' + markerName()).isFile(); }

// One rule for what a published folder and a published origin leave out.
bool isTemporary(const QString& fileName) { return VersionFiles::isTemporary(fileName); }

QString incomplete(const QString& published)
{
    const QString marker = published + u'/' + markerName();
    QFile file(marker);
    if (!QFileInfo(marker).isFile() || QFileInfo(marker).size() > kLargestMarker || !file.open(QIODevice::ReadOnly))
        return QStringLiteral("no ") + markerName() + QStringLiteral(" yet in ") + published;
    static const QRegularExpression line(QStringLiteral("^([0-9a-fA-F]{64}) [ *](?:\\./)?(.+)$"));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& text : lines) {
        const QRegularExpressionMatch match = line.match(text.trimmed());
        if (!match.hasMatch())
            continue;
        const QString name = match.captured(2);
        if (name.split(u'/').contains(QStringLiteral("..")))
            return markerName() + QStringLiteral(" names a file outside ") + published + QStringLiteral(": ") + name;
        if (sha256(published + u'/' + name).compare(match.captured(1), Qt::CaseInsensitive) != 0)
            return published + u'/' + name + QStringLiteral(" is not yet as ") + markerName() + QStringLiteral(" says");
    }
    return QString();
}

Kind kindOf(const QString& published)
{
    if (QFileInfo(published + QStringLiteral("/configuration.txt")).isFile())
        return Kind::Folder;
    if (!cabinets(published).isEmpty())
        return Kind::Cabinets;
    return Kind::Nothing;
}

QString fingerprint(const QString& published)
{
    QStringList entries;
    QDirIterator it(published, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (isTemporary(info.fileName()))
            continue;
        entries.append(QDir(published).relativeFilePath(info.filePath()) + u'|' + QString::number(info.size()) + u'|'
                       + QString::number(info.lastModified().toMSecsSinceEpoch()));
    }
    if (entries.isEmpty())
        return QString();
    entries.sort();
    return QString::fromLatin1(
        QCryptographicHash::hash(entries.join(u'\n').toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString cabinetFolder(const QString& cabinetFileName)
{
    static const QRegularExpression numbered(QStringLiteral("^(.*?)\\d*\\.cab$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = numbered.match(cabinetFileName);
    return match.hasMatch() ? match.captured(1) : QString();
}

bool copyTree(const QString& source, const QString& target, QString& reason, const fileio::FailureHook* faults,
              bool* writeFailed)
{
    const QDir from(source);
    const QString into = QStringLiteral(" into ") + QFileInfo(target).absolutePath() + QStringLiteral(": ");
    const auto failedWriting = [&](const QString& what, const QString& why) {
        reason = what + into + why;
        if (writeFailed)
            *writeFailed = true;
        return false;
    };
    QDirIterator it(source, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isSymLink() || isTemporary(info.fileName())
            || (info.fileName() == markerName() && info.absolutePath() == from.absolutePath()))
            continue;
        const QString to = target + u'/' + from.relativeFilePath(info.filePath());
        std::error_code error;
        std::filesystem::create_directories(QFile::encodeName(info.isDir() ? to : QFileInfo(to).path()).toStdString(),
                                            error);
        if (error)
            return failedWriting(QStringLiteral("could not copy the folder ")
                                     + (info.isDir() ? info.filePath() : info.path()),
                                 QString::fromLocal8Bit(error.message()));
        if (info.isDir())
            continue;
        const std::string from8 = QFile::encodeName(info.filePath()).toStdString();
        try {
            fileio::copyFile(from8, QFile::encodeName(to).toStdString(), faults);
        } catch (const fileio::FileError& error) {
            if (error.path() != from8)
                return failedWriting(QStringLiteral("could not copy ") + info.filePath(),
                                     QString::fromStdString(error.reason()));
            reason = QStringLiteral("could not copy ") + info.filePath() + QStringLiteral(": ")
                     + QString::fromStdString(error.reason());
            return false;
        }
    }
    return true;
}

Result prepare(const QString& published, const QString& base, const QString& target, const QString& programPath,
               const fileio::FailureHook* faults)
{
    Result result;
    result.reason = incomplete(published);
    if (!result.reason.isEmpty()) {
        result.waiting = true;
        return result;
    }
    const QString programFolder = QFileInfo(programPath).absolutePath();
    switch (kindOf(published)) {
    case Kind::Nothing:
        result.reason = QStringLiteral("no kiosk system and no cabinet file in ") + published;
        return result;
    case Kind::Folder:
        if (const QStringList dropped = cabinets(published); !dropped.isEmpty())
            result.note = QStringLiteral("cabinet files beside a whole kiosk system in ") + published
                          + QStringLiteral(" are not used: ") + dropped.join(QStringLiteral(", "));
        if (!copyTree(published, target, result.reason, faults, &result.retry))
            return result;
        break;
    case Kind::Cabinets:
        if (!copyTree(base, target, result.reason, faults, &result.retry))
            return result;
        for (const QString& cabinet : cabinets(published)) {
            const QString folder = cabinetFolder(cabinet);
            if (folder.isEmpty() || folder.startsWith(u'.')) {
                result.reason = cabinet + QStringLiteral(" names no page folder");
                return result;
            }
            QDir().mkpath(target + u'/' + folder);
            if (!run(QStringLiteral("cabextract"),
                     {QStringLiteral("-q"), QStringLiteral("-d"), target + u'/' + folder, published + u'/' + cabinet},
                     result.reason))
                return result;
        }
        // zel-make's 1 tells of messages only; what matters of them the check finds.
        if (!run(programFolder + QStringLiteral("/zel-make"), {target}, result.reason, 1))
            return result;
        break;
    }
    result.ok = true;
    return result;
}

Result gate(const QString& target, const QString& programPath, const QString& shownAs, const QString& since)
{
    Result result;
    QProcess check;
    check.start(programPath, {QStringLiteral("--check"), QStringLiteral("--since"), since, target});
    if (!check.waitForFinished(kToolTimeoutMs) || check.exitStatus() != QProcess::NormalExit) {
        check.kill();
        result.reason = QStringLiteral("the check did not finish");
        return result;
    }
    if (check.exitCode() != 0) {
        // One line for the log: the check's reasons after its first line.
        QStringList lines = QString::fromLocal8Bit(check.readAllStandardError()).trimmed().split(u'\n');
        if (lines.size() > 1)
            lines.removeFirst();
        for (QString& line : lines)
            line = line.trimmed();
        // Named where the operator put them, not in the kiosk's copy.
        result.reason = lines.join(QStringLiteral("; ")).replace(target, shownAs);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace VersionPreparation
