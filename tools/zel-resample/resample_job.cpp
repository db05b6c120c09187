// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "resample_job.h"

#include "atomic_file.h"
#include "background_row_consumer.h"
#include "jpeg_encoder.h"
#include "lanczos_resampler.h"
#include "orientation.h"
#include "picture_decoder.h"

#include <memory>
#include <thread>

namespace {

// Resamples the decoded rows, in the stored orientation, to the copy's size
// turned the same way; the small result is turned upright afterwards. With
// more than one core the resampling runs beside the decoding.
class ResamplingSink : public DecodedRowSink {
public:
    ResamplingSink(int uprightWidth, int uprightHeight) : m_width(uprightWidth), m_height(uprightHeight) {}

    void begin(int width, int height, int channels, int orientation) override
    {
        m_orientation = orientation;
        const bool swap = util::orientationSwapsSides(orientation);
        m_resampler = std::make_unique<LanczosResampler>(width, height, swap ? m_height : m_width,
                                                         swap ? m_width : m_height, channels);
        if (std::thread::hardware_concurrency() > 1)
            m_background = std::make_unique<BackgroundRowConsumer>(
                [resampler = m_resampler.get()](const std::uint8_t* row) { resampler->addRow(row); },
                static_cast<std::size_t>(width) * channels);
    }

    void row(const std::uint8_t* pixels) override
    {
        if (m_background)
            m_background->push(pixels);
        else
            m_resampler->addRow(pixels);
    }

    Image uprightResult()
    {
        if (m_background)
            m_background->finish();
        return applyOrientation(m_resampler->takeResult(), m_orientation);
    }

private:
    int m_width;
    int m_height;
    int m_orientation = 1;
    std::unique_ptr<LanczosResampler> m_resampler;
    // Declared last so that its thread stops before the resampler goes.
    std::unique_ptr<BackgroundRowConsumer> m_background;
};

} // namespace

void runResample(const ResampleArguments& request)
{
    // Made first: an unwritable folder fails before the long decoding, and the
    // temporary file stays out of the way until the copy is complete.
    AtomicFile destination(request.destinationPath);
    ResamplingSink sink(request.width, request.height);
    decodePictureForCopy(request.sourcePath, request.width, request.height, sink);
    const Image upright = sink.uprightResult();

    encodeJpeg(upright, destination.stream(), request.destinationPath);
    destination.commit();
}
