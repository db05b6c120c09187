// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Problems about a line of a page source.
#include "maker/line_problem.h"

#include "maker/maker_module.h"

#include "base/line_end.h"
#include "runtime/error_handler.h"

QString faultyLineContext(const ProblemPlace& place)
{
    if (place.pageSource.isEmpty())
        return QString();
    return kCrLf + QStringLiteral("In line - ") + place.lineText + kCrLf + QStringLiteral("In file - ")
           + place.pageSource;
}

void reportLineProblem(ProblemSink& problems, Problem::Kind kind, const QString& message, const ProblemPlace& place)
{
    inProcedure(makerModule(), QStringLiteral("makeError"),
                [&] { problems.report(Problem{.kind = kind, .place = place, .message = message, .showsLine = true}); });
}
