// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/image_scaling.h"

#include "imaging/copy_job.h"
#include "imaging/picture_size.h"
#include "base/line_end.h"
#include "platform/problem.h"
#include "base/runtime_error.h"
#include "util/rounding.h"

#include <QFile>
#include <QFileInfo>
#include <limits>

namespace Jpeg {

namespace {
constexpr float FreeSide = 3E+38f;
}

float scaleFactor(std::int32_t required, std::int32_t actual)
{
    if (required < 1)
        return FreeSide;
    return static_cast<float>(static_cast<double>(required) / static_cast<double>(actual));
}

std::int32_t scaledDimension(float scale, std::int32_t size)
{
    const double product = static_cast<double>(scale) * static_cast<double>(size);
    const double rounded = util::roundHalfToEven(product);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
        Errors::raise(Errors::Overflow);
    return static_cast<std::int32_t>(rounded);
}

void scaleImage(const QString& sourcePath, const QString& destinationPath, std::int32_t requiredHeight,
                std::int32_t requiredWidth, std::int32_t& scaledHeight, std::int32_t& scaledWidth, bool noScaleUp,
                CopySink* copies, ProblemSink& problems, const ProblemPlace& place)
{
    const auto report = [&](const QString& message) {
        problems.report(Problem{.kind = Problem::Kind::PictureSize, .place = place, .message = message});
    };
    const auto copyUnchanged = [&] {
        if (copies)
            copies->submit({sourcePath, destinationPath, scaledHeight, scaledWidth, CopyJob::Method::Unchanged, place});
    };
    // A copy that shows a picture the page no longer has must go.
    const auto removeOlderCopy = [&] {
        if (copies)
            copies->removeOlder(destinationPath);
    };
    std::int32_t height = 0;
    std::int32_t width = 0;
    util::PictureFormat format = util::PictureFormat::Unknown;
    Pictures::GetSize(sourcePath, height, width, format, problems, place);
    if (height < 1 || width < 1) {
        report(QStringLiteral("Jpeg.scaleImage - Unable get height and width from file ") + sourcePath + kCrLf
               + QStringLiteral("So unable to scale image"));
        scaledHeight = 0;
        scaledWidth = 0;
        removeOlderCopy();
        return;
    }

    const float xScale = scaleFactor(requiredWidth, width);
    const float yScale = scaleFactor(requiredHeight, height);
    const float scale = xScale < yScale ? xScale : yScale;

    // Browsers differ in what they show besides JPEG: any other picture is
    // always converted by the image tool, at its own size where it is not scaled.
    const bool convert = format != util::PictureFormat::Jpeg;
    if (convert && copies && !copies->resamples()) {
        problems.report(Problem{.kind = Problem::Kind::NotJpeg,
                                .place = place,
                                .message = QStringLiteral("Picture ") + sourcePath + QStringLiteral(" is a ")
                                           + QString::fromLatin1(util::pictureFormatName(format))
                                           + QStringLiteral(" picture - without an image tool only JPEG pictures "
                                                            "can be copied, so it gets no copy"),
                                .showsLine = !place.pageSource.isEmpty()});
        removeOlderCopy();
    }
    const auto copyOwnSize = [&] {
        if (convert) {
            if (copies && copies->resamples())
                copies->submit(
                    {sourcePath, destinationPath, scaledHeight, scaledWidth, CopyJob::Method::Resample, place, true});
            return;
        }
        copyUnchanged();
    };

    if (scale == FreeSide) {
        // No box at all: nothing to fit, so the picture keeps its own size.
        report(QStringLiteral("Scaling error in Jpeg.scaleImage"));
        scaledHeight = height;
        scaledWidth = width;
        copyOwnSize();
        return;
    }
    if (noScaleUp && scale > 1) {
        scaledHeight = height;
        scaledWidth = width;
        copyOwnSize();
        return;
    }

    scaledHeight = scaledDimension(scale, height);
    scaledWidth = scaledDimension(scale, width);
    if (!copies)
        return;
    // The tool is looked up here, in picture order, when nothing has needed it before.
    if (convert) {
        copyOwnSize();
        return;
    }
    const auto method = copies->resamples() ? CopyJob::Method::Resample : CopyJob::Method::Unchanged;
    copies->submit({sourcePath, destinationPath, scaledHeight, scaledWidth, method, place});
}

} // namespace Jpeg
