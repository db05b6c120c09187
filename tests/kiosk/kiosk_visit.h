// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kiosk_player.h"
#include "kiosk_settings.h"
#include "support/test_session.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <Qt>
#include <memory>

// A made copy of the sample kiosk system (zel-make) in folder.
void makeSampleKiosk(const QString& folder);

// Settings for tests: short idle time and watchdog.
KioskSettings quickSettings();

// A datagram socket bound at path (as systemd's and the journal's are); -1 when it cannot be bound.
int boundDatagramSocket(const QByteArray& path);

// zel-kiosk run to its end with its state folder in stateHome.
struct KioskRun {
    int exitCode = -1;
    QString out, err;
};
KioskRun runKiosk(const QStringList& arguments, const QString& stateHome);

// zel-kiosk started for real with its state folder in stateHome and these [Kiosk] settings, as systemd starts it:
// what it tells systemd (READY=1, WATCHDOG=1) arrives on a socket of the test's own. Killed at the end.
class ServiceRun {
public:
    ServiceRun(const QString& stateHome, const QStringList& settings, const QStringList& arguments);
    ~ServiceRun();
    // Waits for a message to systemd ("READY=1"); false when the kiosk ended or a minute passed.
    bool told(const QByteArray& message);
    // SIGTERM, as systemctl stop sends it; the exit status (-1: no normal end within a minute).
    int terminate();
    QProcess process;

private:
    int m_socket = -1;
};

// A kiosk running the sample kiosk system on one 1280x1024 screen (shared
// when it has more screens), with its state folder in a temporary folder of
// its own.
class KioskVisit {
public:
    explicit KioskVisit(KioskSettings settings = quickSettings(), int screens = 1);
    ~KioskVisit();

    QString path(const QString& relative) const { return m_kiosk + u'/' + relative; }
    KioskPlayer& player() { return *m_player; }
    QWebEnginePage* page() const { return m_player->page(1); }

    // The page shown, relative to the folder shown ("root/root.htm"), once it
    // and its frames have loaded and the kiosk script has readied them.
    QString shown() const;
    bool waitForPage(const QString& relative, int timeoutMs = 20000);
    // A real click (a finger's touch) at the button ("b1") of the navigation
    // frame. On an X display clicks and keys go through the X server
    // (xdotool), where the window manager sees them first, as on a kiosk machine.
    void touch(const QString& buttonId);
    // A key with its modifiers, as a keyboard would send it.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {});
    QString stateFolder() const { return m_dir.path() + QStringLiteral("/state/zel-kiosk"); }
    QStringList log() const;
    QString kioskFolder() const { return m_kiosk; }
    QString temporaryFolder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_kiosk;
    TestSession m_session;
    std::unique_ptr<KioskPlayer> m_player;
};
