// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// HEIC and AVIF through libheif: the primary picture with its rotation,
// mirroring and crop applied (so it is upright), its ICC profile kept.
#include "picture_limits.h"
#include "resample_error.h"
#include "format_decoders.h"

#include "util/heif_library.h"

#include <memory>

namespace {

struct ContextDeleter {
    void operator()(heif_context* context) const { util::heifLibrary()->contextFree(context); }
};
struct HandleDeleter {
    void operator()(heif_image_handle* handle) const { util::heifLibrary()->imageHandleRelease(handle); }
};
struct ImageDeleter {
    void operator()(heif_image* image) const { util::heifLibrary()->imageRelease(image); }
};

void check(const std::string& path, const heif_error& error)
{
    if (error.code != heif_error_Ok)
        throw UnreadablePictureError("cannot decode " + path + ": "
                                     + (error.message && *error.message ? error.message : "damaged HEIF data"));
}

// Tiles and grids larger than this side are refused by libheif itself.
constexpr int maximumSide = 65535;

} // namespace

void decodeHeif(PictureFile& file, PictureRowFeeder& feeder)
{
    const std::string& path = file.path();
    const std::string_view bytes = file.bytes();
    std::string reason;
    const util::HeifLibrary* heif = util::heifLibrary(&reason);
    if (heif == nullptr)
        throw UnreadablePictureError("cannot decode " + path + ": " + reason);
    std::unique_ptr<heif_context, ContextDeleter> context(heif->contextAlloc());
    if (!context)
        throw UnreadablePictureError("cannot decode " + path + ": out of memory");
    heif->contextSetMaximumImageSizeLimit(context.get(), maximumSide);
    check(path, heif->contextReadFromMemoryWithoutCopy(context.get(), bytes.data(), bytes.size(), nullptr));
    heif_image_handle* rawHandle = nullptr;
    check(path, heif->contextGetPrimaryImageHandle(context.get(), &rawHandle));
    std::unique_ptr<heif_image_handle, HandleDeleter> handle(rawHandle);
    refuseOversizedPicture(path.c_str(), heif->imageHandleGetWidth(handle.get()),
                           heif->imageHandleGetHeight(handle.get()));

    std::vector<std::uint8_t> profile;
    const heif_color_profile_type profileType = heif->imageHandleGetColorProfileType(handle.get());
    if (profileType == heif_color_profile_type_prof || profileType == heif_color_profile_type_rICC) {
        profile.resize(heif->imageHandleGetRawColorProfileSize(handle.get()));
        if (heif->imageHandleGetRawColorProfile(handle.get(), profile.data()).code != heif_error_Ok)
            profile.clear();
    }
    // A picture without transparency is decoded to R, G, B only.
    const bool alpha = heif->imageHandleHasAlphaChannel(handle.get()) != 0;
    const int channels = alpha ? 4 : 3;
    heif_image* rawImage = nullptr;
    check(path, heif->decodeImage(handle.get(), &rawImage, heif_colorspace_RGB,
                                  alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr));
    std::unique_ptr<heif_image, ImageDeleter> image(rawImage);
    const int width = heif->imageGetWidth(image.get(), heif_channel_interleaved);
    const int height = heif->imageGetHeight(image.get(), heif_channel_interleaved);
    refuseOversizedPicture(path.c_str(), width, height);
    int stride = 0;
    const std::uint8_t* plane = heif->imageGetPlaneReadonly(image.get(), heif_channel_interleaved, &stride);
    if (plane == nullptr || stride < width * channels)
        throw UnreadablePictureError("cannot decode " + path + ": the decoded picture has no pixels");
    // Upright already: libheif applies the rotation and mirroring.
    feeder.begin(width, height, channels, 1, profile);
    for (int y = 0; y < height; ++y)
        feeder.row(plane + std::size_t(y) * std::size_t(stride));
}
