// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "imaging/copy_job.h"
#include "imaging/copy_records.h"

#include <QString>
#include <optional>

struct BackgroundCopy;

// What a make knows of the copies in the images folders it writes to (their
// copy records): looked up before a copy is made, brought up to date as each
// copy is put in place, saved at the end. Main thread only.
class CopyRecordStore {
public:
    // The image tool's identity for a copy that resamples; "" for a plain copy.
    QString toolIdentityFor(const Jpeg::CopyJob& copy, const QString& program);
    // The entry recorded for the copy at destination, if any.
    std::optional<Jpeg::CopyRecordEntry> previousOf(const QString& destination);
    // Records a copy put in place, or forgets one that failed or is gone.
    void note(const BackgroundCopy& job);
    // Saves every record that changed (Jpeg::CopyRecords::saveChanged).
    void save(const fileio::FailureHook* fileFaults) const { m_records.saveChanged(fileFaults); }

private:
    Jpeg::CopyRecords m_records;
};
