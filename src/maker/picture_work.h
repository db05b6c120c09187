// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "maker/copy_jobs.h"
#include "maker/copy_record_store.h"
#include "maker/in_order_queue.h"
#include "platform/problem.h"
#include "platform/session.h"

#include <functional>

// The picture copies of one make, made by several image tool runs at once
// while the make writes its pages, with nothing observable changed against a
// make that waits for every picture in turn:
//  - every message and every ordered event (progress, page counts) is held
//    until the copies asked for before it are done, and then shown with the
//    messages of those copies, in the order a waiting make gives them;
//  - a new copy is written to a temporary beside it (".zel-copy-" + a number
//    + ".jpg") and put in place in that order too, so a make that ends at a
//    copy that cannot be written leaves the later copies as they were;
//  - a copy that cannot be written is reported at its place in that order
//    (module "dlgMakePage", label "scaleImage");
//  - a copy whose record in its images folder (Jpeg::CopyRecord) shows the
//    same inputs, the same source content and an unchanged copy is kept.
// The make hands it where copies are placed (Jpeg::scaleImage), and reports
// what it finds on the main thread through inOrder, so that its problems are
// held in order with those of the copies; all of them go to the problems it
// is made with. The copies are made with the image tool and file faults of
// the session as they were when it was made; the worker threads never reach
// the session. Main thread only.
//
// The copies themselves are CopyJobs, their order an InOrderQueue, what is
// known of earlier copies a CopyRecordStore; this class ties them to the make.
class PictureWork : public Jpeg::CopySink, private FatalReportWatcher {
public:
    // Pictures done in order and pictures of the make: those expected, or
    // those asked for so far when that is more.
    using CountHandler = std::function<void(int done, int total)>;

    // runs: image tool runs at once (at least one); expected: the copies the
    // make is expected to ask for (counted ahead).
    PictureWork(int runs, CountHandler pictureCount, int expected, Session& session, ProblemSink& problems);
    // Lets running copies end; what is still held is dropped (the make
    // failed) and no temporary of a copy stays. Left by a failure (or a
    // fatal report begun while it lives) it first shows what is held.
    ~PictureWork() override;

    // Checks the image tool on first need (Jpeg::toolCanStart, its message held in order).
    bool resamples() override;
    void submit(const Jpeg::CopyJob& job) override;
    // Runs event once everything asked for before it has been shown.
    void inOrder(std::function<void()> event);
    // Reports each problem to the work's problems once everything asked for
    // before it has been shown.
    ProblemSink& problemsInOrder() { return m_inOrder; }
    // Waits for every copy, shows everything held, saves the copy records.
    void finish();

    // True once a copy shown in order has failed: pages after it link to a
    // copy that is not in place.
    bool copyFailed() const { return m_copyFailed; }

private:
    // Reports a problem once everything asked for before it has been shown.
    class InOrder : public ProblemSink {
    public:
        explicit InOrder(PictureWork& work) : m_work(work) {}
        void report(const Problem& problem) override;

    private:
        PictureWork& m_work;
    };

    // Shows what a finished copy reported, puts it in place and records it.
    void complete(BackgroundCopy& job);
    void beforeFatalReport() override;

    Session& m_session;
    ProblemSink& m_problems;
    InOrder m_inOrder{*this};
    const ImageToolChoice m_imageTool;
    const fileio::FailureHook* m_fileFaults;
    CountHandler m_pictureCount;
    const int m_runs;
    CopyRecordStore m_records;
    int m_done = 0;
    int m_asked = 0;
    int m_total = 0;
    bool m_failing = false;
    bool m_copyFailed = false;
    std::optional<bool> m_resamples; // once the tool is checked
    CopyJobs m_copies;
    InOrderQueue m_queue{m_copies, [this](BackgroundCopy& job) { complete(job); }};
};
