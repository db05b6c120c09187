#include "imaging/tool_runs.h"

#include "platform/user_settings.h"

#include <QThread>
#include <algorithm>

namespace Jpeg {

int imageToolRuns()
{
    const auto settings = openUserSettings();
    const bool authorsTool = settings->contains(QStringLiteral("ImageTool/program"));
    const bool parallel = !authorsTool || settings->value(QStringLiteral("ImageTool/parallel")).toBool();
    return parallel ? std::clamp(QThread::idealThreadCount(), 1, MaxImageToolRuns) : 1;
}

} // namespace Jpeg
