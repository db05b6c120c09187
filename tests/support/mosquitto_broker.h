// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <memory>

// A real Mosquitto broker for a test: listening on 127.0.0.1 only, on a free
// port, with its configuration (and password file) in folder. Stopped
// (killed) when the object goes. available() is false where the broker is
// not installed (scripts/setup --test installs it): the test then skips.
class MosquittoBroker {
public:
    // user set: the broker takes only that user with that password.
    explicit MosquittoBroker(QString folder, QString user = {}, QString password = {});
    ~MosquittoBroker();

    static bool available();
    // From the next start on, TLS only: a CA and the broker's certificate
    // (for 127.0.0.1) made with openssl in the folder. Returns the CA's
    // certificate file; empty with why() set when they could not be made.
    QString useTls();
    // Starts the broker (on the port chosen when the object was made) and waits until
    // it listens; false with why() set when it does not within 30 s.
    bool start();
    void stop();
    bool running() const;
    int port() const { return m_port; }
    QString why() const { return m_why; }

private:
    QString m_folder;
    QString m_user;
    QString m_password;
    int m_port;
    bool m_tls = false;
    QString m_why;
    std::unique_ptr<QProcess> m_process;
};
