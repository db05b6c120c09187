// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/problem.h"

#include <QStringList>
#include <vector>

// Records every problem reported to it, in order.
class RecordingProblems : public ProblemSink {
public:
    void report(const Problem& problem) override { problems.push_back(problem); }
    // The text each problem would show.
    QStringList texts() const
    {
        QStringList all;
        for (const Problem& problem : problems)
            all.append(problem.text());
        return all;
    }
    std::vector<Problem> problems;
};
