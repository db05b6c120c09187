// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/problem.h"

#include <QString>

// The lines that follow a faulty-line message about line of the page source
// sourcePath; "" for a place without a page source.
QString faultyLineContext(const ProblemPlace& place);
// Reports a problem of a line that shows the line (makeError) and lets making go on.
// session is the make's, which the error path reports through.
void reportLineProblem(ProblemSink& problems, Problem::Kind kind, const QString& message, const ProblemPlace& place);
