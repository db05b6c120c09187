// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "maker/picture_work.h"

#include "maker/line_problem.h"
#include "maker/maker_module.h"

#include "runtime/error_handler.h"

#include <climits>
#include <exception>

namespace {

// Copies asked for ahead of the one the make waits for, per tool run: enough
// to keep every run busy, few enough that a failing copy stops the make soon.
constexpr int HeldCopiesPerRun = 4;

} // namespace

PictureWork::PictureWork(int runs, CountHandler pictureCount, int expected, Session& session, ProblemSink& problems)
    : m_session(session), m_problems(problems), m_imageTool(session.imageTool(&problems)),
      m_fileFaults(session.fileFaults()), m_pictureCount(std::move(pictureCount)), m_runs(std::max(1, runs)),
      m_total(std::max(0, expected)), m_copies(m_runs, m_imageTool, m_fileFaults)
{
    m_session.addWatcher(this);
}

PictureWork::~PictureWork()
{
    // A failure on its way to the fatal report: what a waiting make would have
    // shown first comes before the report, as it would without the failure.
    if (std::uncaught_exceptions() > 0 && !m_failing) {
        m_failing = true;
        try {
            m_queue.release(INT_MAX);
        } catch (...) {
            // The failure already on its way is the one reported.
        }
    }
    m_copies.abandon();
    m_session.removeWatcher(this);
}

void PictureWork::InOrder::report(const Problem& problem)
{
    m_work.inOrder([this, problem] { m_work.m_problems.report(problem); });
}

bool PictureWork::resamples()
{
    if (!m_resamples)
        m_resamples = Jpeg::toolCanStart(m_imageTool, m_inOrder);
    return *m_resamples;
}

void PictureWork::submit(const Jpeg::CopyJob& copy)
{
    // The same copy asked for twice (a page made twice) is made in turn.
    if (m_queue.holdsCopyTo(copy.destination))
        m_queue.release(INT_MAX);
    while (m_queue.copiesHeld() >= m_runs * HeldCopiesPerRun)
        m_queue.release(1);

    const QString tool = m_records.toolIdentityFor(copy, m_imageTool.program);
    m_queue.addCopy(m_copies.start(copy, tool, m_records.previousOf(copy.destination)));
    m_total = std::max(m_total, ++m_asked);
    if (m_pictureCount)
        m_pictureCount(m_done, m_total);
}

void PictureWork::inOrder(std::function<void()> event)
{
    if (m_queue.empty()) {
        event();
        return;
    }
    m_queue.addEvent(std::move(event));
    m_queue.release(0);
}

void PictureWork::complete(BackgroundCopy& job)
{
    // What the image tool said about its output names the copy, not its temporary.
    for (Problem problem : std::as_const(job.problems.problems)) {
        problem.message.replace(job.temporary, job.destination);
        m_problems.report(problem);
    }
    m_copies.putInPlace(job);
    m_records.note(job);
    ++m_done;
    if (m_pictureCount)
        m_pictureCount(m_done, m_total);
    m_copyFailed = m_copyFailed || job.error.has_value();
    if (job.error && !m_failing) {
        m_failing = true;
        // Named by its line and page source, as a copy made in place is.
        // The copy is named as the page has it, not by its temporary name.
        QString description = job.error->description();
        description.replace(job.temporary, job.destination);
        RuntimeError error(job.error->number(), description + faultyLineContext(job.place));
        error.locate(makerModule(), QStringLiteral("scaleImage"));
        throw error;
    }
}

void PictureWork::finish()
{
    m_queue.release(INT_MAX);
    m_records.save(m_fileFaults);
}

void PictureWork::beforeFatalReport()
{
    // The report comes after everything a waiting make would have shown first.
    if (!m_failing) {
        m_failing = true;
        m_queue.release(INT_MAX);
    }
    // The report ends the program without unwinding: no temporary of a copy
    // may stay behind it.
    m_copies.abandon();
}
