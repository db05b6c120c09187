// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The folders a make writes into: each is made when missing and cleared of
// the temporaries a killed make left there, the first time it is asked for.
class OutputFolders {
public:
    // Returns folder, ready to write into.
    const QString& prepared(const QString& folder);
    // As prepared(), but a symbolic link at folder (to a folder or not) is
    // refused, never written through: false, and firstRefusal tells whether
    // this make asks for it the first time (so that it is reported once).
    bool preparedUnlessLink(const QString& folder, bool& firstRefusal);
    // Forgets every folder, so that the next make prepares them again.
    void clear()
    {
        m_prepared.clear();
        m_refused.clear();
    }

private:
    QStringList m_prepared;
    QStringList m_refused;
};
