// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "heif_library.h"

#include <dlfcn.h>

namespace util {

namespace {

// The library of the version whose header the programs are built against.
constexpr const char* libraryName = "libheif.so.1";

struct Loaded {
    HeifLibrary functions{};
    bool complete = false;
    std::string reason;
};

template <typename Function>
bool resolve(void* handle, const char* name, Function& function, std::string& reason)
{
    function = reinterpret_cast<Function>(::dlsym(handle, name));
    if (function == nullptr && reason.empty())
        reason = std::string(libraryName) + " has no " + name;
    return function != nullptr;
}

Loaded load()
{
    Loaded loaded;
    // Never closed: the pictures' memory belongs to it until the process ends.
    void* handle = ::dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = ::dlerror();
        loaded.reason = error != nullptr ? error : std::string(libraryName) + " cannot be loaded";
        return loaded;
    }
    HeifLibrary& f = loaded.functions;
    std::string& why = loaded.reason;
    loaded.complete =
        resolve(handle, "heif_context_alloc", f.contextAlloc, why)
        && resolve(handle, "heif_context_free", f.contextFree, why)
        && resolve(handle, "heif_context_set_maximum_image_size_limit", f.contextSetMaximumImageSizeLimit, why)
        && resolve(handle, "heif_context_read_from_memory_without_copy", f.contextReadFromMemoryWithoutCopy, why)
        && resolve(handle, "heif_context_read_from_reader", f.contextReadFromReader, why)
        && resolve(handle, "heif_context_get_primary_image_handle", f.contextGetPrimaryImageHandle, why)
        && resolve(handle, "heif_image_handle_release", f.imageHandleRelease, why)
        && resolve(handle, "heif_image_handle_get_width", f.imageHandleGetWidth, why)
        && resolve(handle, "heif_image_handle_get_height", f.imageHandleGetHeight, why)
        && resolve(handle, "heif_image_handle_has_alpha_channel", f.imageHandleHasAlphaChannel, why)
        && resolve(handle, "heif_image_handle_get_color_profile_type", f.imageHandleGetColorProfileType, why)
        && resolve(handle, "heif_image_handle_get_raw_color_profile_size", f.imageHandleGetRawColorProfileSize, why)
        && resolve(handle, "heif_image_handle_get_raw_color_profile", f.imageHandleGetRawColorProfile, why)
        && resolve(handle, "heif_decode_image", f.decodeImage, why)
        && resolve(handle, "heif_image_release", f.imageRelease, why)
        && resolve(handle, "heif_image_get_width", f.imageGetWidth, why)
        && resolve(handle, "heif_image_get_height", f.imageGetHeight, why)
        && resolve(handle, "heif_image_get_plane_readonly", f.imageGetPlaneReadonly, why);
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
