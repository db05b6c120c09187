#include "app/core/log_file.h"

#include "app/core/error_handler.h"
#include "config/configuration.h"
#include "platform/text_files.h"

namespace {

// The handle of the open log, or 0 when there is none.
int openLogHandle()
{
    if (!configuration::hasConfiguration())
        return 0;
    auto* item = dynamic_cast<clsIntegerConfigurationItem*>(
        configuration::configurationItems().find(QStringLiteral("logFileNumber")));
    if (!item || !TextFiles::isOpen(item->value()))
        return 0;
    return item->value();
}

} // namespace

QString logFileName(const QDateTime& when)
{
    return QStringLiteral("log") + when.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral(".txt");
}

int openLogFile()
{
    return withErrorPath(QStringLiteral("configuration"), QStringLiteral("openLogFile"), [] {
        const int handle = TextFiles::freeFile();
        const QString path = configuration::kioskSystemFolder() + logFileName(QDateTime::currentDateTime());
        TextFiles::openForOutput(handle, path, TextFiles::Encoding::Utf8);
        return handle;
    });
}

void logMessage(const QString& text)
{
    try {
        const int handle = openLogHandle();
        if (handle == 0)
            return;
        QString lines = text;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        TextFiles::printLine(handle, lines);
        TextFiles::flush(handle);
    } catch (...) {
        // Logging never disturbs the work it records.
    }
}

void closeLogFile()
{
    const int handle = openLogHandle();
    if (handle == 0)
        return;
    logMessage(QStringLiteral("log file closed"));
    TextFiles::close(handle);
}
