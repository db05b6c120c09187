#include "imaging/copy_job.h"

#include "imaging/image_tool.h"
#include "pages/files.h"

namespace Jpeg {

namespace {
CopySink* g_sink = nullptr;
}

bool makeCopy(const CopyJob& job)
{
    if (job.method == CopyJob::Method::Resample && resampleImage(job.source, job.destination, job.height, job.width))
        return true;
    // Without a working tool the copy keeps its pixels and the page's image
    // tag scales it to the sizes returned.
    Files::copyFile(job.source, job.destination);
    return job.method == CopyJob::Method::Unchanged;
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
