#include "imaging/tool_runs.h"

#include "platform/session.h"

#include <QThread>
#include <algorithm>

namespace Jpeg {

int imageToolRuns()
{
    return Session::current().imageTool().parallel ? std::clamp(QThread::idealThreadCount(), 1, MaxImageToolRuns) : 1;
}

} // namespace Jpeg
