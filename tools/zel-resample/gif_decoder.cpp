// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// GIF through giflib: the first frame, placed on the logical screen as a
// browser shows it before animating; outside the frame and its transparent
// colour stay transparent.
#include "picture_limits.h"
#include "resample_error.h"
#include "format_decoders.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <gif_lib.h>
#include <memory>

namespace {

struct GifRead {
    std::FILE* stream = nullptr;
};

int readBytes(GifFileType* gif, GifByteType* out, int length)
{
    auto* read = static_cast<GifRead*>(gif->UserData);
    return length > 0 ? int(std::fread(out, 1, std::size_t(length), read->stream)) : 0;
}

struct StreamCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

[[noreturn]] void fail(const std::string& path, int error)
{
    const char* reason = GifErrorString(error);
    throw UnreadablePictureError("cannot decode " + path + ": " + (reason ? reason : "damaged GIF data"));
}

} // namespace

void decodeGif(PictureFile& file, PictureRowFeeder& feeder)
{
    const std::string& path = file.path();
    const std::unique_ptr<std::FILE, StreamCloser> stream(file.newStream());
    GifRead read{stream.get()};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&read, readBytes, &error));
    if (!gif)
        fail(path, error);
    const int screenWidth = gif->SWidth;
    const int screenHeight = gif->SHeight;
    refuseOversizedPicture(path.c_str(), screenWidth, screenHeight);

    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            fail(path, gif->Error);
        if (type == TERMINATE_RECORD_TYPE)
            throw UnreadablePictureError("cannot decode " + path + ": the GIF holds no picture");
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* extension = nullptr;
            if (DGifGetExtension(gif.get(), &code, &extension) == GIF_ERROR)
                fail(path, gif->Error);
            if (code == GRAPHICS_EXT_FUNC_CODE && extension != nullptr && extension[0] >= 4 && (extension[1] & 1))
                transparent = extension[4];
            while (extension != nullptr)
                if (DGifGetExtensionNext(gif.get(), &extension) == GIF_ERROR)
                    fail(path, gif->Error);
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            fail(path, gif->Error);
        const GifImageDesc& frame = gif->Image;
        const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
        if (colours == nullptr)
            throw UnreadablePictureError("cannot decode " + path + ": the GIF has no colour table");
        refuseOversizedPicture(path.c_str(), frame.Width, frame.Height);

        // The frame's colours as R, G, B, A; its transparent colour and indices past
        // the table stay transparent, as do rows and columns outside the frame.
        std::array<std::uint32_t, 256> palette{};
        for (int index = 0; index < std::min(colours->ColorCount, 256); ++index)
            if (index != transparent) {
                const GifColorType& colour = colours->Colors[index];
                const std::uint8_t pixel[4] = {colour.Red, colour.Green, colour.Blue, 255};
                std::memcpy(&palette[std::size_t(index)], pixel, sizeof pixel);
            }
        const int firstColumn = std::max(0, -frame.Left);
        const int endColumn = std::max(firstColumn, std::min(frame.Width, screenWidth - frame.Left));
        std::vector<std::uint8_t> row(std::size_t(screenWidth) * 4);
        const auto feedRow = [&](int y, const GifPixelType* line) {
            const int inFrame = y - frame.Top;
            if (line == nullptr || inFrame < 0 || inFrame >= frame.Height || firstColumn == endColumn) {
                std::fill(row.begin(), row.end(), 0);
            } else {
                const auto begin = row.begin() + std::ptrdiff_t(frame.Left + firstColumn) * 4;
                const auto end = row.begin() + std::ptrdiff_t(frame.Left + endColumn) * 4;
                std::fill(row.begin(), begin, 0);
                std::fill(end, row.end(), 0);
                std::uint8_t* out = &*begin;
                for (int x = firstColumn; x < endColumn; ++x, out += 4)
                    std::memcpy(out, &palette[line[x]], 4);
            }
            feeder.row(row.data());
        };
        feeder.begin(screenWidth, screenHeight, 4, 1, {});
        if (frame.Interlace) {
            // Every 8th row comes first, then the 4th, 2nd and the rest: the frame is kept whole.
            std::unique_ptr<GifPixelType[]> lines(
                new GifPixelType[std::size_t(frame.Width) * std::size_t(frame.Height)]);
            static const int starts[] = {0, 4, 2, 1};
            static const int steps[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = starts[pass]; y < frame.Height; y += steps[pass])
                    if (DGifGetLine(gif.get(), lines.get() + std::size_t(y) * std::size_t(frame.Width), frame.Width)
                        == GIF_ERROR)
                        fail(path, gif->Error);
            for (int y = 0; y < screenHeight; ++y) {
                const int inFrame = y - frame.Top;
                feedRow(y, inFrame >= 0 && inFrame < frame.Height
                               ? lines.get() + std::size_t(inFrame) * std::size_t(frame.Width)
                               : nullptr);
            }
            return;
        }
        std::vector<GifPixelType> line(std::size_t(frame.Width));
        int linesRead = 0;
        const auto readLine = [&] {
            if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR)
                fail(path, gif->Error);
            ++linesRead;
        };
        for (int y = 0; y < screenHeight; ++y) {
            const int inFrame = y - frame.Top;
            if (inFrame >= 0 && inFrame < frame.Height) {
                readLine();
                feedRow(y, line.data());
            } else {
                feedRow(y, nullptr);
            }
        }
        // The rest of a frame reaching below the screen must still be whole.
        while (linesRead < frame.Height)
            readLine();
        return;
    }
}
