// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libheif/heif.h>
#include <string>

namespace util {

// The libheif functions the programs use, from the library loaded the first
// time a HEIC or AVIF picture is read. Linked at start, libheif brings its
// encoders and decoders and their set-up (about 10 ms of every start of every
// program), which pictures of other formats never need.
struct HeifLibrary {
    decltype(&heif_context_alloc) contextAlloc;
    decltype(&heif_context_free) contextFree;
    decltype(&heif_context_set_maximum_image_size_limit) contextSetMaximumImageSizeLimit;
    decltype(&heif_context_read_from_memory_without_copy) contextReadFromMemoryWithoutCopy;
    decltype(&heif_context_read_from_reader) contextReadFromReader;
    decltype(&heif_context_get_primary_image_handle) contextGetPrimaryImageHandle;
    decltype(&heif_image_handle_release) imageHandleRelease;
    decltype(&heif_image_handle_get_width) imageHandleGetWidth;
    decltype(&heif_image_handle_get_height) imageHandleGetHeight;
    decltype(&heif_image_handle_has_alpha_channel) imageHandleHasAlphaChannel;
    decltype(&heif_image_handle_get_color_profile_type) imageHandleGetColorProfileType;
    decltype(&heif_image_handle_get_raw_color_profile_size) imageHandleGetRawColorProfileSize;
    decltype(&heif_image_handle_get_raw_color_profile) imageHandleGetRawColorProfile;
    decltype(&heif_decode_image) decodeImage;
    decltype(&heif_image_release) imageRelease;
    decltype(&heif_image_get_width) imageGetWidth;
    decltype(&heif_image_get_height) imageGetHeight;
    decltype(&heif_image_get_plane_readonly) imageGetPlaneReadonly;
};

// The loaded library; nullptr when it cannot be loaded, with the loader's
// reason in reason. Loaded once per process; safe from any thread.
const HeifLibrary* heifLibrary(std::string* reason = nullptr);

} // namespace util
