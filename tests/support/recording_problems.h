#pragma once

#include "platform/messages.h"
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

// Shows each problem in the session's message boxes, as the desktop
// program's maker dialog does.
class SessionProblems : public ProblemSink {
public:
    explicit SessionProblems(Session& session) : m_session(session) {}
    void report(const Problem& problem) override { Messages::show(m_session, problem.text()); }

private:
    Session& m_session;
};
