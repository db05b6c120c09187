// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture copies made on worker threads into temporaries, put in place when asked.
#include "maker/copy_jobs.h"

#include "base/file_fingerprint.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

CopyJobs::CopyJobs(int runs, const ImageToolChoice& imageTool, const fileio::FailureHook* fileFaults)
    : m_imageTool(imageTool), m_fileFaults(fileFaults)
{
    m_pool.setMaxThreadCount(std::max(1, runs));
}

std::shared_ptr<BackgroundCopy> CopyJobs::start(const Jpeg::CopyJob& copy, const QString& tool,
                                                const std::optional<Jpeg::CopyRecordEntry>& previous)
{
    auto job = std::make_shared<BackgroundCopy>();
    const QFileInfo destination(copy.destination);
    job->folder = destination.path();
    job->copyName = destination.fileName();
    job->destination = copy.destination;
    job->place = copy.place;
    job->temporary =
        job->folder + QDir::separator()
        + QStringLiteral(".zel-copy-%1-%2.jpg").arg(QCoreApplication::applicationPid()).arg(++m_temporaryCount);
    m_temporaries.insert(job->temporary);
    m_pool.start([this, job, copy, tool, previous] {
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
            job->error = RuntimeError(Errors::InternalError, QString::fromLocal8Bit(error.what()));
        }
        {
            std::lock_guard lock(m_mutex);
            job->finished = true;
        }
        m_finished.notify_all();
    });
    return job;
}

bool CopyJobs::finished(const BackgroundCopy& job)
{
    std::lock_guard lock(m_mutex);
    return job.finished;
}

void CopyJobs::waitFor(const BackgroundCopy& job)
{
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [&] { return job.finished; });
}

void CopyJobs::putInPlace(BackgroundCopy& job)
{
    try {
        moveIntoPlace(job);
    } catch (const RuntimeError& error) {
        job.error = error;
    }
    m_temporaries.remove(job.temporary);
}

void CopyJobs::moveIntoPlace(BackgroundCopy& job)
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

void CopyJobs::abandon()
{
    // A make that ended early leaves the copies it did not reach as they
    // were: copies not yet begun are not made, running ones end first.
    m_abandoned = true;
    m_pool.waitForDone();
    for (const QString& temporary : std::as_const(m_temporaries))
        QFile::remove(temporary);
    m_temporaries.clear();
}
