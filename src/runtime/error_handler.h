#pragma once

#include "base/runtime_error.h"

#include <QString>
#include <exception>
#include <type_traits>
#include <utility>

class Session;

// The one way unexpected failures end the program: a box saying "The System
// has encountered a problem", the message in the log, the session's staged
// replacements marked complete put in place (the rest dropped), every window
// closed, "log file closed", all files closed, the end hook. A second report while
// one is in progress ends the program at once.

// The core reports through the session it was handed; the forms without a
// session report through the program session (see program_session.h) and
// serve the windows.

// "Runtime error " + number + " in " + module + "." + label, CR LF, description.
[[noreturn]] void reportRuntimeError(Session& session, const QString& module, const QString& label,
                                     const RuntimeError& error);
[[noreturn]] void reportFatalProblem(Session& session, const QString& message);
[[noreturn]] void reportRuntimeError(const QString& module, const QString& label, const RuntimeError& error);
[[noreturn]] void reportFatalProblem(const QString& message);
[[noreturn]] void fatalError(const QString& message);

// True once the program session's fatal report has begun; it never becomes false again.
bool fatalReportInProgress();

namespace ErrorPath {

// reportRuntimeError through the session given, or through the program
// session when there is none.
[[noreturn]] void report(Session* session, const QString& module, const QString& label, const RuntimeError& error);

template <class Label, class Body>
auto run(Session* session, const QString& module, const Label& label, Body&& body) -> decltype(body())
{
    auto labelText = [&]() -> QString {
        if constexpr (std::is_invocable_v<const Label&>)
            return label();
        else
            return QString(label);
    };
    try {
        return body();
    } catch (const RuntimeError& error) {
        report(session, module, labelText(), error);
    } catch (const std::exception& error) {
        report(session, module, labelText(), RuntimeError(Errors::InternalError, QString::fromLocal8Bit(error.what())));
    }
}

} // namespace ErrorPath

// Runs body as one procedure with its error path: a RuntimeError (or any
// other standard exception) becomes reportRuntimeError(session, module,
// label). The label may be a QString or a callable returning one, so hot
// procedures build their label only when they fail.
template <class Label, class Body>
auto withErrorPath(Session& session, const QString& module, const Label& label, Body&& body) -> decltype(body())
{
    return ErrorPath::run(&session, module, label, std::forward<Body>(body));
}

// The same, reporting through the program session.
template <class Label, class Body>
auto withErrorPath(const QString& module, const Label& label, Body&& body) -> decltype(body())
{
    return ErrorPath::run(nullptr, module, label, std::forward<Body>(body));
}
