#include "imaging/copy_job.h"

#include "imaging/image_tool.h"
#include "pages/files.h"
#include "platform/messages.h"
#include "platform/runtime_error.h"

#include <QFile>
#include <QFileInfo>

namespace Jpeg {

namespace {
CopySink* g_sink = nullptr;
}

namespace {

void showProblem(const CopyJob& job, const QString& problem)
{
    Messages::show(QStringLiteral("Picture ") + job.source + QStringLiteral(" could not be resampled: ") + problem
                   + job.messageContext);
}

} // namespace

void removeCopy(const QString& path)
{
    if (QFileInfo(path).isFile() && !QFile::remove(path))
        Errors::raise(Errors::PathFileAccess,
                      Errors::standardDescription(Errors::PathFileAccess) + QStringLiteral(": ") + path);
}

CopyResult makeCopy(const CopyJob& job)
{
    if (job.method == CopyJob::Method::Unchanged) {
        Files::copyFile(job.source, job.destination);
        return CopyResult::AsAsked;
    }
    const ToolRun run = resampleImage(job.source, job.destination, job.height, job.width);
    switch (run.outcome) {
    case ToolRun::Resampled:
        return CopyResult::AsAsked;
    case ToolRun::PictureUnreadable:
        // A copy that shows a picture the page no longer has must go.
        removeCopy(job.destination);
        showProblem(job, run.reason);
        return CopyResult::None;
    case ToolRun::NoTool:
    case ToolRun::Failed:
        break;
    }
    // The copy keeps its pixels and the page's image tag scales it to the sizes returned.
    Files::copyFile(job.source, job.destination);
    if (!run.reason.isEmpty())
        showProblem(job, run.reason + QStringLiteral(", copied unchanged"));
    return CopyResult::Unchanged;
}

void setCopySink(CopySink* sink) { g_sink = sink; }

void placeCopy(const CopyJob& job)
{
    if (g_sink)
        g_sink->submit(job);
    else
        makeCopy(job);
}

} // namespace Jpeg
