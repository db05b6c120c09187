// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "imaging/copy_job.h"
#include "imaging/copy_record.h"

#include <optional>

namespace Jpeg {

// The identity of an image tool program: its path, size and time stamps, so
// that another tool, or the same tool rebuilt, makes its copies anew.
QString toolIdentity(const QString& program);

// The record entry the job asks for, before its source and copy are looked at.
CopyRecordEntry intendedEntry(const CopyJob& job, const QString& tool);

struct CopyOutcome {
    bool reused = false;                  // the copy on disk was kept
    std::optional<CopyRecordEntry> entry; // what to record for the copy; none: forget it
    bool noCopy = false;                  // the picture cannot be read: the old copy must go
};

// Whether makeCopyUnlessRecorded would keep the copy at job.destination as
// it is. Only reads: stamps, and the content of files whose stamps are not trusted.
bool wouldKeep(const CopyJob& job, const QString& tool, const std::optional<CopyRecordEntry>& previous);

// Keeps the copy at job.destination when previous records the same inputs, a
// source of the same content and the copy as it is now; otherwise makes the
// copy (makeCopy) at writeTo (job.destination when empty) and describes it
// (its stamp is that of the file at writeTo). Stamps are trusted for a file
// only when the file's last change lies clearly before the moment they were
// recorded; otherwise the content is hashed. A resampled copy is described
// only when the tool's output decoded to its end (resampleImage), so keeping
// a copy by its record never takes a copy cut short: one cut since no longer
// matches its record and is made anew. Raises RuntimeError as makeCopy
// does; reports to services.problems.
CopyOutcome makeCopyUnlessRecorded(const CopyJob& job, const QString& tool,
                                   const std::optional<CopyRecordEntry>& previous, const QString& writeTo,
                                   const CopyServices& services);

} // namespace Jpeg
