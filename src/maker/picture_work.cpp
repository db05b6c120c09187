#include "maker/picture_work.h"

#include "maker/directive_reader.h"
#include "maker/maker_module.h"

#include "fileio/atomic_file.h"

#include "runtime/error_handler.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>

namespace {

// Copies asked for ahead of the one the make waits for, per tool run: enough
// to keep every run busy, few enough that a failing copy stops the make soon.
constexpr int HeldCopiesPerRun = 4;

} // namespace

PictureWork::PictureWork(int runs, CountHandler pictureCount, Session& session, ProblemSink& problems)
    : m_session(session), m_problems(problems), m_imageTool(session.imageTool(&problems)),
      m_fileFaults(session.fileFaults()), m_pictureCount(std::move(pictureCount)), m_runs(std::max(1, runs)),
      m_pool(std::in_place, m_runs)
{
    m_session.addWatcher(this);
}

PictureWork::~PictureWork()
{
    removeTemporaries();
    m_session.removeWatcher(this);
}

void PictureWork::InOrder::report(const Problem& problem)
{
    m_work.inOrder([this, problem] { m_work.m_problems.report(problem); });
}

void PictureWork::removeTemporaries()
{
    // A make that ended early leaves the copies it did not reach as they
    // were: copies not yet begun are not made, running ones end first.
    m_abandoned = true;
    m_pool.reset();
    for (const QString& temporary : std::as_const(m_temporaries))
        QFile::remove(temporary);
    m_temporaries.clear();
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
    if (m_heldDestinations.contains(copy.destination))
        release(INT_MAX);
    while (m_unfinished >= m_runs * HeldCopiesPerRun)
        release(1);

    auto job = std::make_shared<Job>();
    const QFileInfo destination(copy.destination);
    job->folder = destination.path();
    job->copyName = destination.fileName();
    job->destination = copy.destination;
    job->place = copy.place;
    job->temporary =
        job->folder + QDir::separator()
        + QStringLiteral(".zel-copy-%1-%2.jpg").arg(QCoreApplication::applicationPid()).arg(++m_temporaryCount);
    m_temporaries.insert(job->temporary);
    const QString tool =
        copy.method == Jpeg::CopyJob::Method::Resample ? m_records.toolIdentityOf(m_imageTool.program) : QString();
    const auto previous = m_records.of(job->folder).find(job->copyName);
    m_held.push_back({{}, job});
    m_heldDestinations.insert(copy.destination);
    ++m_unfinished;
    ++m_total;
    if (m_pictureCount)
        m_pictureCount(m_done, m_total);

    m_pool->post([this, job, copy, tool, previous] {
        if (m_abandoned) {
            std::lock_guard lock(m_mutex);
            job->finished = true;
            return;
        }
        try {
            job->outcome = Jpeg::makeCopyUnlessRecorded(copy, tool, previous, job->temporary,
                                                        {m_imageTool, job->problems, m_fileFaults});
        } catch (const RuntimeError& error) {
            job->error = error;
        } catch (const std::exception& error) {
            job->error = RuntimeError(51, QString::fromLocal8Bit(error.what()));
        }
        {
            std::lock_guard lock(m_mutex);
            job->finished = true;
        }
        m_finished.notify_all();
    });
}

void PictureWork::inOrder(std::function<void()> event)
{
    if (m_held.empty()) {
        event();
        return;
    }
    m_held.push_back({std::move(event), nullptr});
    release(0);
}

void PictureWork::release(int jobsToWaitFor)
{
    while (!m_held.empty()) {
        Held held = m_held.front();
        if (held.job) {
            std::unique_lock lock(m_mutex);
            if (!held.job->finished) {
                if (jobsToWaitFor <= 0)
                    return;
                --jobsToWaitFor;
                m_finished.wait(lock, [&] { return held.job->finished; });
            }
        }
        m_held.pop_front();
        if (held.job)
            complete(*held.job);
        else
            held.event();
    }
}

void PictureWork::putInPlace(Job& job)
{
    if (job.outcome.noCopy && !job.error)
        Jpeg::removeCopy(job.destination);
    if (job.outcome.reused || job.error || !QFileInfo::exists(job.temporary)) {
        QFile::remove(job.temporary);
        return;
    }
    // Replaces the old copy in one step, as copying over it would.
    try {
        fileio::renameFile(QFile::encodeName(job.temporary).toStdString(),
                           QFile::encodeName(job.destination).toStdString(), m_fileFaults);
    } catch (const fileio::FileError& error) {
        QFile::remove(job.temporary);
        Errors::raiseFileError(error);
    }
    if (job.outcome.entry)
        job.outcome.entry->copyStamp = FileFingerprint::stampOf(job.destination);
}

void PictureWork::complete(Job& job)
{
    --m_unfinished;
    m_heldDestinations.remove(job.destination);
    // What the image tool said about its output names the copy, not its temporary.
    for (Problem problem : std::as_const(job.problems.problems)) {
        problem.message.replace(job.temporary, job.destination);
        m_problems.report(problem);
    }
    try {
        putInPlace(job);
    } catch (const RuntimeError& error) {
        job.error = error;
    }
    m_temporaries.remove(job.temporary);
    Jpeg::CopyRecord& record = m_records.of(job.folder);
    if (job.outcome.entry && !job.error)
        record.put(job.copyName, *job.outcome.entry);
    else
        record.remove(job.copyName);
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
        reportRuntimeError(m_session, makerModule(), QStringLiteral("scaleImage"),
                           RuntimeError(job.error->number(), description + faultyLineContext(job.place)));
    }
}

void PictureWork::finish()
{
    release(INT_MAX);
    m_records.saveChanged(m_fileFaults);
}

void PictureWork::beforeFatalReport()
{
    // The report comes after everything a waiting make would have shown first.
    if (!m_failing) {
        m_failing = true;
        release(INT_MAX);
    }
    // The report ends the program without unwinding: no temporary of a copy
    // may stay behind it.
    removeTemporaries();
}
