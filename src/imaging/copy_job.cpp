#include "imaging/copy_job.h"

#include "imaging/image_tool.h"
#include "pages/files.h"
#include "platform/problem.h"
#include "base/runtime_error.h"

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
    if (job.method == CopyJob::Method::Unchanged) {
        Files::copyFile(job.source, job.destination, services.fileFaults);
        return CopyResult::AsAsked;
    }
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
    // The copy keeps its pixels and the page's image tag scales it to the sizes returned.
    Files::copyFile(job.source, job.destination, services.fileFaults);
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
