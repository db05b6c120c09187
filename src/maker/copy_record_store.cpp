// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The copy records of the images folders a make writes to.
#include "maker/copy_record_store.h"

#include "maker/copy_jobs.h"

#include <QFileInfo>

QString CopyRecordStore::toolIdentityFor(const Jpeg::CopyJob& copy, const QString& program)
{
    return copy.method == Jpeg::CopyJob::Method::Resample ? m_records.toolIdentityOf(program) : QString();
}

std::optional<Jpeg::CopyRecordEntry> CopyRecordStore::previousOf(const QString& destination)
{
    const QFileInfo file(destination);
    return m_records.of(file.path()).find(file.fileName());
}

void CopyRecordStore::note(const BackgroundCopy& job)
{
    Jpeg::CopyRecord& record = m_records.of(job.folder);
    if (job.outcome.entry && !job.error)
        record.put(job.copyName, *job.outcome.entry);
    else
        record.remove(job.copyName);
}
