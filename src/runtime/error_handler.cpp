// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/error_handler.h"

#include "platform/messages.h"
#include "platform/session.h"
#include "runtime/log_file.h"

FatalProblem::FatalProblem(QString message) : m_message(std::move(message)), m_what(m_message.toUtf8()) {}

void raiseFatalProblem(const QString& message) { throw FatalProblem(message); }

void reportCaughtFailure(Session& session, const QString& module, const QString& label)
{
    try {
        throw;
    } catch (const RuntimeError& error) {
        if (error.isLocated())
            reportRuntimeError(session, error.module(), error.label(), error);
        reportRuntimeError(session, module, label, error);
    } catch (const FatalProblem& problem) {
        reportFatalProblem(session, problem.message());
    } catch (const std::exception& error) {
        reportRuntimeError(session, module, label,
                           RuntimeError(Errors::InternalError, QString::fromLocal8Bit(error.what())));
    }
}

void reportRuntimeError(Session& session, const QString& module, const QString& label, const RuntimeError& error)
{
    reportFatalProblem(session, QStringLiteral("Runtime error %1 in %2.%3").arg(error.number()).arg(module, label)
                                    + QStringLiteral("\r\n") + error.description());
}

void reportFatalProblem(Session& session, const QString& message)
{
    if (session.fatalReportInProgress())
        session.endProgram();
    session.beginFatalReport();
    try {
        // What work held back comes before the report, as it would have without the failure.
        session.tellWatchers();
        session.messages().show(QStringLiteral("The System has encountered a problem\r\n") + message,
                                MessageIcon::Exclamation);
        logMessage(session, message);
        // Work completed before the failure (the pages made before the one
        // that failed) is kept; the rest is dropped with the open files.
        session.commitCompleteStaged();
        session.closeAllWindows();
        closeLogFile(session);
        session.closeAllFiles();
    } catch (const std::exception&) {
        // Anything failing while the report closes down ends the program at once.
    }
    session.endProgram();
}
