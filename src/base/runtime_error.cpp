// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/runtime_error.h"

#include <QDir>
#include <cerrno>

RuntimeError::RuntimeError(std::int32_t number, QString description, QString source)
    : m_number(number), m_description(std::move(description)), m_source(std::move(source)),
      m_what(QStringLiteral("%1 %2").arg(number).arg(m_description).toUtf8())
{}

void RuntimeError::locate(const QString& module, const QString& label)
{
    m_module = module;
    m_label = label;
}

namespace Errors {

QString standardDescription(std::int32_t number)
{
    switch (number) {
    case InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case Overflow:
        return QStringLiteral("Overflow");
    case DivisionByZero:
        return QStringLiteral("Division by zero");
    case TypeMismatch:
        return QStringLiteral("Type mismatch");
    case InternalError:
        return QStringLiteral("Internal error");
    case BadFileNameOrNumber:
        return QStringLiteral("Bad file name or number");
    case FileNotFound:
        return QStringLiteral("File not found");
    case BadFileMode:
        return QStringLiteral("Bad file mode");
    case FileAlreadyOpen:
        return QStringLiteral("File already open");
    case FileAlreadyExists:
        return QStringLiteral("File already exists");
    case DiskFull:
        return QStringLiteral("Disk full");
    case InputPastEndOfFile:
        return QStringLiteral("Input past end of file");
    case TooManyFiles:
        return QStringLiteral("Too many files");
    case PathFileAccess:
        return QStringLiteral("Path/File access error");
    case PathNotFound:
        return QStringLiteral("Path not found");
    case DuplicateKey:
        return QStringLiteral("This key is already associated with an element of this collection");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

void raise(std::int32_t number) { throw RuntimeError(number, standardDescription(number)); }

void raise(std::int32_t number, const QString& description) { throw RuntimeError(number, description); }

} // namespace Errors

namespace Errors {

void raiseAccessError(const QString& path, const QString& reason)
{
    raise(PathFileAccess,
          standardDescription(PathFileAccess) + QStringLiteral(": ") + path + QStringLiteral(" (") + reason + u')');
}

void raiseFileError(const fileio::FileError& error)
{
    const std::int32_t number =
        error.diskFull() ? DiskFull : (error.systemError() == ENOENT ? PathNotFound : PathFileAccess);
    throw RuntimeError(number, standardDescription(number) + QStringLiteral(": ")
                                   + QDir::toNativeSeparators(QString::fromStdString(error.path()))
                                   + QStringLiteral(" (") + QString::fromLocal8Bit(error.reason().c_str())
                                   + QStringLiteral(")"));
}

} // namespace Errors
