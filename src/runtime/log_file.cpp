// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/log_file.h"

#include "platform/session.h"
#include "text/text_files.h"
#include "runtime/error_handler.h"

#include <cerrno>

namespace {

// The handle of the session's open log, or 0 when there is none.
int openLogHandle(Session& session)
{
    // Kept by the session rather than read back from logFileNumber, which
    // configuration.txt may change.
    const int handle = session.logHandle();
    return handle != 0 && session.textFiles().isOpen(handle) ? handle : 0;
}

} // namespace

QString logFileName(const QDateTime& when)
{
    return QStringLiteral("log") + when.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral(".txt");
}

int openLogFile(Session& session, const QString& folder)
{
    return inProcedure(QStringLiteral("configuration"), QStringLiteral("openLogFile"), [&] {
        TextFiles::Table& files = session.textFiles();
        const int handle = files.freeFile();
        fileio::removeDeadTemporaries(folder.toStdString());
        const QString name = logFileName(QDateTime::currentDateTime());
        // Two opens in one second must not share a log: the later one gets a suffix.
        for (int suffix = 1;; ++suffix) {
            const QString candidate =
                suffix == 1 ? name : QString(name).insert(name.size() - 4, QStringLiteral("_%1").arg(suffix));
            if (files.openNewForOutput(handle, folder + candidate, TextFiles::Encoding::Utf8))
                break;
            if (suffix >= 1000)
                Errors::raiseFileError(fileio::FileError(EEXIST, (folder + name).toStdString()));
        }
        session.setLogHandle(handle);
        return handle;
    });
}

void logMessage(Session& session, const QString& text)
{
    try {
        const int handle = openLogHandle(session);
        if (handle == 0)
            return;
        QString lines = text;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        session.textFiles().printLine(handle, lines);
        session.textFiles().flush(handle);
    } catch (...) {
        // Logging never disturbs the work it records.
    }
}

void closeLogFile(Session& session)
{
    const int handle = openLogHandle(session);
    if (handle == 0)
        return;
    logMessage(session, QStringLiteral("log file closed"));
    session.textFiles().close(handle);
}
