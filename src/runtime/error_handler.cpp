#include "runtime/error_handler.h"

#include "platform/messages.h"
#include "platform/program_end.h"
#include "platform/text_files.h"
#include "runtime/log_file.h"

namespace {
bool g_reportInProgress = false;
}

bool fatalReportInProgress() { return g_reportInProgress; }

void resetFatalReportForTesting() { g_reportInProgress = false; }

void reportRuntimeError(const QString& module, const QString& label, const RuntimeError& error)
{
    reportFatalProblem(QStringLiteral("Runtime error %1 in %2.%3").arg(error.number()).arg(module, label)
                       + QStringLiteral("\r\n") + error.description());
}

void reportFatalProblem(const QString& message)
{
    if (g_reportInProgress)
        ProgramEnd::endProgram();
    g_reportInProgress = true;
    try {
        Messages::showExclamation(QStringLiteral("The System has encountered a problem\r\n") + message);
        logMessage(message);
        ProgramEnd::unloadAllWindows();
        closeLogFile();
        TextFiles::closeAll();
    } catch (const std::exception&) {
        // Anything failing while the report closes down ends the program at once.
    }
    ProgramEnd::endProgram();
}

void fatalError(const QString& message)
{
    reportFatalProblem(message);
}
