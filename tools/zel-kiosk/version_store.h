// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The versions a following kiosk keeps beside the running one, in a folder of
// the state folder: each version a folder of its own, named by the time it
// was prepared; a version being prepared is a folder starting with
// ".preparing-" until it is complete. state.txt names the version shown
// (current), the one before it (kept for one step back), and the fingerprint
// of the published content last taken or refused, so that a restart neither
// prepares it again nor retries a refused one, and the last refusal. A
// kiosk pulling from an origin keeps there too the origin and the number of
// the latest version the origin offers; each version it pulled holds its
// signed manifest as .zel-manifest.json, which gives its number. The folder
// of the last pulled version dropped stays as ".spare", for the next version
// to be assembled in (the files the two share are there already).
class VersionStore {
public:
    explicit VersionStore(QString root);

    QString root() const { return m_root; }
    // Absolute paths; empty when there is none (or its folder is gone).
    QString current() const;
    QString previous() const;
    QString lastSource() const { return m_source; }
    // The content taken (forgets the last refusal).
    void setLastSource(const QString& fingerprint);
    // The content refused, not to be tried again, with where it was and why.
    void setRefused(const QString& fingerprint, const QString& published, const QString& reason);
    // "TIME FOLDER: REASON" of the last refusal since a version was taken; empty when none.
    QString refused() const { return m_refused; }
    // Content that could not be prepared for want of room (or any failure to
    // write the kiosk's own folder): not refused, tried again; kept as
    // "TIME FOLDER: REASON" until a version is taken or refused.
    void setNotTaken(const QString& published, const QString& reason);
    QString notTaken() const { return m_notTaken; }

    // The manifest kept in a pulled version's folder.
    static QString manifestName() { return QStringLiteral(".zel-manifest.json"); }
    // The number of the pulled version in folder (its manifest's); 0 for a
    // version that was not pulled, or no folder.
    static int versionNumber(const QString& folder);
    // The number of the version whose manifest was just written into folder
    // (it is not read again).
    static void knowVersionNumber(const QString& folder, int number);
    // The numbers a health report gives: the version shown (0: not a pulled
    // one) and the latest the origin offers (0: none seen yet).
    int shownVersion() const { return versionNumber(current()); }
    int availableVersion() const { return m_available; }
    QString origin() const { return m_origin; }
    QString kioskName() const { return m_kiosk; }
    // Each written only when it changes.
    void setPulling(const QString& kioskName, const QString& origin);
    void setAvailable(int version);

    // A new, empty folder to prepare a version in (earlier unfinished ones
    // are removed first).
    QString beginVersion();
    // Removes the folders of versions left unfinished (a run killed or a
    // disk full while preparing).
    void removeUnfinished();
    // Gives the prepared folder its version name; returns the new path.
    QString completeVersion(const QString& preparing);
    // Moves the spare onto the empty folder preparing (a version being
    // prepared); false when there is none.
    bool reuseSpare(const QString& preparing) const;
    // Drops a version that was refused or replaced before it was shown.
    void discard(const QString& version);
    // The version now shown: the one shown before becomes the previous one,
    // and every other version is removed, except keep (a pulled one becomes
    // the spare).
    void setCurrent(const QString& version, const QString& keep = QString());
    // Shows the previous version again at the next start (or the next switch
    // of a following kiosk): current and previous change places. False when
    // there is no previous version.
    bool stepBack();

private:
    void read();
    void write() const;
    QString existing(const QString& name) const;

    QString m_root;
    QString m_current;
    QString m_previous;
    QString m_source;
    QString m_refused;
    QString m_notTaken;
    QString m_origin;
    QString m_kiosk;
    int m_available = 0;
};
