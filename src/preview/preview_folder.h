// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QStringList>
#include <cstdint>

// What the preview makes: a page source as an editor holds it, saved or not.
struct PreviewPage {
    QString kioskFolder; // the open kiosk system's folder, ending with the separator
    QString pageSource;  // the page source's path; "" for a page never saved
    std::int16_t pageType = 0;
    QString body; // the editor's text, lines separated by LF
    // Configuration lines (name, value) the page is made with: the open
    // kiosk system's values, so the preview is laid out as its Make is.
    QList<QPair<QString, QString>> settings;
};

// The private folder a preview is made in, outside the kiosk system: a
// kiosk system of its own whose page folders, shared files and pictures are
// symbolic links to the kiosk system's, except for the previewed page's
// folder. That one is a real folder holding the page source written from the
// editor's text, links to its other files, and an "images" folder seeded
// with links to the kiosk system's picture copies and a copy of their record,
// so the maker keeps the copies the record shows current and writes any
// others here (made again each time, so that the kiosk check of the page
// sees the copies of the kiosk system). Nothing is ever written into the
// kiosk system.
class PreviewFolder {
public:
    // root: the folder to work in (made when missing).
    explicit PreviewFolder(QString root);

    // Brings the folder up to date for the page and writes its page source;
    // returns that page source's path. Raises RuntimeError when the folder
    // cannot be written.
    QString prepare(const PreviewPage& page);

    // The preview's kiosk system folder, ending with the separator.
    QString kioskFolder() const;
    // The made page (frameset) of the page source prepare returned last.
    QString madePage() const;
    // text with every path of the preview folder turned into the kiosk
    // system's (messages name the page source the author knows).
    QString inKioskTerms(const QString& text) const;
    // Removes the logs a make opened in the preview's kiosk system folder.
    void removeLogs() const;
    // Removes everything below root.
    void clear();

    // Removes the preview folders in previews (one per run, named by its
    // process id) of runs that no longer run: a killed or crashed run leaves
    // its own behind. A folder whose process runs and had started by the
    // time the folder was last written is a running program's (another ZEL's
    // too) and stays; so does anything not named by a number. Failures are
    // ignored.
    static void removeFoldersOfDeadRuns(const QString& previews);

    // The page folder name used for a page never saved (no page folder has
    // such a name, since names are lower case letters, digits, "_" and "-").
    static const QString NewPageFolder;

private:
    void linkEntries(const QString& from, const QString& to, const QStringList& except) const;
    void seedCopies(const QString& kioskImages, const QString& images);
    bool onlySeededLinks(const QString& images) const;

    QString m_root;
    QString m_kioskFolder;      // the kiosk system the folder mirrors now
    QString m_pageFolder;       // the previewed page's folder in the kiosk system
    QString m_pageSource;       // in the preview folder
    QByteArray m_seededRecord;  // the kiosk system's copy record when the copies were seeded
    QStringList m_seededCopies; // the names linked then, in order
    bool m_seeded = false;
};
