#include "imaging/image_tool.h"

#include "platform/messages.h"
#include "platform/program_folder.h"
#include "platform/runtime_error.h"
#include "platform/user_settings.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <optional>

namespace Jpeg {

namespace {

const QString ProgramKey = QStringLiteral("ImageTool/program");
const QString BundledToolName = QStringLiteral("zel-resample");

// The program of the one lookup per run; an empty string once it found no tool.
std::optional<QString>& imageToolLookup()
{
    static std::optional<QString> program;
    return program;
}

QString configuredOrBundledProgram()
{
    const auto settings = openUserSettings();
    if (settings->contains(ProgramKey)) {
        const QVariant value = settings->value(ProgramKey);
        // A value with a comma reads back as a list: not a program path.
        if (value.typeId() != QMetaType::QString)
            Errors::raise(Errors::TypeMismatch);
        return value.toString();
    }
    return programFolder() + BundledToolName;
}

QString lookUpImageTool()
{
    try {
        const QString program = configuredOrBundledProgram();
        if (program.isEmpty() || !QFileInfo(program).isFile())
            return {};
        return program;
    } catch (const RuntimeError& error) {
        Messages::show(QStringLiteral("JPEG.IrfanViewAvailable - Error ") + QString::number(error.number())
                       + QStringLiteral("\r\n") + error.description());
        return {};
    }
}

} // namespace

bool IrfanViewAvailable()
{
    if (!imageToolLookup())
        imageToolLookup() = lookUpImageTool();
    return !imageToolLookup()->isEmpty();
}

QString imageToolProgram() { return imageToolLookup().value_or(QString()); }

void resetImageToolLookupForTesting() { imageToolLookup().reset(); }

bool resampleImage(const QString& sourcePath, const QString& destinationPath, std::int32_t height,
                   std::int32_t width)
{
    if (!IrfanViewAvailable())
        return false;
    // A copy left by an earlier make must not pass for the tool's output.
    if (QFileInfo::exists(destinationPath))
        QFile::remove(destinationPath);

    QProcess process;
    process.setProgram(imageToolProgram());
    process.setArguments({sourcePath,
                          QStringLiteral("/resample=(%1,%2)").arg(width).arg(height),
                          QStringLiteral("/convert=") + destinationPath});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start();
    if (!process.waitForStarted(-1))
        return false;
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
        && QFileInfo(destinationPath).isFile();
}

} // namespace Jpeg
