#include "runtime/error_handler.h"

#include "platform/messages.h"
#include "platform/session.h"
#include "platform/text_files.h"
#include "runtime/log_file.h"

bool fatalReportInProgress() { return Session::current().fatalReportInProgress(); }

void reportRuntimeError(const QString& module, const QString& label, const RuntimeError& error)
{
    reportFatalProblem(QStringLiteral("Runtime error %1 in %2.%3").arg(error.number()).arg(module, label)
                       + QStringLiteral("\r\n") + error.description());
}

void reportFatalProblem(const QString& message)
{
    Session& session = Session::current();
    if (session.fatalReportInProgress())
        session.endProgram();
    session.beginFatalReport();
    try {
        // What work held back comes before the report, as it would have without the failure.
        session.tellWatchers();
        Messages::showExclamation(QStringLiteral("The System has encountered a problem\r\n") + message);
        logMessage(message);
        // Work completed before the failure (the pages made before the one
        // that failed) is kept; the rest is dropped by closeAll.
        session.commitCompleteStaged();
        session.closeAllWindows();
        closeLogFile();
        TextFiles::closeAll();
    } catch (const std::exception&) {
        // Anything failing while the report closes down ends the program at once.
    }
    session.endProgram();
}

void fatalError(const QString& message) { reportFatalProblem(message); }
