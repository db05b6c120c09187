// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// What a running kiosk tells a monitoring tool: written whole to heartbeat.txt
// in the state folder every few seconds, one "key: value" line each (LF, times
// in UTC with their zone), and printed by zel-kiosk --status.
struct Heartbeat {
    QString version; // the program's
    qint64 pid = 0;
    QDateTime started;
    QDateTime written;
    QString shown;    // the folder of the kiosk system shown
    QString openNow;  // "yes", or "no" outside the opening hours
    int restarts = 0; // pages brought back to the root page, carried over from run to run
    QDateTime lastRestart;
    QString lastRestartReason;
    int failing = 0;  // failed restarts in a row now (0: every page healthy)
    QString lastPage; // the last page shown to a visitor, relative to the kiosk system
    QDateTime lastPageTime;
    int heartbeatSeconds = 10;
    // How the kiosk ended, completing "ended ...": "by the quit keys", "by
    // SIGTERM", "after 5 failed restarts in a row"; empty while it runs.
    QString ended;

    // Replaces the file whole; a failure raises fileio::FileError.
    void write(const QString& path) const;
    // Reads the file when it is a small regular file (never waits on a FIFO);
    // old files with CRLF, local times and "ended: yes" are read too.
    static std::optional<Heartbeat> read(const QString& path);

    // The state in a word ("running", "restart loop", "ended", "gone",
    // "silent") and the status line a person reads ("state: running",
    // "state: not running (process 42 is gone)", ...). A kiosk whose process
    // is gone is reported at once, without waiting for the heartbeat to age.
    QString state(const QDateTime& now) const;
    QString stateText(const QDateTime& now) const;
    // Every field, the uptime and the state line first.
    QString statusText(const QDateTime& now) const;
    // The same as one JSON object.
    QString statusJson(const QDateTime& now) const;
    // Running, and not caught in a restart loop.
    bool alive(const QDateTime& now) const;
};

// "3 d 04:05:06".
QString durationText(qint64 seconds);
