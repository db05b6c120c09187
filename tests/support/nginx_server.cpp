// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/nginx_server.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <pwd.h>
#include <unistd.h>

namespace {

// A port nobody listens on now (a race with another program is possible: start() tries again).
int freePort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0;
}

} // namespace

NginxServer::NginxServer(QString root) : m_root(std::move(root))
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

NginxServer::~NginxServer() { stop(); }

QString NginxServer::program()
{
    return QStandardPaths::findExecutable(
        QStringLiteral("nginx"),
        {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"), QStringLiteral("/usr/bin")});
}

QString NginxServer::url() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }

bool NginxServer::start()
{
    const QString dir = m_dir.path();
    const passwd* user = ::getpwuid(::geteuid());
    for (int attempt = 0; attempt < 5; ++attempt) {
        const bool fixedPort = m_port != 0;
        if (!fixedPort)
            m_port = freePort();
        QFile config(dir + QStringLiteral("/nginx.conf"));
        if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            m_error = config.errorString();
            return false;
        }
        config.write(
            QStringLiteral("worker_processes 1;\n"
                           "user %4;\n"
                           "pid %1/nginx.pid;\n"
                           "error_log %1/error.log;\n"
                           "events { worker_connections 256; }\n"
                           "http {\n"
                           "  log_format requests '$request_uri $status $body_bytes_sent';\n"
                           "  access_log %1/access.log requests;\n"
                           "  client_body_temp_path %1/body; proxy_temp_path %1/proxy;\n"
                           "  fastcgi_temp_path %1/fastcgi; uwsgi_temp_path %1/uwsgi; scgi_temp_path %1/scgi;\n"
                           "  types { application/json json; }\n"
                           "  default_type application/octet-stream;\n"
                           "  gzip on; gzip_types application/json;\n"
                           "  server { listen 127.0.0.1:%2; root %3; }\n"
                           "}\n")
                .arg(dir)
                .arg(m_port)
                .arg(m_root, QString::fromLocal8Bit(user ? user->pw_name : "nobody"))
                .toUtf8());
        config.close();
        m_process.start(program(), {QStringLiteral("-p"), dir, QStringLiteral("-e"), dir + QStringLiteral("/error.log"),
                                    QStringLiteral("-c"), dir + QStringLiteral("/nginx.conf"), QStringLiteral("-g"),
                                    QStringLiteral("daemon off;")});
        if (!m_process.waitForStarted()) {
            m_error = program() + QStringLiteral(": ") + m_process.errorString();
            return false;
        }
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
            if (socket.waitForConnected(500))
                return true;
            m_process.waitForFinished(100);
        }
        m_error = QString::fromLocal8Bit(m_process.readAll());
        stop();
        if (fixedPort)
            return false;
        m_port = 0;
    }
    return false;
}

void NginxServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(20000)) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

QStringList NginxServer::requests() const
{
    QFile log(m_dir.path() + QStringLiteral("/access.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}
