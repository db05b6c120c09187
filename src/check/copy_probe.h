// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "imaging/copy_job.h"
#include "imaging/copy_records.h"

#include <QString>
#include <functional>
#include <optional>

class Session;

// Stands in for the picture copies of a make in the kiosk check's dry run:
// asks the copy records and the rules a make keeps copies by whether each
// copy would be kept, and tells which would be made again or removed. Writes
// nothing, not even a copy record.
class CopyProbe : public Jpeg::CopySink {
public:
    // Receives the name of each copy a make would write anew or remove, as
    // the page links it ("images\" + name).
    using ChangeHandler = std::function<void(const QString& copy, bool removed)>;

    // The image tool is the session's, looked up as a make does.
    CopyProbe(Session& session, ChangeHandler changed);

    bool resamples() override;
    void submit(const Jpeg::CopyJob& job) override;
    void removeOlder(const QString& path) override;

private:
    Session& m_session;
    ChangeHandler m_changed;
    Jpeg::CopyRecords m_records;     // read, never saved
    std::optional<bool> m_resamples; // once the tool is looked at
};
