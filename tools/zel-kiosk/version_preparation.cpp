#include "version_preparation.h"

#include "fileio/atomic_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace VersionPreparation {

namespace {

constexpr int kToolTimeoutMs = 10 * 60 * 1000;

QStringList cabinets(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.cab"), QStringLiteral("*.CAB")}, QDir::Files, QDir::Name);
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

bool copyTree(const QString& source, const QString& target, QString& reason)
{
    const QDir from(source);
    QDirIterator it(source, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isSymLink() || info.fileName().startsWith(QLatin1String(".zel-")))
            continue;
        const QString to = target + u'/' + from.relativeFilePath(info.filePath());
        if (info.isDir()) {
            if (!QDir().mkpath(to)) {
                reason = QStringLiteral("could not create ") + to;
                return false;
            }
            continue;
        }
        try {
            QDir().mkpath(QFileInfo(to).path());
            fileio::copyFile(QFile::encodeName(info.filePath()).toStdString(), QFile::encodeName(to).toStdString());
        } catch (const fileio::FileError& error) {
            reason = QStringLiteral("could not copy ") + info.filePath() + QStringLiteral(": ")
                     + QString::fromStdString(error.reason());
            return false;
        }
    }
    return true;
}

Result prepare(const QString& published, const QString& base, const QString& target, const QString& programPath)
{
    Result result;
    const QString programFolder = QFileInfo(programPath).absolutePath();
    switch (kindOf(published)) {
    case Kind::Nothing:
        result.reason = QStringLiteral("no kiosk system and no cabinet file in ") + published;
        return result;
    case Kind::Folder:
        if (!copyTree(published, target, result.reason))
            return result;
        break;
    case Kind::Cabinets:
        if (!copyTree(base, target, result.reason))
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
    QProcess check;
    check.start(programPath, {QStringLiteral("--check"), target});
    if (!check.waitForFinished(kToolTimeoutMs) || check.exitStatus() != QProcess::NormalExit) {
        check.kill();
        result.reason = QStringLiteral("the check did not finish");
        return result;
    }
    if (check.exitCode() != 0) {
        result.reason = QString::fromLocal8Bit(check.readAllStandardError()).trimmed();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace VersionPreparation
