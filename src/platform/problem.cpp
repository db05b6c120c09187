// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/problem.h"

#include "base/line_end.h"
#include "platform/messages.h"
#include "platform/session.h"

#include <QCoreApplication>

QString Problem::text() const
{
    if (!showsLine)
        return message;
    return message + kCrLf + QCoreApplication::translate("Problem", "In line - ") + place.lineText + kCrLf
           + QCoreApplication::translate("Problem", "In file - ") + place.pageSource;
}

void ProblemBoxes::report(const Problem& problem) { m_boxes.show(problem.text(), MessageIcon::None); }

void SessionProblems::report(const Problem& problem)
{
    ++m_reported;
    Messages::show(m_session, problem.text());
}

void ProblemsAt::report(const Problem& problem)
{
    if (!problem.place.pageSource.isEmpty()) {
        m_to.report(problem);
        return;
    }
    Problem placed = problem;
    placed.place = m_place;
    m_to.report(placed);
}
