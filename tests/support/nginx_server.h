// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// nginx serving a folder's files (with ETags and byte ranges, as for any
// static site; JSON compressed when asked for) on 127.0.0.1 at a free port, in the foreground, its
// configuration, logs and temporaries in a temporary folder of its own.
// Stopped by stop() or at its end; start() again serves on the same port.
class NginxServer {
public:
    explicit NginxServer(QString root);
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    // The program, or "" when nginx is not installed.
    static QString program();

    // Starts it and waits (at most 20 s) until it answers; false with error() set when it does not.
    bool start();
    void stop();
    int port() const { return m_port; }
    // "http://127.0.0.1:PORT/"
    QString url() const;
    QString error() const { return m_error; }
    // The requests served so far, one line each: "URI STATUS BODY_BYTES".
    QStringList requests() const;

private:
    QString m_root;
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
    QString m_error;
};
