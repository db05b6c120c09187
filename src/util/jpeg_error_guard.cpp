// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/jpeg_error_guard.h"

#include <cstdio>
#include <cstring>

#include <jerror.h>

namespace {

JpegErrorGuard& guardOf(j_common_ptr info)
{
    // manager is the first member, so the error pointer is the guard's address.
    return *reinterpret_cast<JpegErrorGuard*>(info->err);
}

[[noreturn]] void failWithMessage(j_common_ptr info)
{
    JpegErrorGuard& guard = guardOf(info);
    (*info->err->format_message)(info, guard.message);
    std::longjmp(guard.jump, 1);
}

bool meansDamagedData(int messageCode)
{
    switch (messageCode) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_NOT_SEQUENTIAL:
        return true;
    default:
        return false;
    }
}

void errorExit(j_common_ptr info) { failWithMessage(info); }

void emitMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return; // trace output
    JpegErrorGuard& guard = guardOf(info);
    info->err->num_warnings++;
    if (guard.rejectDamagedData && meansDamagedData(info->err->msg_code))
        failWithMessage(info);
}

void outputMessage(j_common_ptr)
{
    // Nothing goes to stderr from libjpeg; failures are reported by the caller.
}

} // namespace

jpeg_error_mgr* installErrorGuard(JpegErrorGuard& guard, bool rejectDamagedData)
{
    std::memset(guard.message, 0, sizeof guard.message);
    guard.rejectDamagedData = rejectDamagedData;
    jpeg_error_mgr* manager = jpeg_std_error(&guard.manager);
    manager->error_exit = errorExit;
    manager->emit_message = emitMessage;
    manager->output_message = outputMessage;
    return manager;
}

void failGuarded(j_common_ptr info, const char* reason)
{
    JpegErrorGuard& guard = guardOf(info);
    std::snprintf(guard.message, sizeof guard.message, "%s", reason);
    guard.manager.msg_code = 0;
    std::longjmp(guard.jump, 1);
}
