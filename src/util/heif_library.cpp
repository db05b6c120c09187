// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "heif_library.h"

#include "loaded_library.h"

namespace util {

namespace {

struct Loaded {
    HeifLibrary functions{};
    bool complete = false;
    std::string reason;
};

Loaded load()
{
    Loaded loaded;
    // The library of the version whose header the programs are built against;
    // the pictures' memory belongs to it until the process ends.
    LoadedLibrary library("libheif.so.1");
    HeifLibrary& f = loaded.functions;
    library.resolve("heif_context_alloc", f.contextAlloc)
        .resolve("heif_context_free", f.contextFree)
        .resolve("heif_context_set_maximum_image_size_limit", f.contextSetMaximumImageSizeLimit)
        .resolve("heif_context_read_from_memory_without_copy", f.contextReadFromMemoryWithoutCopy)
        .resolve("heif_context_read_from_reader", f.contextReadFromReader)
        .resolve("heif_context_get_primary_image_handle", f.contextGetPrimaryImageHandle)
        .resolve("heif_image_handle_release", f.imageHandleRelease)
        .resolve("heif_image_handle_get_width", f.imageHandleGetWidth)
        .resolve("heif_image_handle_get_height", f.imageHandleGetHeight)
        .resolve("heif_image_handle_has_alpha_channel", f.imageHandleHasAlphaChannel)
        .resolve("heif_image_handle_get_color_profile_type", f.imageHandleGetColorProfileType)
        .resolve("heif_image_handle_get_raw_color_profile_size", f.imageHandleGetRawColorProfileSize)
        .resolve("heif_image_handle_get_raw_color_profile", f.imageHandleGetRawColorProfile)
        .resolve("heif_decode_image", f.decodeImage)
        .resolve("heif_image_release", f.imageRelease)
        .resolve("heif_image_get_width", f.imageGetWidth)
        .resolve("heif_image_get_height", f.imageGetHeight)
        .resolve("heif_image_get_plane_readonly", f.imageGetPlaneReadonly);
    loaded.complete = library.complete();
    loaded.reason = library.reason();
    return loaded;
}

} // namespace

const HeifLibrary* heifLibrary(std::string* reason)
{
    static const Loaded loaded = load();
    if (!loaded.complete && reason != nullptr)
        *reason = loaded.reason;
    return loaded.complete ? &loaded.functions : nullptr;
}

} // namespace util
