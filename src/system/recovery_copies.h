// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <utility>

// Recovery copies of the text of changed editors, kept in a folder of the
// user's own (never in a kiosk system), so that a page survives a crash, a
// kill or a lost session. Each editor writes its copy under a name of its
// own and removes it when its page is saved or its changes are dropped; a
// clean end therefore leaves no copies.
//
// A run holds a lock for as long as it lives (released by the system when
// the process ends, however it ends); a copy whose run holds no lock any
// more was left behind by a run that ended without cleaning up.
//
// A copy is replaced atomically, every write checked: a copy that cannot be
// written (a full disk, a folder made read-only) leaves the one written
// before it whole, and the failure is returned with the system's reason.
class RecoveryCopies {
public:
    struct Copy {
        QString kioskFolder; // the kiosk system folder of the page, as opened
        QString pageSource;  // "" for a page that was never saved
        std::int16_t pageType = 0;
        QString text; // the body as the editor held it, LF between lines
    };
    struct LeftCopy {
        QString name;
        Copy copy;
    };

    // folder: where the copies are kept (made when first needed). Takes this
    // run's lock there; without it (folder not writable) nothing is written.
    // Temporaries of copies that killed runs left there are removed. faults
    // (not owned, may be nullptr) is asked before each file operation.
    explicit RecoveryCopies(QString folder, const fileio::FailureHook* faults = nullptr);
    ~RecoveryCopies();
    RecoveryCopies(const RecoveryCopies&) = delete;
    RecoveryCopies& operator=(const RecoveryCopies&) = delete;

    // ZEL_Editor/recovery in the user's data folder (~/.local/share, or XDG_DATA_HOME).
    static QString defaultFolder();
    QString folder() const { return m_folder; }

    // A name for one editor's copy, unique among all runs.
    QString newName();
    // Replaces the copy of that name atomically: "" when it was written, else
    // the system's reason why not (the copy written before stays as it was).
    QString write(const QString& name, const Copy& copy);
    // Removes the copy (nothing when there is none).
    void remove(const QString& name);
    // The copies of ended runs that belong to the kiosk system folder (the
    // same folder however it was written), in the order they were made.
    // Copies that cannot be read are left alone.
    QList<LeftCopy> leftBehind(const QString& kioskFolder) const;

private:
    QString copyPath(const QString& name) const;
    bool runHasEnded(const QString& run) const;

    QString m_folder;
    const fileio::FailureHook* m_faults;
    QString m_unusable; // why the folder cannot hold copies ("" when it can)
    QString m_run;      // this run's name: its lock file and the prefix of its copies
    int m_lock = -1;
    int m_nextCopy = 1;
};
