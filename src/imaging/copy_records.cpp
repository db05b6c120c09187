// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/copy_records.h"

#include "imaging/copy_reuse.h"

namespace Jpeg {

CopyRecord& CopyRecords::of(const QString& imagesFolder)
{
    auto found = m_records.find(imagesFolder);
    if (found == m_records.end())
        found = m_records.insert(imagesFolder, CopyRecord::load(imagesFolder));
    return *found;
}

const QString& CopyRecords::toolIdentityOf(const QString& program)
{
    auto found = m_tools.find(program);
    if (found == m_tools.end())
        found = m_tools.insert(program, toolIdentity(program));
    return *found;
}

void CopyRecords::saveChanged(const fileio::FailureHook* fileFaults) const
{
    for (const CopyRecord& record : m_records) {
        if (record.changed())
            record.save(fileFaults);
    }
}

} // namespace Jpeg
