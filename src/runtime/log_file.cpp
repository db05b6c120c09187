#include "runtime/log_file.h"

#include "platform/text_files.h"
#include "runtime/error_handler.h"
#include "platform/session.h"

#include <cerrno>

namespace {

// The handle of the open log, or 0 when there is none.
int openLogHandle()
{
    // Kept by the session rather than read back from logFileNumber, which
    // configuration.txt may change.
    const int handle = Session::current().logHandle();
    return handle != 0 && TextFiles::isOpen(handle) ? handle : 0;
}

} // namespace

QString logFileName(const QDateTime& when)
{
    return QStringLiteral("log") + when.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral(".txt");
}

int openLogFile(const QString& folder)
{
    return withErrorPath(QStringLiteral("configuration"), QStringLiteral("openLogFile"), [&] {
        const int handle = TextFiles::freeFile();
        fileio::removeDeadTemporaries(folder.toStdString());
        const QString name = logFileName(QDateTime::currentDateTime());
        // Two opens in one second must not share a log: the later one gets a suffix.
        for (int suffix = 1;; ++suffix) {
            const QString candidate =
                suffix == 1 ? name : QString(name).insert(name.size() - 4, QStringLiteral("_%1").arg(suffix));
            if (TextFiles::openNewForOutput(handle, folder + candidate, TextFiles::Encoding::Utf8))
                break;
            if (suffix >= 1000)
                Errors::raiseFileError(fileio::FileError(EEXIST, (folder + name).toStdString()));
        }
        Session::current().setLogHandle(handle);
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
