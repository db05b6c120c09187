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

// Runs body as one procedure with its error path: a RuntimeError (or any
// other standard exception) becomes reportRuntimeError(session, module,
// label). The label may be a QString or a callable returning one, so hot
// procedures build their label only when they fail.
template <class Label, class Body>
auto withErrorPath(Session& session, const QString& module, const Label& label, Body&& body) -> decltype(body())
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
        reportRuntimeError(session, module, labelText(), error);
    } catch (const std::exception& error) {
        reportRuntimeError(session, module, labelText(),
                           RuntimeError(Errors::InternalError, QString::fromLocal8Bit(error.what())));
    }
}
