// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/image_tool_choice.h"

#include "base/line_end.h"
#include "platform/problem.h"
#include "base/runtime_error.h"
#include "platform/user_settings.h"

#include <QFileInfo>

namespace {

const QString ProgramKey = QStringLiteral("ImageTool/program");
const QString ParallelKey = QStringLiteral("ImageTool/parallel");
const QString BundledToolName = QStringLiteral("zel-resample");

} // namespace

ImageToolChoice lookUpImageTool(const QString& programFolder, ProblemSink& problems)
{
    ImageToolChoice choice;
    try {
        const auto settings = openUserSettings();
        if (settings->contains(ProgramKey)) {
            const QVariant value = settings->value(ProgramKey);
            // A value with a comma reads back as a list: not a program path.
            if (value.typeId() != QMetaType::QString)
                Errors::raise(Errors::TypeMismatch);
            choice.program = value.toString();
            choice.parallel = settings->value(ParallelKey).toBool();
        } else {
            choice.program = programFolder + BundledToolName;
            // Not installed beside the program: pictures are copied unchanged.
            if (!QFileInfo(choice.program).isFile())
                choice.program.clear();
        }
    } catch (const RuntimeError& error) {
        problems.report(Problem{.kind = Problem::Kind::PictureCopy,
                                .place = {},
                                .message = QStringLiteral("JPEG.IrfanViewAvailable - Error ")
                                           + QString::number(error.number()) + kCrLf + error.description()});
        choice.program.clear();
    }
    return choice;
}
