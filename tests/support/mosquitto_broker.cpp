// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "mosquitto_broker.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <unistd.h>

namespace {

QString brokerProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("mosquitto"), qEnvironmentVariable("PATH").split(u':')
                                                                           << QStringLiteral("/usr/sbin"));
}

// A port on 127.0.0.1 that nothing listens on now.
int freePort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0;
}

} // namespace

MosquittoBroker::MosquittoBroker(QString folder, QString user, QString password)
    : m_folder(std::move(folder)), m_user(std::move(user)), m_password(std::move(password)), m_port(freePort())
{}

MosquittoBroker::~MosquittoBroker() { stop(); }

bool MosquittoBroker::available() { return !brokerProgram().isEmpty(); }

bool MosquittoBroker::running() const { return m_process && m_process->state() == QProcess::Running; }

QString MosquittoBroker::useTls()
{
    const QString ca = m_folder + QStringLiteral("/ca.crt");
    const QString extensions = m_folder + QStringLiteral("/server.ext");
    QFile file(extensions);
    if (!file.open(QIODevice::WriteOnly) || file.write("subjectAltName=IP:127.0.0.1\n") <= 0) {
        m_why = extensions + QStringLiteral(": not written");
        return QString();
    }
    file.close();
    const auto in = [this](const char* name) { return m_folder + u'/' + QLatin1String(name); };
    const QList<QStringList> runs = {{"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", in("ca.key"), "-out",
                                      ca, "-days", "2", "-subj", "/CN=test CA"},
                                     {"req", "-newkey", "rsa:2048", "-nodes", "-keyout", in("server.key"), "-out",
                                      in("server.csr"), "-subj", "/CN=127.0.0.1"},
                                     {"x509", "-req", "-in", in("server.csr"), "-CA", ca, "-CAkey", in("ca.key"),
                                      "-CAcreateserial", "-out", in("server.crt"), "-days", "2", "-extfile",
                                      extensions}};
    for (const QStringList& arguments : runs) {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"), arguments);
        if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit
            || openssl.exitCode() != 0) {
            m_why = QStringLiteral("openssl ") + arguments.join(u' ') + QStringLiteral(" failed");
            return QString();
        }
    }
    m_tls = true;
    return ca;
}

bool MosquittoBroker::start()
{
    stop();
    QByteArray config = "listener " + QByteArray::number(m_port)
                        + " 127.0.0.1\npersistence false\n"
                          "log_dest stderr\nlog_type error\nlog_type warning\nlog_type notice\nlog_type information\n";
    // Started by root (a container), the broker would become the user mosquitto, who cannot read the test's folder.
    if (::geteuid() == 0)
        config += "user root\n";
    if (m_tls)
        config += "cafile " + QFile::encodeName(m_folder) + "/ca.crt\ncertfile " + QFile::encodeName(m_folder)
                  + "/server.crt\nkeyfile " + QFile::encodeName(m_folder) + "/server.key\n";
    if (m_user.isEmpty()) {
        config += "allow_anonymous true\n";
    } else {
        const QString passwords = m_folder + QStringLiteral("/passwords");
        QFile::remove(passwords);
        if (QProcess::execute(QStringLiteral("mosquitto_passwd"),
                              {QStringLiteral("-c"), QStringLiteral("-b"), passwords, m_user, m_password})
            != 0) {
            m_why = QStringLiteral("mosquitto_passwd failed");
            return false;
        }
        config += "allow_anonymous false\npassword_file " + QFile::encodeName(passwords) + '\n';
    }
    const QString configPath = m_folder + QStringLiteral("/mosquitto.conf");
    QFile file(configPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size()) {
        m_why = configPath + QStringLiteral(": not written");
        return false;
    }
    file.close();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->start(brokerProgram(), {QStringLiteral("-c"), configPath});
    QByteArray said;
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired() && m_process->state() != QProcess::NotRunning) {
        m_process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        said += m_process->readAll();
        if (said.contains(" running"))
            return true;
    }
    m_why = QStringLiteral("mosquitto did not start on port %1: ").arg(m_port) + QString::fromLocal8Bit(said);
    stop();
    return false;
}

void MosquittoBroker::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(30000);
    }
    m_process.reset();
}
