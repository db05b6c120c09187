// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/problem.h"
#include "platform/session.h"

#include <QString>
#include <cstdint>

namespace Jpeg {

// One picture copy as scaleImage decides it: the source unchanged, or
// resampled by the image tool to height x width (the source unchanged when the
// tool fails or there is none).
struct CopyJob {
    enum class Method { Unchanged, Resample };
    QString source;
    QString destination;
    std::int32_t height = 0;
    std::int32_t width = 0;
    Method method = Method::Unchanged;
    // The page source line the picture belongs to (none outside a make): a
    // problem with the copy is placed there and, in a make, shows that line.
    ProblemPlace place;
    // The source is no JPEG: a copy the tool did not write is no copy at all.
    bool mustConvert = false;
};

enum class CopyResult {
    AsAsked,   // the copy the method asks for
    Unchanged, // resampling failed: the source copied unchanged
    None,      // the picture cannot be read: no copy, an older one removed
};

// What making a copy takes from the run, handed in so that a copy can be made
// on any thread without reaching the session. Nothing is owned.
struct CopyServices {
    const ImageToolChoice& imageTool;
    // Where a problem with the copy is reported.
    ProblemSink& problems;
    // Asked before each file operation of the copy (nullptr never fails).
    const fileio::FailureHook* fileFaults = nullptr;
};

// Makes the copy now. When the tool says the picture itself cannot be read,
// shows "Picture ... could not be resampled: reason" and writes no copy; when
// the tool fails otherwise (crash, time limit, cannot start, a copy that is
// not a whole JPEG of the size asked for), copies the source unchanged and says so;
// without a tool, copies it silently. When the tool says its disk is full, or
// a copy cannot be written or removed, raises RuntimeError (61 "Disk full:
// <destination> (<reason>)" for a full disk) and leaves an earlier copy as it was.
CopyResult makeCopy(const CopyJob& job, const CopyServices& services);

// Whether a make can use tool: true when it names a program that can be
// started. A program that cannot be started (missing, a folder, not
// executable, a bare name not found in PATH) is reported to problems as
// "Image tool <program> cannot be started: <reason> - pictures are copied
// unchanged"; no tool (empty) gives false silently. A make asks once, on the
// first picture that needs the tool.
bool toolCanStart(const ImageToolChoice& tool, ProblemSink& problems);

// A problem with the copy: placed at the job's line, and showing it in a make.
Problem copyProblem(const CopyJob& job, const QString& message);

// Removes the file at path when there is one; RuntimeError 75 naming it when that fails.
void removeCopy(const QString& path);

// Where the picture copies of a make go: made at once (CopiesInPlace), or
// taken over by the make's picture work and made several at once.
class CopySink {
public:
    virtual ~CopySink() = default;
    // Whether pictures are resampled (there is an image tool that can be
    // started) or copied unchanged.
    virtual bool resamples() = 0;
    virtual void submit(const CopyJob& job) = 0;
    // Removes an older copy at path that shows a picture the page can no
    // longer have (removeCopy, unless a sink that writes nothing says otherwise).
    virtual void removeOlder(const QString& path);
};

// Makes each copy when it is submitted, with the session's image tool (looked
// up and checked with toolCanStart on first need) and file faults, reporting
// to problems. Main thread only.
class CopiesInPlace : public CopySink {
public:
    CopiesInPlace(Session& session, ProblemSink& problems) : m_session(session), m_problems(problems) {}
    bool resamples() override;
    void submit(const CopyJob& job) override;

private:
    Session& m_session;
    ProblemSink& m_problems;
    bool m_toolChecked = false;
    bool m_resamples = false;
};

} // namespace Jpeg
