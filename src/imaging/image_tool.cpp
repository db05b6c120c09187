// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/image_tool.h"

#include "imaging/jpeg_decode_check.h"
#include "imaging/jpeg_size.h"

#include "base/line_end.h"
#include "base/runtime_error.h"
#include "platform/user_settings.h"

#include "fileio/regular_file.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <csignal>
#include <mutex>
#include <optional>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <tuple>

namespace Jpeg {

namespace {

// The file's identity, so that an earlier copy never passes for the tool's output.
std::tuple<ino_t, long long, long long> identity(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {0, 0, 0};
    return {info.st_ino, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

QString lastLine(const QByteArray& output)
{
    QString text = QString::fromLocal8Bit(output).trimmed();
    text = text.mid(text.lastIndexOf(u'\n') + 1);
    if (text.startsWith(QStringLiteral("zel-resample: ")))
        text = text.mid(14);
    return text.left(300);
}

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The body colour in a style sheet's text; "" when it names none.
QString bodyBackground(const std::string& sheet)
{
    static const QRegularExpression body(
        QStringLiteral(R"((?:^|[};\s])body\s*\{[^}]*?background(?:-color)?\s*:\s*(#[0-9a-fA-F]{6})\b)"));
    const QRegularExpressionMatch match = body.match(QString::fromUtf8(sheet));
    return match.hasMatch() ? match.captured(1) : QString();
}

// The page background of the kiosk system a copy is made for (its style
// sheet's body colour, two folders above "images"), on which the tool lays a
// transparent picture; "" when it cannot be told. A make's copies all look at
// the same style sheet: it is read again only when it is another file or has
// changed since (size, time, inode), not for every picture.
QString pageBackgroundFor(const QString& destinationPath)
{
    const QString sheet = QFileInfo(destinationPath).absolutePath() + QStringLiteral("/../../stylesheet.css");
    const std::string name = QFile::encodeName(sheet).toStdString();
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    using Identity = std::tuple<dev_t, ino_t, off_t, long long, long long>;
    const Identity identity{info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
    struct Known {
        std::string name;
        Identity identity;
        QString background;
    };
    static std::mutex knownMutex;
    static std::optional<Known> known;
    {
        const std::lock_guard lock(knownMutex);
        if (known && known->name == name && known->identity == identity)
            return known->background;
    }
    std::string bytes;
    if (!fileio::readRegularFile(name, 1 << 20, bytes).empty())
        return {};
    const QString background = bodyBackground(bytes);
    const std::lock_guard lock(knownMutex);
    known = Known{name, identity, background};
    return background;
}

// The system's reason at the end of the tool's line ("...: No space left on device").
QString reasonAtEnd(const QString& line)
{
    const qsizetype colon = line.lastIndexOf(QStringLiteral(": "));
    if (colon >= 0)
        return line.mid(colon + 2);
    return line.isEmpty() ? systemReason(ENOSPC) : line;
}

} // namespace

QString toolStartProblem(const QString& program)
{
    if (program.isEmpty())
        return {};
    QString path = program;
    // Started as a shell would start it: a bare name from the folders of PATH.
    if (!program.contains(u'/')) {
        path = QStandardPaths::findExecutable(program);
        if (path.isEmpty())
            return systemReason(ENOENT) + QStringLiteral(" in the folders of PATH");
    }
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return systemReason(errno);
    if (S_ISDIR(info.st_mode))
        return systemReason(EISDIR);
    if (!S_ISREG(info.st_mode))
        return systemReason(EACCES);
    if (::access(name.constData(), X_OK) != 0)
        return systemReason(errno);
    return {};
}

ToolRun resampleImage(const QString& sourcePath, const QString& destinationPath, std::int32_t height,
                      std::int32_t width, const ImageToolChoice& tool)
{
    if (tool.program.isEmpty())
        return {ToolRun::NoTool, {}};
    const auto before = identity(destinationPath);
    const int limit = tool.timeLimitMs;

    QProcess process;
    process.setProgram(tool.program);
    process.setArguments({sourcePath, QStringLiteral("/resample=(%1,%2)").arg(width).arg(height),
                          QStringLiteral("/convert=") + destinationPath});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    if (const QString background = pageBackgroundFor(destinationPath); !background.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ZEL_PICTURE_BACKGROUND"), background);
        process.setProcessEnvironment(environment);
    }
    // A tool outlives a make that is killed; this way it is told to stop
    // (zel-resample then removes its temporary).
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process.start();
    if (!process.waitForStarted(-1))
        return {ToolRun::Failed,
                QStringLiteral("the image tool could not be started (") + process.errorString() + QStringLiteral(")")};
    if (!process.waitForFinished(limit)) {
        // SIGTERM first, so that zel-resample can remove its temporary.
        process.terminate();
        if (!process.waitForFinished(kImageToolStopGraceMs)) {
            process.kill();
            process.waitForFinished(-1);
        }
        return {ToolRun::Failed, QStringLiteral("the image tool did not finish within %1 s").arg(limit / 1000.0)};
    }
    const QString said = lastLine(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit)
        return {ToolRun::Failed, QStringLiteral("the image tool crashed")};
    if (process.exitCode() == kImageToolUnreadablePicture)
        return {ToolRun::PictureUnreadable, said.isEmpty() ? QStringLiteral("unreadable picture") : said};
    // Not a failure of this picture: the make cannot go on writing.
    if (process.exitCode() == kImageToolDiskFull)
        return {ToolRun::DiskFull, reasonAtEnd(said)};
    const auto after = identity(destinationPath);
    if (process.exitCode() != 0)
        return {
            ToolRun::Failed,
            QStringLiteral("the image tool failed (exit status %1) %2").arg(process.exitCode()).arg(said).trimmed()};
    if (std::get<0>(after) == 0 || after == before)
        return {ToolRun::Failed, QStringLiteral("the image tool wrote no picture")};
    // An outside tool may claim success and leave anything; a page must not link it.
    std::int32_t madeHeight = 0;
    std::int32_t madeWidth = 0;
    if (!readSizeQuietly(destinationPath, madeHeight, madeWidth))
        return {ToolRun::Failed, QStringLiteral("the image tool wrote no JPEG picture")};
    if (madeHeight != height || madeWidth != width)
        return {ToolRun::Failed, QStringLiteral("the image tool wrote a picture of %1 x %2 pixels, not %3 x %4")
                                     .arg(madeWidth)
                                     .arg(madeHeight)
                                     .arg(width)
                                     .arg(height)};
    // A copy cut short or damaged has a whole header; the kiosk would show it grey below the damage.
    const QString damage = decodeProblem(destinationPath);
    if (!damage.isEmpty())
        return {ToolRun::Failed,
                QStringLiteral("the image tool wrote a damaged JPEG picture (") + damage + QStringLiteral(")")};
    return {ToolRun::Resampled, {}};
}

} // namespace Jpeg
