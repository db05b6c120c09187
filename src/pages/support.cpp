// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/support.h"

#include "base/int16.h"
#include "base/line_end.h"
#include "platform/problem.h"
#include "base/runtime_error.h"

#include <QCoreApplication>

namespace {

bool validate(const QString& name, const QString& kind, int longest, ProblemSink& problems)
{
    const auto refuse = [&](const QString& message) {
        problems.report(Problem{.kind = Problem::Kind::BadName, .place = {}, .message = message});
        return false;
    };
    if (!Support::hasOnlyNameCharacters(name)) {
        return refuse(QCoreApplication::translate("Support", "%1 is not a valid %2 name").arg(name, kind) + kCrLf
                      + QCoreApplication::translate("Support", "A valid %1 name may only contain").arg(kind) + kCrLf
                      + kCrLf + QCoreApplication::translate("Support", " lower case letters,") + kCrLf
                      + QCoreApplication::translate("Support", " digits,") + kCrLf
                      + QCoreApplication::translate("Support", " underscores(_) and dashes(-)"));
    }
    // Only a-z, 0-9, "_" and "-": one byte a character in every encoding.
    if (name.size() > longest) {
        return refuse(QCoreApplication::translate("Support", "%1 is not a valid %2 name").arg(name, kind) + kCrLf
                      + QCoreApplication::translate("Support", "A valid %1 name may be at most %2 characters long")
                            .arg(kind)
                            .arg(longest));
    }
    return true;
}

} // namespace

namespace Support {

bool hasOnlyNameCharacters(const QString& name)
{
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'_' || u == u'-';
        if (!allowed)
            return false;
    }
    return !name.isEmpty();
}

bool isValidFolderName(const QString& name, ProblemSink& problems)
{
    return validate(name, QCoreApplication::translate("Support", "folder"), longestFolderName, problems);
}

bool isValidPageName(const QString& name, ProblemSink& problems)
{
    return validate(name, QCoreApplication::translate("Support", "page"), longestPageName, problems);
}

std::int16_t integerInRange(const QString& text, std::int16_t low, std::int16_t high, std::int16_t fallback)
{
    try {
        const std::int16_t value = Int16::fromText(text);
        return (value >= low && value <= high) ? value : fallback;
    } catch (const RuntimeError&) {
        return fallback;
    }
}

} // namespace Support
