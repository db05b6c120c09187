// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/tool_runs.h"

#include "platform/image_tool_choice.h"

#include <QThread>
#include <algorithm>

namespace Jpeg {

int imageToolRuns(const ImageToolChoice& tool)
{
    return tool.parallel ? std::clamp(QThread::idealThreadCount(), 1, MaxImageToolRuns) : 1;
}

} // namespace Jpeg
