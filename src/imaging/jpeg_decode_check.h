// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace Jpeg {

// Whether the JPEG file at path decodes to its end: the size in its header
// says nothing of the data after it, and a copy cut short or damaged shows
// grey below the cut. Decodes at an eighth of the size, in grey, so that the
// check costs a fraction of a full decode; every byte of the compressed data
// is still read, up to the end-of-image marker. Returns "" for a whole
// picture, else the reason: libjpeg's ("Premature end of JPEG file", "Corrupt
// JPEG data: ...") or, for a file that cannot be read, the system's. Never
// waits on a FIFO or device. Any thread.
QString decodeProblem(const QString& path);

} // namespace Jpeg
