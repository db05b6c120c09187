#include "resample_job.h"

#include "atomic_file.h"
#include "jpeg_decoder.h"
#include "jpeg_encoder.h"
#include "lanczos_resampler.h"
#include "orientation.h"
#include "resample_error.h"

#include <memory>
#include <string>

namespace {

// Resamples the decoded rows, in the stored orientation, to the copy's size
// turned the same way; the small result is turned upright afterwards.
class ResamplingSink : public DecodedRowSink
{
public:
    ResamplingSink(int uprightWidth, int uprightHeight) : m_width(uprightWidth), m_height(uprightHeight) {}

    void begin(int width, int height, int channels, int orientation) override
    {
        // Guards the multiplications below against absurd sources.
        constexpr long long maximumSourcePixels = 1LL << 32;
        if (static_cast<long long>(width) * height > maximumSourcePixels)
            throw ResampleError("picture too large (" + std::to_string(width) + "x" + std::to_string(height) + ")");
        m_orientation = orientation;
        const bool swap = orientationSwapsSides(orientation);
        m_resampler = std::make_unique<LanczosResampler>(width, height, swap ? m_height : m_width,
                                                         swap ? m_width : m_height, channels);
    }

    void row(const std::uint8_t* pixels) override { m_resampler->addRow(pixels); }

    Image uprightResult() { return applyOrientation(m_resampler->takeResult(), m_orientation); }

private:
    int m_width;
    int m_height;
    int m_orientation = 1;
    std::unique_ptr<LanczosResampler> m_resampler;
};

} // namespace

void runResample(const ResampleArguments& request)
{
    ResamplingSink sink(request.width, request.height);
    decodeJpegForCopy(request.sourcePath, request.width, request.height, sink);
    const Image upright = sink.uprightResult();

    AtomicFile destination(request.destinationPath);
    encodeJpeg(upright, destination.stream());
    destination.commit();
}
