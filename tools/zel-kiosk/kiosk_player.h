// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "heartbeat.h"
#include "kiosk_settings.h"
#include "page_views.h"

#include <QColor>
#include <QDateTime>
#include <QObject>
#include <QRect>
#include <QString>
#include <QWebEnginePage>
#include <functional>
#include <vector>

class Session;
class InputLock;
class KioskPage;
class SpeechEngine;
class KioskScreen;
class QTimer;
class ScreenPower;
class QWebEngineProfile;

// The running kiosk: one screen window per configured screen showing the
// root page of the kiosk system folder, kept there.
// - Only files of the kiosk system folder and script links may be opened
//   (the viewer's guard, narrowed to the folder); refusals are logged.
// - A render process that ends, a page that does not answer the watchdog's
//   ping within watchdogSeconds, a page that does not load or is no made
//   page (the viewer's page check) brings that screen back to the root page
//   within a second or so; each is logged and counted as a restart. A screen
//   that breaks again before its root page has answered a ping waits twice
//   as long each time (up to 8 s); after restartLimit failed restarts in a
//   row the player gives up (gaveUp), so that the service starts afresh.
// - While every page answers, systemd's watchdog is pinged (WATCHDOG=1).
// - No touch for idleSeconds: every screen goes back to the root page, and a
//   version waiting to be shown (offerVersion) is shown then, on every
//   screen at once.
// - Outside the opening hours the screens are covered black, switched off
//   where the display allows it (ScreenPower), and input is ignored; at
//   opening they start afresh at the root page.
// - A heartbeat and the page views are written to the state folder; the
//   restart count goes on from the heartbeat of the run before.
class KioskPlayer : public QObject {
    Q_OBJECT

public:
    // The session carries the guard's error path; it must outlive the player.
    KioskPlayer(Session& session, KioskSettings settings, const QString& kioskFolder, int screens,
                QObject* parent = nullptr);
    ~KioskPlayer() override;

    // Shows the windows over the real screens (their geometries) and loads
    // the root page everywhere.
    void start(const QList<QRect>& realScreens);
    // Lays the windows out again over the real screens, their pages kept:
    // a screen was turned (rotation), added or removed.
    void place(const QList<QRect>& realScreens);

    QString folder() const { return m_folder; }
    QString rootPage() const;
    int screenCount() const { return int(m_screens.size()); }
    // 1 to screenCount().
    KioskScreen* screen(int index) const;
    QWebEnginePage* page(int index) const;
    bool atRoot(int index) const;
    bool allAtRoot() const;
    InputLock& inputLock() const { return *m_lock; }

    // A checked kiosk system folder to show at the next return to the root page
    // after inactivity; replaces one already waiting.
    void offerVersion(const QString& folder);
    QString waitingVersion() const { return m_waiting; }

    bool isOpen() const { return m_open; }
    // Every screen back to its root page now (an operator's command).
    void returnToRoot();
    // The clock the opening hours are judged by (tests compress the day).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    // Runs the once-a-second work now: hours, the idle return, a waiting version.
    void tick();

    // What the pages speak through once a visitor switches speech on (from
    // the next page loaded); the idle return stops it.
    void setSpeech(SpeechEngine* speech);

    const Heartbeat& heartbeat() const { return m_heartbeat; }
    PageViews& pageViews() { return m_views; }
    void writeHeartbeat();

    // Ends the kiosk: the windows may close, the counts are saved, and the
    // heartbeat says how it ended ("by the quit keys").
    void quit(const QString& how = QStringLiteral("by the quit keys"));
    // Every screen's page loop healthy: no restart going on or failing.
    bool healthy() const;

signals:
    void versionShown(const QString& folder);
    void restarted(int screen, const QString& reason);
    // The page of a screen was loaded and drawn (relative to the kiosk system).
    void pageRendered(int screen, const QString& page);
    void quitRequested();
    // A screen failed restartLimit restarts in a row.
    void gaveUp(const QString& reason);

private:
    void showIdleNotice(qint64 secondsLeft);
    struct Screen {
        KioskScreen* window = nullptr;
        KioskPage* page = nullptr;
        QString refused;        // the last target the guard refused
        bool kioskLoad = false; // the load running was the kiosk's own, not a visitor's
        qint64 pingSent = 0;    // ms since the epoch; 0: no ping waiting
        qint64 lastSign = 0;    // the page's last sign of life
        quint64 pingToken = 0;
        int failures = 0;            // failed restarts in a row
        bool restartPending = false; // a restart waits for its delay
        bool healthyPage = false;    // the page loaded and passed the page check
        QString rootShown;           // the version whose root page the screen showed whole (logged once)
    };

    void makePage(int index);
    bool allows(int index, const QUrl& url);
    void loadRoot(int index);
    void restart(int index, const QString& reason);
    void onLoadFinished(int index, bool succeeded);
    void onRenderProcessTerminated(int index, QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);
    void watchdog();
    void switchTo(const QString& folder);
    void carryOver();
    void updateFailing();
    QString relativePage(const QUrl& url) const;
    void setFolder(const QString& folder);
    Screen& state(int index) { return m_screens[size_t(index - 1)]; }
    const Screen& state(int index) const { return m_screens[size_t(index - 1)]; }

    Session& m_session;
    KioskSettings m_settings;
    SpeechEngine* m_speech = nullptr;
    QString m_folder;          // absolute, without a final separator
    QString m_canonicalFolder; // for the guard
    QColor m_background;       // the pages' own, shown while one loads
    QString m_waiting;
    std::vector<Screen> m_screens;
    QWebEngineProfile* m_profile;
    InputLock* m_lock;
    ScreenPower* m_power;
    QTimer* m_tick;
    QTimer* m_watchdog;
    QTimer* m_heartbeatTimer;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    bool m_open = true;
    bool m_quitting = false;
    QDateTime m_idleReturn; // the last return for want of a touch
    QDateTime m_noticeFor;  // the last input whose idle notice the pages were asked to show
    Heartbeat m_heartbeat;
    PageViews m_views;
};
