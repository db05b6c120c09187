// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/runtime_error.h"

#include <QString>
#include <exception>
#include <type_traits>

class Session;

// The one way unexpected failures end the program: a box saying "The System
// has encountered a problem", the message in the log, the session's staged
// replacements marked complete put in place (the rest dropped), every window
// closed, "log file closed", all files closed, the end hook. A second report while
// one is in progress ends the program at once.

// "Runtime error " + number + " in " + module + "." + label, CR LF, description.
[[noreturn]] void reportRuntimeError(Session& session, const QString& module, const QString& label,
                                     const RuntimeError& error);
[[noreturn]] void reportFatalProblem(Session& session, const QString& message);

// A failure that ends the work with a message of its own (a configuration
// that cannot be used): thrown where it is found and reported, as it is, by
// the boundary of the command it ends.
class FatalProblem : public std::exception {
public:
    explicit FatalProblem(QString message);
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};

[[noreturn]] void raiseFatalProblem(const QString& message);

// Runs body as one procedure with an error path: a RuntimeError leaving it
// that no procedure inside has located is located here (module and label),
// any other standard exception becomes a located Internal error, and either
// goes on up to the boundary of the command. The label may be a QString or a
// callable returning one, so hot procedures build their label only when they fail.
template <class Label, class Body>
auto inProcedure(const QString& module, const Label& label, Body&& body) -> decltype(body())
{
    auto labelText = [&]() -> QString {
        if constexpr (std::is_invocable_v<const Label&>)
            return label();
        else
            return QString(label);
    };
    try {
        return body();
    } catch (RuntimeError& error) {
        if (!error.isLocated())
            error.locate(module, labelText());
        throw;
    } catch (const FatalProblem&) {
        throw;
    } catch (const std::exception& error) {
        RuntimeError located(Errors::InternalError, QString::fromLocal8Bit(error.what()));
        located.locate(module, labelText());
        throw located;
    }
}

// Reports the failure being handled (inside a catch block): a RuntimeError
// with its location, a FatalProblem with its message, anything else as an
// Internal error of the given procedure. Ends the program through the session.
[[noreturn]] void reportCaughtFailure(Session& session, const QString& module = QStringLiteral("ZEL"),
                                      const QString& label = QStringLiteral("main"));

// The boundary of one command or event handler, run as procedure label of
// module: a failure that reaches it becomes the fatal report. Inner procedures
// use inProcedure and let failures travel here.
template <class Label, class Body>
auto runCommand(Session& session, const QString& module, const Label& label, Body&& body) -> decltype(body())
{
    try {
        return inProcedure(module, label, std::forward<Body>(body));
    } catch (const std::exception&) {
        reportCaughtFailure(session);
    }
}
