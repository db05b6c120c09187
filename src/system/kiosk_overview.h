// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/page_types.h"
#include "system/page_references.h"

#include <QDateTime>
#include <QHash>
#include "pages/page_schedule.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the overview shows of each page of a kiosk system, read cheaply from
// the files alone (no make, no check): the page type (first line), the title
// (the text of the last #title line, as the maker keeps it), whether the
// page is made (its three files exist) and whether that make is newer than
// the page source. The check's problem counts come on top (setProblemCounts).
//
// refresh() reads again only what changed: page folders whose listing or
// page sources whose size or time stamp differ from what was read last.
namespace KioskOverview {

struct PageSummary {
    PageReferences::PageId id;
    QString path;
    PageType type = PageType::Invalid;
    QString title;
    // When the page is on show (its #show lines; always for a root page).
    PageSchedule schedule;
    bool made = false;
    bool upToDate = false;
    int problems = -1; // -1: not known yet
    // Why the page source could not be read ("is not a regular file", "is larger than 64 MB", the system's
    // reason); "" when it was. An unread page has no type and no title.
    QString unreadable;
    // What the summary was read from.
    qint64 size = -1;
    QDateTime modified;
    QDateTime madeAt; // the oldest of the three made files; invalid when not made
};

// The page views a kiosk counted (its state folder's pageviews.csv), copied
// back by the author into the kiosk system folder under this name.
QString pageViewsPath(const QString& kioskFolder);

// What a pageviews.csv holds: the views of each page summed over every day
// (lines "date,page,views", page as "news\today.htm"; files of several kiosks
// put one after the other add up), keyed "news\today". A sum stops at the
// largest qint64. Lines that are no "date,page,count" with a count of 0 or
// more, longer than a line can be, or naming a page beyond the first
// kMostPageViewPages, are not counted. The file is read in pieces, so that
// its size does not matter, and never waited on (a FIFO is refused).
struct PageViews {
    QHash<QString, qint64> views;
    qint64 linesNotCounted = 0; // header lines and empty lines apart
    QString problem;            // why the file could not be read; "" when it was
};
constexpr int kMostPageViewPages = 16384;
PageViews readPageViews(const QString& path);

// Reads one page source and its made files.
PageSummary summarize(const PageReferences::PageId& id, const QString& path);

// The summaries of a kiosk system folder, kept up to date by refresh().
class Overview {
public:
    explicit Overview(QString kioskFolder) : m_folder(std::move(kioskFolder)) {}

    const QString& folder() const { return m_folder; }
    // Reads every page folder and page source.
    void fill();
    // Reads again what changed since the last fill or refresh; returns the
    // paths of the page sources added, changed or gone (their summaries are
    // new or removed). With folder names given, only the pages of those page
    // folders are looked at (the folders a watcher saw change).
    QStringList refresh(const QStringList& onlyFolders = {});
    // The summaries by folder, then page.
    QList<PageSummary> pages() const;
    const PageSummary* page(const QString& path) const;
    QStringList folderNames() const { return m_folders; }

    // Problems by page source path, cleaned (QDir::cleanPath); pages missing from it have none.
    void setProblemCounts(const QHash<QString, int>& counts);

    // Whether the kiosk system folder holds page views (pageViewsPath) that could be read.
    bool hasPageViews() const { return m_viewsStamp.isValid() && m_views.problem.isEmpty(); }
    // What reading them said: why they could not be read, the lines not counted.
    const QString& pageViewsProblem() const { return m_views.problem; }
    qint64 pageViewLinesNotCounted() const { return m_views.linesNotCounted; }
    // The views counted for the page (0 when none or no file).
    qint64 views(const PageReferences::PageId& id) const;
    // Reads the page views again when their file changed (fill reads them); true when it did.
    bool refreshPageViews();

private:
    QString m_folder;
    QStringList m_folders;
    QHash<QString, PageSummary> m_pages; // by path
    PageViews m_views;
    QDateTime m_viewsStamp; // of the page views file read; invalid: none
    qint64 m_viewsSize = -1;
};

} // namespace KioskOverview
