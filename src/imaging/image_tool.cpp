#include "imaging/image_tool.h"

#include "platform/line_end.h"
#include "platform/session.h"
#include "platform/runtime_error.h"
#include "platform/user_settings.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <optional>
#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <tuple>

namespace Jpeg {

bool IrfanViewAvailable() { return !Session::current().imageTool().program.isEmpty(); }

namespace {

// The file's identity, so that an earlier copy never passes for the tool's output.
std::tuple<ino_t, long long, long long> identity(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {0, 0, 0};
    return {info.st_ino, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

bool startsAsJpeg(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(3) == QByteArray("\xFF\xD8\xFF", 3);
}

QString lastLine(const QByteArray& output)
{
    QString text = QString::fromLocal8Bit(output).trimmed();
    text = text.mid(text.lastIndexOf(u'\n') + 1);
    if (text.startsWith(QStringLiteral("zel-resample: ")))
        text = text.mid(14);
    return text.left(300);
}

} // namespace

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
    const auto after = identity(destinationPath);
    if (process.exitCode() != 0)
        return {
            ToolRun::Failed,
            QStringLiteral("the image tool failed (exit status %1) %2").arg(process.exitCode()).arg(said).trimmed()};
    if (std::get<0>(after) == 0 || after == before)
        return {ToolRun::Failed, QStringLiteral("the image tool wrote no picture")};
    // An outside tool may claim success and leave anything; a page must not link it.
    if (!startsAsJpeg(destinationPath))
        return {ToolRun::Failed, QStringLiteral("the image tool wrote no JPEG picture")};
    return {ToolRun::Resampled, {}};
}

} // namespace Jpeg
