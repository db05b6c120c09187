// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <QString>
#include <cstdint>
#include <exception>

// An unexpected failure: a 32-bit error number and its description, as the
// error path shows and logs them. Expected problems are never thrown. On its
// way up it is located: the first procedure with an error path that it leaves
// gives its module and label ("Runtime error 75 in dlgMakePage.scaleImage").
class RuntimeError : public std::exception {
public:
    RuntimeError(std::int32_t number, QString description, QString source = {});

    std::int32_t number() const { return m_number; }
    const QString& description() const { return m_description; }
    const QString& source() const { return m_source; }
    const char* what() const noexcept override { return m_what.constData(); }

    // A located failure is on its way to the fatal report: code that handles
    // expected failures of its own lets it pass.
    bool isLocated() const { return !m_module.isEmpty(); }
    const QString& module() const { return m_module; }
    const QString& label() const { return m_label; }
    void locate(const QString& module, const QString& label);

private:
    std::int32_t m_number;
    QString m_description;
    QString m_source;
    QString m_module;
    QString m_label;
    QByteArray m_what;
};

// The familiar error numbers with their usual descriptions.
namespace Errors {
constexpr std::int32_t InvalidArgument = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t DivisionByZero = 11;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t InternalError = 51; // a C++ exception met on the error path
constexpr std::int32_t BadFileNameOrNumber = 52;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t BadFileMode = 54;
constexpr std::int32_t FileAlreadyOpen = 55;
constexpr std::int32_t FileAlreadyExists = 58;
constexpr std::int32_t DiskFull = 61;
constexpr std::int32_t InputPastEndOfFile = 62;
constexpr std::int32_t TooManyFiles = 67;
constexpr std::int32_t PathFileAccess = 75;
constexpr std::int32_t PathNotFound = 76;
constexpr std::int32_t ControlArrayElementMissing = 340;
constexpr std::int32_t DuplicateKey = 457;

// Throws the error with its standard description.
[[noreturn]] void raise(std::int32_t number);
// Throws the error with a description of the caller's own.
[[noreturn]] void raise(std::int32_t number, const QString& description);
QString standardDescription(std::int32_t number);
// Throws Path/File access error (75) naming a file the caller refuses or
// cannot read, and why: "Path/File access error: PATH (REASON)".
[[noreturn]] void raiseAccessError(const QString& path, const QString& reason);
// Throws a failed file operation as Disk full (61), Path not found (76) or
// Path/File access error (75), the description naming the path and the system's reason.
[[noreturn]] void raiseFileError(const fileio::FileError& error);
// Runs body, turning a fileio::FileError into raiseFileError.
template <class Body>
auto translatingFileErrors(Body&& body) -> decltype(body())
{
    try {
        return body();
    } catch (const fileio::FileError& error) {
        raiseFileError(error);
    }
}
} // namespace Errors
