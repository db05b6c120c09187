#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// What a running kiosk tells a monitoring tool: written whole to heartbeat.txt
// in the state folder every few seconds, one "key: value" line each, and
// printed by zel-kiosk --status.
struct Heartbeat {
    QString version; // the program's
    qint64 pid = 0;
    QDateTime started;
    QDateTime written;
    QString shown;    // the folder of the kiosk system shown
    QString openNow;  // "yes", or "no" outside the opening hours
    int restarts = 0; // pages brought back to the root page since the start
    QDateTime lastRestart;
    QString lastRestartReason;
    int heartbeatSeconds = 10;
    bool ended = false; // the last heartbeat of a kiosk ended by its quit keys

    // Replaces the file whole; a failure raises fileio::FileError.
    void write(const QString& path) const;
    static std::optional<Heartbeat> read(const QString& path);

    // The status a person or a monitoring tool reads: every field, the uptime,
    // and "state: running" or "state: not running (no heartbeat for N s)"
    // when the last one is older than three heartbeats, or "state: ended"
    // after the quit keys.
    QString statusText(const QDateTime& now) const;
    bool alive(const QDateTime& now) const;
};

// "3 d 04:05:06".
QString durationText(qint64 seconds);
