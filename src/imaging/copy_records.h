// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"
#include "imaging/copy_record.h"

#include <QHash>
#include <QString>

namespace Jpeg {

// The copy records of the images folders one make (or one check) reaches,
// each loaded on first need, and the identity of each image tool asked for
// (toolIdentity), looked up once. Main thread only.
class CopyRecords {
public:
    CopyRecord& of(const QString& imagesFolder);
    const QString& toolIdentityOf(const QString& program);
    // Saves every record that changed; a record that cannot be saved is left
    // to be made anew by the next make.
    void saveChanged(const fileio::FailureHook* fileFaults) const;

private:
    QHash<QString, CopyRecord> m_records;
    QHash<QString, QString> m_tools;
};

} // namespace Jpeg
