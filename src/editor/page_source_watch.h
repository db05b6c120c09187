// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QFileSystemWatcher;
class QTimer;
class Session;

// Watches an editor's page source on disk and decides what a change made by
// another program means for the editor.
//
// The page source and its folder are watched; the notices of one write are
// let settle (settled() comes a moment after the last one). look() compares
// the disk with the stored page: a page source that has gone, or an outside
// change the author keeps out, leaves the editor's text counting as changed;
// an outside change not asked about before is offered for reloading.
// mayReplace() asks before a save writes over an outside change (No by
// default). While one of these questions is open no other is asked.
class PageSourceWatch : public QObject {
    Q_OBJECT
public:
    // What the watch reads of its editor's page.
    struct Page {
        std::function<QString()> path;                  // "" for a page never saved
        std::function<const QByteArray*()> storedBytes; // as last read or written; null for a new page
    };
    // What the look at the disk asks of the editor.
    enum class Outcome {
        Nothing,     // nothing to do
        MarkChanged, // the text area holds the only copy, or differs from the disk now
        Reload,      // the author wants the page source read again
    };

    PageSourceWatch(Session& session, Page page, QObject* parent);
    ~PageSourceWatch() override;

    // Watches the page's path afresh.
    void watch();
    // The page source was just read or written: watched afresh, and an
    // outside change to come is asked about even when it repeats one asked
    // about before.
    void sourceStored();
    // Looks at the page source on disk; changedHere: the editor's text was
    // edited since it was loaded or saved.
    Outcome look(bool changedHere);
    // True when the page source on disk may be replaced: unchanged from
    // outside, gone, or the author said so.
    bool mayReplace();

signals:
    // The page source's notices have stopped for a moment.
    void settled();

private:
    void touched();
    // The page source's bytes now; none when it cannot be read.
    std::optional<QByteArray> bytesOnDisk() const;
    bool changedOnDisk(const QByteArray& disk) const;

    Session& m_session;
    Page m_page;
    // The outside version of the page source the author was last asked about.
    std::optional<QByteArray> m_outsideSeen;
    bool m_askingAboutDisk = false;
    QFileSystemWatcher* m_watcher = nullptr;
    QTimer* m_diskSettleTimer = nullptr;
};
