// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class MainWindow;
class QLocalServer;

// The page sources a file manager hands the program: one program runs per
// user, and a later start hands its files to it through a local socket in the
// runtime folder instead of opening a second main window.
class FileHandover : public QObject {
    Q_OBJECT
public:
    // serverName: the socket's name or path (defaultServerName() in the program).
    explicit FileHandover(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~FileHandover() override;

    static QString defaultServerName();

    // Hands files (absolute paths) to the program already running: true when
    // one took them, false when none runs.
    bool handOver(const QStringList& files) const;
    // Takes the files of later starts (filesReceived); false when the socket
    // cannot be made, and the program then runs on alone.
    bool listen();

    // The kiosk system folder that holds the page source at path (the folder
    // above the page's folder, holding configuration.txt or root/root.zel),
    // ending with the separator; "" when path is no page of a kiosk system.
    static QString kioskSystemOfPage(const QString& path);

signals:
    // A later start's files; empty when it was started without any.
    void filesReceived(const QStringList& files);

private:
    void takeConnection();

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};

// Opens each page source in main: its kiosk system first, unless it is the
// open one, then the page in an editor. A file that is not a page of a kiosk
// system is named in a message. The main window comes to the front.
void openPageFiles(MainWindow& main, const QStringList& files);
