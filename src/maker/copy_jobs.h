// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"
#include "imaging/copy_job.h"
#include "imaging/copy_record.h"
#include "imaging/copy_reuse.h"
#include "platform/image_tool_choice.h"
#include "platform/problem.h"
#include "base/runtime_error.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

// One picture copy made on a worker thread into a temporary beside its
// destination, with what it reported and how it ended, kept until it is put
// in place.
struct BackgroundCopy {
    // What the copy reports on its worker thread, kept to be shown later.
    class HeldProblems : public ProblemSink {
    public:
        void report(const Problem& problem) override { problems.append(problem); }
        QList<Problem> problems;
    };

    QString folder;
    QString copyName;
    QString destination;
    QString temporary;     // where a new copy is written
    ProblemPlace place;    // the page source line, for a failure report
    bool finished = false; // guarded by the mutex of its CopyJobs
    Jpeg::CopyOutcome outcome;
    HeldProblems problems;
    std::optional<RuntimeError> error;
};

// Picture copies made by several image tool runs at once, each written to a
// temporary (".zel-copy-" + process id + a number + ".jpg") beside its
// destination and put in place only when asked. The worker threads use only
// the image tool and file faults handed in here. Main thread only, but for
// the copies' own work.
class CopyJobs {
public:
    // runs: image tool runs at once (at least one).
    CopyJobs(int runs, const ImageToolChoice& imageTool, const fileio::FailureHook* fileFaults);
    // Abandons what is not done (abandon()).
    ~CopyJobs() { abandon(); }
    CopyJobs(const CopyJobs&) = delete;
    CopyJobs& operator=(const CopyJobs&) = delete;

    // Starts making copy (Jpeg::makeCopyUnlessRecorded with tool's identity
    // and the previous record entry) into a new temporary.
    std::shared_ptr<BackgroundCopy> start(const Jpeg::CopyJob& copy, const QString& tool,
                                          const std::optional<Jpeg::CopyRecordEntry>& previous);
    bool finished(const BackgroundCopy& job);
    void waitFor(const BackgroundCopy& job);
    // Puts a finished copy's new file in place (or removes its temporary when
    // there is none to put); a copy that cannot be written gets that as its error.
    void putInPlace(BackgroundCopy& job);
    // Copies not begun are skipped, running ones waited for, and every
    // temporary not yet put in place is removed.
    void abandon();

private:
    // Raises RuntimeError as a copy that cannot be written does.
    void moveIntoPlace(BackgroundCopy& job);

    const ImageToolChoice m_imageTool;
    const fileio::FailureHook* m_fileFaults;
    int m_temporaryCount = 0;
    QSet<QString> m_temporaries; // named for copies not yet put in place
    std::atomic<bool> m_abandoned = false;
    std::mutex m_mutex;
    std::condition_variable m_finished;
    QThreadPool m_pool; // last: its threads end before the rest goes
};
