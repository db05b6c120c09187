// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_handover.h"

#include "app/main_window.h"
#include "config/kiosk_system.h"
#include "editor/editor_window.h"
#include "platform/messages.h"
#include "workbench/workbench.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// How long a later start waits for the running program's socket.
constexpr int kWaitMs = 5000;

QString cleanFolder(const QString& folder) { return QDir::cleanPath(QDir(folder).absolutePath()); }

} // namespace

FileHandover::FileHandover(QString serverName, QObject* parent) : QObject(parent), m_serverName(std::move(serverName))
{}

FileHandover::~FileHandover() = default;

QString FileHandover::defaultServerName()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QStringLiteral("zel-editor") : runtime + QStringLiteral("/zel-editor");
}

bool FileHandover::handOver(const QStringList& files) const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    // One path a line; the program reads them when the connection closes.
    socket.write(files.join(u'\n').toUtf8());
    socket.flush();
    if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(kWaitMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kWaitMs);
    return true;
}

bool FileHandover::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &FileHandover::takeConnection);
    if (m_server->listen(m_serverName))
        return true;
    // No program answered on it (handOver came first): a socket left by one that ended.
    QLocalServer::removeServer(m_serverName);
    return m_server->listen(m_serverName);
}

void FileHandover::takeConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        auto* received = new QByteArray;
        connect(socket, &QLocalSocket::readyRead, socket, [socket, received] { received->append(socket->readAll()); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
            received->append(socket->readAll());
            const QStringList files = QString::fromUtf8(*received).split(u'\n', Qt::SkipEmptyParts);
            delete received;
            socket->deleteLater();
            emit filesReceived(files);
        });
    }
}

QString FileHandover::kioskSystemOfPage(const QString& path)
{
    const QFileInfo page(path);
    if (!page.isFile() || page.suffix().compare(QStringLiteral("zel"), Qt::CaseInsensitive) != 0)
        return {};
    QDir kiosk = page.absoluteDir();
    if (!kiosk.cdUp())
        return {};
    if (!kiosk.exists(QStringLiteral("configuration.txt")) && !kiosk.exists(QStringLiteral("root/root.zel")))
        return {};
    return QDir::toNativeSeparators(kiosk.absolutePath()) + QDir::separator();
}

void openPageFiles(MainWindow& main, const QStringList& files)
{
    Workbench& workbench = main.workbench();
    main.raise();
    main.activateWindow();
    for (const QString& file : files) {
        const QString folder = FileHandover::kioskSystemOfPage(file);
        if (folder.isEmpty()) {
            Messages::show(workbench.session(),
                           QDir::toNativeSeparators(file) + QStringLiteral("\r\n")
                               + QCoreApplication::translate(
                                   "FileHandover", "is not a page of a kiosk system: a page source (.zel) lies in a "
                                                   "folder of a kiosk system folder, the folder that holds "
                                                   "configuration.txt or root/root.zel."));
            continue;
        }
        const auto isOpen = [&] {
            return workbench.hasKioskSystem()
                   && cleanFolder(workbench.kioskSystem().openedFolder()) == cleanFolder(folder);
        };
        if (!isOpen())
            main.openKioskSystem(folder);
        // Refused while other windows stay open (the author has been told).
        if (!isOpen())
            return;
        EditorWindow::openOrRaise(workbench, QFileInfo(file).absoluteFilePath());
    }
}
