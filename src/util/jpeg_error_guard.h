// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// Replaces libjpeg's default error handling, which prints and calls exit():
// a fatal error formats its message and long-jumps to `jump`, which the caller
// must have set with setjmp before its first libjpeg call. Warnings that mean
// the compressed data is damaged or cut short (premature end of file, corrupt
// entropy data) are treated as fatal when rejectDamagedData is set, so a broken
// file never yields a half-grey copy. Harmless warnings are ignored silently.
//
// The frame that calls setjmp and every frame between it and libjpeg must hold
// no objects with non-trivial destructors, because the jump skips them.
struct JpegErrorGuard {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool rejectDamagedData;
};

// Prepares guard and returns the pointer to store in cinfo.err.
jpeg_error_mgr* installErrorGuard(JpegErrorGuard& guard, bool rejectDamagedData);

// Ends the libjpeg work of info (whose err is a guard) with reason as the
// message, as a fatal libjpeg error would; for checks made from callbacks.
[[noreturn]] void failGuarded(j_common_ptr info, const char* reason);
