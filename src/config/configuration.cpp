// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/configuration.h"

#include "platform/problem.h"
#include "pages/files.h"
#include "base/blanks.h"
#include "base/folder_path.h"
#include "base/int16.h"
#include "base/runtime_error.h"
#include "text/open_text_file.h"
#include "platform/session.h"
#include "runtime/error_handler.h"
#include "runtime/log_file.h"
#include "base/line_end.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct ConfigurableDefault {
    const char* name;
    std::int16_t defaultValue;
    std::int16_t minimum;
    std::int16_t maximum;
};

// The configurable parameters in store order, with their defaults and ranges.
constexpr ConfigurableDefault kConfigurable[] = {
    {"mode", 1, 1, 2},
    {"buttons", 8, 4, 32767},
    {"screenwidth", 1280, 100, 32767},
    {"screenheight", 1024, 100, 32767},
    {"screens", 1, 1, 6},
    {"remotescreen", 0, 1, 6},
    {"leafnavigationpercentage", 12, 1, 100},
    {"branchnavigationpercentage", 25, 1, 100},
    {"rootnavigationpercentage", 25, 1, 100},
    {"selectornavigationpercentage", 25, 1, 100},
    {"navigationheightadjustment", 6, -32767, 32767},
    {"navigationwidthadjustment", 4, -32767, 32767},
    {"scrollbarwidth", 20, 0, 32767},
    {"minimumhorizontalspace", 5, 0, 32767},
};

} // namespace

namespace configuration {

void raiseBadLine(const QString& description, const QString& line)
{
    QString message = QStringLiteral("Error processing configuration file") + kCrLf + description;
    if (!line.isEmpty())
        message += kCrLf + QStringLiteral("The error occurred in the following line") + kCrLf + kCrLf + line;
    raiseFatalProblem(message);
}

void readConfigurationFile(KioskSystem& kiosk, const QString& path)
{
    TextFiles::InputFile file(path);
    for (int lineNumber = 1; !file.atEnd(); ++lineNumber) {
        const QString line = file.lineInput();
        if (trimBlanks(line).isEmpty() || line.startsWith(u'\''))
            continue;
        const QString folder = kiosk.folder();
        add(kiosk, line);
        kiosk.setSettingLine(line.left(line.indexOf(u' ')), {lineNumber, line});
        if (kiosk.folder() != folder)
            kiosk.setFolderLine(lineNumber);
    }
}

void add(KioskSystem& kiosk, const QString& line)
{
    QString name;
    try {
        const qsizetype space = line.indexOf(u' ');
        if (space < 0)
            Errors::raise(Errors::InvalidArgument);
        name = line.left(space).toLower();
        const QString value = trimBlanks(line.mid(space + 1));
        ConfigurationItem* item = kiosk.items().find(name);
        if (!item) {
            raiseBadLine(name + QStringLiteral(" is not configurable"), line);
        }
        if (auto* integer = dynamic_cast<IntegerConfigurationItem*>(item))
            integer->setValue(Int16::fromText(value));
        else if (auto* text = dynamic_cast<StringConfigurationItem*>(item))
            text->setValue(value);
        else
            raiseFatalProblem(QStringLiteral("Unexpected case ") + item->className()
                              + QStringLiteral(" in configuration.add"));
    } catch (const RuntimeError& error) {
        raiseBadLine(error.description(), line);
    }
}

void list(const KioskSystem& kiosk)
{
    inProcedure(QStringLiteral("configuration"), QStringLiteral("list"), [&] {
        for (const auto& item : kiosk.items().items())
            logMessage(kiosk.session(), item->name() + QStringLiteral(" = ") + item->valueText());
    });
}

QString folderMoveMessage(const KioskSystem& kiosk)
{
    const QString opened = kiosk.openedFolder();
    const QString folder = kiosk.folder();
    if (folder == opened || QDir::cleanPath(folder) == QDir::cleanPath(opened))
        return QString();
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (!canonical.isEmpty() && canonical == QFileInfo(opened).canonicalFilePath())
        return QString();
    return QStringLiteral("Kiosk System Folder - ") + opened + QStringLiteral(" is moved to ") + folder
           + QStringLiteral(" by configuration.txt");
}

void openConfiguration(KioskSystem& kiosk, const QString& folderAsGiven, ProblemSink& problems, LogFile log)
{
    const QString folder = withTrailingSeparator(trimBlanks(folderAsGiven));
    if (!Files::folderExists(folder)) {
        problems.report(Problem{.kind = Problem::Kind::KioskFolder,
                                .place = {},
                                .message = QStringLiteral("Fatal Error - Kiosk System Folder - ") + folder
                                           + QStringLiteral(" does NOT exist") + kCrLf
                                           + QStringLiteral("Program will stop")});
        kiosk.session().endProgram();
    }
    kiosk.addString(QStringLiteral("kioskSystemFolder"), folder);
    kiosk.setOpenedFolder(folder);
    const int logHandle = log == LogFile::Create ? openLogFile(kiosk.session(), folder) : 0;
    kiosk.addInteger(QStringLiteral("logFileNumber"), Int16::checked(logHandle), -32767, 32767);
    kiosk.addString(QStringLiteral("rootFilePath"),
                    folder + QStringLiteral("root") + QDir::separator() + QStringLiteral("root.htm"));
    for (const auto& item : kConfigurable)
        kiosk.addInteger(QString::fromLatin1(item.name), item.defaultValue, item.minimum, item.maximum);
    // The language the pages are written in ("en", "de-CH"), for screen readers
    // and speech; none given leaves the pages without one.
    kiosk.addString(QStringLiteral("language"), QString());
    // The screen's height on the wall (of the visible picture) and the height
    // of its lower edge above the floor, in mm; 0: not given. With both, the
    // touch targets are kept within a wheelchair user's reach.
    kiosk.addInteger(QStringLiteral("screenheightmm"), 0, 0, 32767);
    kiosk.addInteger(QStringLiteral("mountingheightmm"), 0, 0, 32767);
    const QString configurationPath = folder + QStringLiteral("configuration.txt");
    const std::string problem = fileio::regularFileProblem(configurationPath.toStdString());
    if (!problem.empty()) {
        const bool missing = !QFileInfo::exists(configurationPath) && !QFileInfo(configurationPath).isSymLink();
        raiseFatalProblem(
            QStringLiteral("Configuration File - ") + configurationPath
            + (missing ? QStringLiteral(" does NOT exist") : QStringLiteral(" ") + QString::fromStdString(problem))
            + kCrLf + QStringLiteral("Program will stop"));
    }
    readConfigurationFile(kiosk, configurationPath);
    // Stored kiosk systems may set the folder; paths are built on it, so it
    // ends with the separator too, and a move is never silent.
    if (!kiosk.folder().isEmpty())
        kiosk.stringItem(QStringLiteral("kioskSystemFolder")).setValue(withTrailingSeparator(kiosk.folder()));
    const QString moved = folderMoveMessage(kiosk);
    if (!moved.isEmpty()) {
        logMessage(kiosk.session(), moved);
        problems.report(Problem{.kind = Problem::Kind::KioskFolder,
                                .place = {configurationPath, kiosk.folderLine(), {}},
                                .message = moved});
    }
}

} // namespace configuration
