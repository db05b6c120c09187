// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// WebP through libwebp: a still picture, or the first frame of an animation
// on its canvas; the ICC profile and the Exif orientation from their chunks.
#include "picture_limits.h"
#include "resample_error.h"
#include "format_decoders.h"

#include "util/exif_orientation.h"

#include <algorithm>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <sys/mman.h>
#include <webp/decode.h>
#include <webp/demux.h>

namespace {

struct DemuxDeleter {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct IncrementalDeleter {
    void operator()(WebPIDecoder* decoder) const { WebPIDelete(decoder); }
};
struct AnimationDeleter {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

struct FreeDeleter {
    void operator()(std::uint8_t* bytes) const { std::free(bytes); }
};

// Memory for a whole decoded picture, not initialised, in huge pages where
// the system has them: tens of megabytes first touched page by page cost as
// much time in the kernel as the decoding itself.
std::uint8_t* largeBuffer(std::size_t size)
{
    constexpr std::size_t hugePage = std::size_t(2) << 20;
    const std::size_t rounded = (size + hugePage - 1) / hugePage * hugePage;
    auto* bytes = static_cast<std::uint8_t*>(std::aligned_alloc(hugePage, rounded));
    if (bytes != nullptr)
        ::madvise(bytes, rounded, MADV_HUGEPAGE);
    return bytes;
}

// Bytes handed to the decoder at a time.
constexpr std::size_t incrementalStep = 64 * 1024;

[[noreturn]] void fail(const std::string& path, const std::string& reason)
{
    throw UnreadablePictureError("cannot decode " + path + ": " + reason);
}

std::vector<std::uint8_t> chunk(WebPDemuxer* demux, const char* name)
{
    WebPChunkIterator iterator;
    std::vector<std::uint8_t> bytes;
    if (WebPDemuxGetChunk(demux, name, 1, &iterator)) {
        bytes.assign(iterator.chunk.bytes, iterator.chunk.bytes + iterator.chunk.size);
        WebPDemuxReleaseChunkIterator(&iterator);
    }
    return bytes;
}

} // namespace

void decodeWebP(PictureFile& file, PictureRowFeeder& feeder)
{
    const std::string& path = file.path();
    const std::string_view bytes = file.bytes();
    const WebPData data{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
    std::unique_ptr<WebPDemuxer, DemuxDeleter> demux(WebPDemux(&data));
    if (!demux)
        fail(path, "damaged or cut short WebP data");
    const int width = int(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH));
    const int height = int(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT));
    refuseOversizedPicture(path.c_str(), width, height);

    const std::vector<std::uint8_t> profile = chunk(demux.get(), "ICCP");
    const std::vector<std::uint8_t> exif = chunk(demux.get(), "EXIF");
    const int orientation = std::max(1, util::embeddedExifOrientation(exif.data(), exif.size()));
    const std::size_t canvasRow = std::size_t(width) * 4;

    if (WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS) & ANIMATION_FLAG) {
        WebPAnimDecoderOptions options;
        WebPAnimDecoderOptionsInit(&options);
        options.color_mode = MODE_RGBA;
        options.use_threads = 0;
        std::unique_ptr<WebPAnimDecoder, AnimationDeleter> decoder(WebPAnimDecoderNew(&data, &options));
        std::uint8_t* frame = nullptr;
        int timestamp = 0;
        if (!decoder || !WebPAnimDecoderGetNext(decoder.get(), &frame, &timestamp))
            fail(path, "the first frame of the animation cannot be decoded");
        feeder.begin(width, height, 4, orientation, profile);
        for (int y = 0; y < height; ++y)
            feeder.row(frame + std::size_t(y) * canvasRow);
        return;
    }
    WebPIterator frame;
    if (!WebPDemuxGetFrame(demux.get(), 1, &frame))
        fail(path, "the WebP holds no picture");
    // A picture without transparency that fills its canvas is decoded to R, G, B only,
    // and then every byte is written by the decoder; else the rest stays transparent.
    const bool whole = frame.width == width && frame.height == height;
    const bool alpha = frame.has_alpha || !whole;
    const int channels = alpha ? 4 : 3;
    // A whole picture much larger than the copy is shrunk by the decoder itself,
    // before its colours are turned into R, G, B, as the feeder would shrink it.
    const int factor = whole ? feeder.blockFactorFor(width, height, orientation) : 1;
    const int outWidth = width / factor, outHeight = height / factor;
    const std::size_t rowBytes = std::size_t(outWidth) * std::size_t(channels);
    const std::size_t size = rowBytes * std::size_t(outHeight);
    const std::unique_ptr<std::uint8_t, FreeDeleter> pixels(largeBuffer(size));
    if (!pixels)
        throw std::bad_alloc();
    if (!whole)
        std::memset(pixels.get(), 0, size);
    WebPDecoderConfig config;
    WebPInitDecoderConfig(&config);
    // The filtering runs on a second thread; the result is the same.
    config.options.use_threads = 1;
    if (factor > 1) {
        config.options.use_scaling = 1;
        config.options.scaled_width = outWidth;
        config.options.scaled_height = outHeight;
    }
    config.output.colorspace = alpha ? MODE_RGBA : MODE_RGB;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = pixels.get();
    config.output.u.RGBA.stride = int(rowBytes);
    config.output.u.RGBA.size = size;
    const std::uint8_t* const stream = frame.fragment.bytes;
    const std::size_t length = frame.fragment.size;
    WebPDemuxReleaseIterator(&frame);
    std::unique_ptr<WebPIDecoder, IncrementalDeleter> decoder(WebPIDecode(nullptr, 0, &config));
    if (!decoder)
        fail(path, "out of memory");
    // Handed the data a part at a time, the decoder finishes rows that the
    // resampler takes on while the rest is decoded.
    feeder.begin(outWidth, outHeight, channels, orientation, profile);
    int rowsFed = 0;
    VP8StatusCode status = VP8_STATUS_SUSPENDED;
    for (std::size_t given = 0; status == VP8_STATUS_SUSPENDED && given < length;) {
        given = std::min(length, given + incrementalStep);
        status = WebPIUpdate(decoder.get(), stream, given);
        int done = 0;
        if (whole && WebPIDecGetRGB(decoder.get(), &done, nullptr, nullptr, nullptr) != nullptr)
            for (; rowsFed < done; ++rowsFed)
                feeder.row(pixels.get() + std::size_t(rowsFed) * rowBytes);
    }
    if (status != VP8_STATUS_OK)
        fail(path, "damaged or cut short WebP data");
    for (; rowsFed < outHeight; ++rowsFed)
        feeder.row(pixels.get() + std::size_t(rowsFed) * rowBytes);
}
