// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/copy_job.h"

#include "imaging/image_tool.h"
#include "pages/files.h"
#include "platform/problem.h"
#include "base/runtime_error.h"
#include "text/text_files.h"

#include "fileio/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Jpeg {

namespace {

void showProblem(const CopyJob& job, const QString& problem, ProblemSink& problems)
{
    problems.report(copyProblem(job, QStringLiteral("Picture ") + job.source
                                         + QStringLiteral(" could not be resampled: ") + problem));
}

// Copies the picture as it is. A picture that went or became something else
// since its page was read is a problem of that page: the older copy goes and
// the make carries on. False then.
bool copyUnchanged(const CopyJob& job, const CopyServices& services)
{
    std::string reason;
    try {
        Files::copyFile(job.source, job.destination, services.fileFaults);
        return true;
    } catch (const RuntimeError&) {
        // Anything else (a full disk, an unwritable images folder) is the make's.
        reason = fileio::regularFileProblem(QFile::encodeName(job.source).toStdString());
        if (reason.empty())
            throw;
    }
    removeCopy(job.destination);
    services.problems.report(copyProblem(job, QStringLiteral("Picture ") + job.source + u' '
                                                  + TextFiles::afterFileName(QString::fromStdString(reason))
                                                  + QStringLiteral(" - no copy was made")));
    return false;
}

} // namespace

Problem copyProblem(const CopyJob& job, const QString& message)
{
    return Problem{.kind = Problem::Kind::PictureCopy,
                   .place = job.place,
                   .message = message,
                   .showsLine = !job.place.pageSource.isEmpty()};
}

void removeCopy(const QString& path)
{
    if (QFileInfo(path).isFile() && !QFile::remove(path))
        Errors::raise(Errors::PathFileAccess,
                      Errors::standardDescription(Errors::PathFileAccess) + QStringLiteral(": ") + path);
}

CopyResult makeCopy(const CopyJob& job, const CopyServices& services)
{
    if (job.method == CopyJob::Method::Unchanged)
        return copyUnchanged(job, services) ? CopyResult::AsAsked : CopyResult::None;
    const ToolRun run = resampleImage(job.source, job.destination, job.height, job.width, services.imageTool);
    switch (run.outcome) {
    case ToolRun::Resampled:
        return CopyResult::AsAsked;
    case ToolRun::PictureUnreadable:
        // A copy that shows a picture the page no longer has must go.
        removeCopy(job.destination);
        showProblem(job, run.reason, services.problems);
        return CopyResult::None;
    case ToolRun::DiskFull:
        // Fatal like any full disk; an unchanged copy would not fit either, and
        // the copy made before stays as it is.
        Errors::raise(Errors::DiskFull, Errors::standardDescription(Errors::DiskFull) + QStringLiteral(": ")
                                            + QDir::toNativeSeparators(job.destination) + QStringLiteral(" (")
                                            + run.reason + QStringLiteral(")"));
    case ToolRun::NoTool:
    case ToolRun::Failed:
        break;
    }
    if (job.mustConvert) {
        removeCopy(job.destination);
        showProblem(job,
                    (run.reason.isEmpty() ? QStringLiteral("no image tool") : run.reason)
                        + QStringLiteral(", and only JPEG pictures can be copied unchanged - no copy was made"),
                    services.problems);
        return CopyResult::None;
    }
    // The copy keeps its pixels and the page's image tag scales it to the sizes returned.
    if (!copyUnchanged(job, services))
        return CopyResult::None;
    if (!run.reason.isEmpty())
        showProblem(job, run.reason + QStringLiteral(", copied unchanged"), services.problems);
    return CopyResult::Unchanged;
}

void CopySink::removeOlder(const QString& path) { removeCopy(path); }

bool toolCanStart(const ImageToolChoice& tool, ProblemSink& problems)
{
    const QString problem = toolStartProblem(tool.program);
    if (!problem.isEmpty())
        problems.report(Problem{.kind = Problem::Kind::PictureCopy,
                                .place = {},
                                .message = QStringLiteral("Image tool ") + tool.program
                                           + QStringLiteral(" cannot be started: ") + problem
                                           + QStringLiteral(" - pictures are copied unchanged")});
    return !tool.program.isEmpty() && problem.isEmpty();
}

bool CopiesInPlace::resamples()
{
    if (!m_toolChecked) {
        m_toolChecked = true;
        m_resamples = toolCanStart(m_session.imageTool(&m_problems), m_problems);
    }
    return m_resamples;
}

void CopiesInPlace::submit(const CopyJob& job)
{
    makeCopy(job, {m_session.imageTool(&m_problems), m_problems, m_session.fileFaults()});
}

} // namespace Jpeg
