// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiosk_player.h"

#include "event_log.h"
#include "input_lock.h"
#include "kiosk_gate.h"
#include "kiosk_page.h"
#include "kiosk_screen.h"
#include "page_background.h"
#include "screen_placement.h"
#include "screen_power.h"
#include "service_notifier.h"
#include "speech_engine.h"
#include "state_folder.h"
#include "viewer/navigation_guard.h"
#include "viewer/page_check.h"

#include "fileio/atomic_file.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <algorithm>
#include <csignal>
#include <sys/types.h>

namespace {

// How long a screen shows its broken page before the root page comes back;
// doubled for each failed restart in a row, up to kRestartDelayMs << kBackOffSteps.
constexpr int kRestartDelayMs = 1000;
constexpr int kBackOffSteps = 3;

qint64 nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

QString clean(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

QString terminationText(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode)
{
    switch (status) {
    case QWebEnginePage::NormalTerminationStatus:
        return QStringLiteral("render process ended (exit code %1)").arg(exitCode);
    case QWebEnginePage::AbnormalTerminationStatus:
        return QStringLiteral("render process failed (exit code %1)").arg(exitCode);
    case QWebEnginePage::CrashedTerminationStatus:
        return QStringLiteral("render process crashed (exit code %1)").arg(exitCode);
    case QWebEnginePage::KilledTerminationStatus:
        return QStringLiteral("render process was killed (exit code %1)").arg(exitCode);
    }
    return QStringLiteral("render process ended");
}

} // namespace

KioskPlayer::KioskPlayer(Session& session, KioskSettings settings, const QString& kioskFolder, int screens,
                         QObject* parent)
    : QObject(parent), m_session(session), m_settings(std::move(settings)), m_profile(new QWebEngineProfile(this)),
      m_lock(new InputLock(m_settings.quitKeys, this)), m_power(new ScreenPower(this)), m_tick(new QTimer(this)),
      m_watchdog(new QTimer(this)), m_heartbeatTimer(new QTimer(this)),
      m_views(StateFolder::file(QStringLiteral("pageviews.csv")))
{
    setFolder(kioskFolder);
    // Nothing is ever saved: no downloads, no cache or cookies on disk.
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    connect(m_profile, &QWebEngineProfile::downloadRequested, this, [](QWebEngineDownloadRequest* download) {
        EventLog::write(QStringLiteral("download refused: ") + download->url().toString());
        download->cancel();
    });

    qApp->installEventFilter(m_lock);
    connect(m_lock, &InputLock::quitRequested, this, [this] {
        EventLog::write(QStringLiteral("operator's quit keys: ending"));
        emit quitRequested();
    });

    for (int index = 1; index <= screens; ++index) {
        Screen screen;
        screen.window = new KioskScreen(index);
        m_screens.push_back(screen);
        makePage(index);
    }

    m_tick->setInterval(1000);
    connect(m_tick, &QTimer::timeout, this, &KioskPlayer::tick);
    m_watchdog->setInterval(m_settings.watchdogSeconds * 1000);
    connect(m_watchdog, &QTimer::timeout, this, &KioskPlayer::watchdog);
    m_heartbeatTimer->setInterval(m_settings.heartbeatSeconds * 1000);
    connect(m_heartbeatTimer, &QTimer::timeout, this, &KioskPlayer::writeHeartbeat);

    m_heartbeat.version = QStringLiteral(ZEL_VERSION);
    m_heartbeat.pid = QCoreApplication::applicationPid();
    m_heartbeat.started = QDateTime::currentDateTime();
    m_heartbeat.heartbeatSeconds = m_settings.heartbeatSeconds;
    carryOver();
    const QString unread = m_views.load();
    if (!unread.isEmpty())
        EventLog::write(QStringLiteral("page views not read: ") + StateFolder::file(QStringLiteral("pageviews.csv"))
                        + QStringLiteral(": ") + unread + QStringLiteral(" (counting afresh)"));
}

// The restarts of the runs before go on; a run that ended without a word
// (killed, or the machine lost power) counts as one.
void KioskPlayer::carryOver()
{
    const std::optional<Heartbeat> before = Heartbeat::read(StateFolder::file(QStringLiteral("heartbeat.txt")));
    if (!before)
        return;
    m_heartbeat.restarts = before->restarts;
    m_heartbeat.lastRestart = before->lastRestart;
    m_heartbeat.lastRestartReason = before->lastRestartReason;
    m_heartbeat.lastPage = before->lastPage;
    m_heartbeat.lastPageTime = before->lastPageTime;
    if (before->ended.isEmpty() && before->pid != m_heartbeat.pid) {
        const QString reason =
            QStringLiteral("the run before (pid %1) ended unrecorded after its heartbeat of ").arg(before->pid)
            + before->written.toUTC().toString(Qt::ISODate);
        EventLog::write(reason, {"restarted", 4, m_folder, reason});
        ++m_heartbeat.restarts;
        m_heartbeat.lastRestart = QDateTime::currentDateTime();
        m_heartbeat.lastRestartReason = reason;
    }
}

KioskPlayer::~KioskPlayer()
{
    m_quitting = true;
    qApp->removeEventFilter(m_lock);
    for (Screen& screen : m_screens) {
        screen.window->allowClose();
        // The page before the profile it belongs to.
        delete screen.page;
        delete screen.window;
    }
}

void KioskPlayer::setFolder(const QString& folder)
{
    m_folder = QDir::cleanPath(QDir(folder).absolutePath());
    m_canonicalFolder = QFileInfo(m_folder).canonicalFilePath();
    m_heartbeat.shown = m_folder;
    // Each version may bring its own colours.
    m_background = pageBackground(m_folder);
    for (const Screen& screen : m_screens)
        if (screen.page)
            screen.page->setBackgroundColor(m_background);
}

QString KioskPlayer::rootPage() const { return clean(KioskGate::rootPage(m_folder)); }

KioskScreen* KioskPlayer::screen(int index) const { return state(index).window; }

QWebEnginePage* KioskPlayer::page(int index) const { return state(index).page; }

void KioskPlayer::makePage(int index)
{
    Screen& screen = state(index);
    KioskPage* old = screen.page;
    auto* page = new KioskPage(
        m_profile, [this, index](const QUrl& url) { return allows(index, url); }, nullptr);
    screen.page = page;
    screen.pingSent = 0;
    screen.lastSign = nowMs();
    connect(page, &QWebEnginePage::loadStarted, this, [this, index] { state(index).lastSign = nowMs(); });
    connect(page, &QWebEnginePage::loadProgress, this, [this, index] { state(index).lastSign = nowMs(); });
    connect(page, &QWebEnginePage::loadFinished, this, [this, index](bool ok) { onLoadFinished(index, ok); });
    connect(page, &KioskPage::painted, this, [this, index](const QUrl& url) {
        if (url.isLocalFile())
            emit pageRendered(index, relativePage(url));
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this, index](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
                onRenderProcessTerminated(index, status, code);
            });
    page->setSpeech(m_speech);
    page->setBackgroundColor(m_background);
    screen.window->view()->setPage(page);
    if (old) {
        old->disconnect(this);
        old->deleteLater();
    }
}

void KioskPlayer::setSpeech(SpeechEngine* speech)
{
    m_speech = speech;
    for (int index = 1; index <= screenCount(); ++index)
        if (state(index).page)
            state(index).page->setSpeech(speech);
}

void KioskPlayer::place(const QList<QRect>& realScreens)
{
    const QList<QRect> areas = screenPlacement(realScreens, screenCount());
    for (int index = 1; index <= screenCount(); ++index) {
        const QRect area = areas.value(index - 1, QRect(0, 0, 800, 600));
        screen(index)->showOn(area, realScreens.contains(area));
    }
}

void KioskPlayer::start(const QList<QRect>& realScreens)
{
    place(realScreens);
    for (int index = 1; index <= screenCount(); ++index)
        loadRoot(index);
    EventLog::write(QStringLiteral("started: showing ") + m_folder
                        + QStringLiteral(" on %1 screen(s), platform ").arg(screenCount())
                        + QGuiApplication::platformName(),
                    {"started", 6, m_folder, {}});
    m_lock->setLastInput(QDateTime::currentDateTime());
    m_idleReturn = m_lock->lastInput();
    tick();
    m_tick->start();
    m_watchdog->start();
    m_heartbeatTimer->start();
    writeHeartbeat();
}

bool KioskPlayer::allows(int index, const QUrl& url)
{
    const QString target = NavigationGuard::targetText(url);
    if (NavigationGuard::startsWith(m_session, target, QStringLiteral("javascript:")))
        return true;
    bool allowed = false;
    if (url.isLocalFile() && NavigationGuard::allows(m_session, target)) {
        const QString canonical = QFileInfo(url.toLocalFile()).canonicalFilePath();
        allowed = !m_canonicalFolder.isEmpty() && canonical.startsWith(m_canonicalFolder + u'/');
    }
    if (!allowed) {
        EventLog::write(QStringLiteral("screen %1: refused ").arg(index) + target);
        state(index).refused = target;
    }
    return allowed;
}

void KioskPlayer::loadRoot(int index)
{
    Screen& screen = state(index);
    screen.kioskLoad = true;
    screen.healthyPage = false;
    screen.refused.clear();
    screen.page->setUrl(QUrl::fromLocalFile(rootPage()));
}

void KioskPlayer::restart(int index, const QString& reason)
{
    Screen& screen = state(index);
    // A breakdown reported twice (a render process that ends fails its load
    // too) is one restart.
    if (screen.restartPending || m_quitting)
        return;
    screen.healthyPage = false;
    if (screen.failures >= m_settings.restartLimit) {
        const QString why =
            QStringLiteral("screen %1: %2 failed restarts in a row, the last: ").arg(index).arg(screen.failures)
            + reason;
        EventLog::write(why + QStringLiteral(": ending, for the service to start afresh"),
                        {"gave-up", 3, m_folder, QStringLiteral("screen %1: ").arg(index) + reason});
        m_heartbeat.lastRestartReason = QStringLiteral("screen %1: ").arg(index) + reason;
        m_heartbeat.lastRestart = QDateTime::currentDateTime();
        emit gaveUp(QStringLiteral("after %1 failed restarts in a row").arg(screen.failures));
        return;
    }
    const int delay = kRestartDelayMs << qMin(screen.failures, kBackOffSteps);
    ++screen.failures;
    screen.restartPending = true;
    EventLog::write(QStringLiteral("screen %1: ").arg(index) + reason + QStringLiteral(": back to the root page")
                        + (screen.failures > 1 ? QStringLiteral(" in %1 s (failed restarts in a row: %2)")
                                                     .arg(delay / 1000)
                                                     .arg(screen.failures - 1)
                                               : QString()),
                    {"restarted", 4, m_folder, QStringLiteral("screen %1: ").arg(index) + reason});
    ++m_heartbeat.restarts;
    m_heartbeat.lastRestart = QDateTime::currentDateTime();
    m_heartbeat.lastRestartReason = QStringLiteral("screen %1: ").arg(index) + reason;
    updateFailing();
    emit restarted(index, reason);
    QPointer<KioskPlayer> self(this);
    QTimer::singleShot(delay, this, [self, index] {
        if (!self || self->m_quitting)
            return;
        self->state(index).restartPending = false;
        self->loadRoot(index);
    });
}

void KioskPlayer::updateFailing()
{
    int failing = 0;
    for (const Screen& screen : m_screens)
        failing = qMax(failing, screen.failures - 1);
    m_heartbeat.failing = failing;
}

bool KioskPlayer::healthy() const
{
    for (const Screen& screen : m_screens)
        if (screen.restartPending || screen.failures > 0)
            return false;
    return true;
}

bool KioskPlayer::atRoot(int index) const
{
    const QUrl url = state(index).page->url();
    return url.isLocalFile() && clean(url.toLocalFile()) == rootPage();
}

bool KioskPlayer::allAtRoot() const
{
    for (int index = 1; index <= screenCount(); ++index)
        if (!atRoot(index) || state(index).kioskLoad)
            return false;
    return true;
}

QString KioskPlayer::relativePage(const QUrl& url) const
{
    return QDir(m_folder).relativeFilePath(url.toLocalFile()).replace(u'/', u'\\');
}

void KioskPlayer::onLoadFinished(int index, bool succeeded)
{
    if (m_quitting)
        return;
    Screen& screen = state(index);
    screen.lastSign = nowMs();
    const bool kioskLoad = std::exchange(screen.kioskLoad, false);
    const QUrl url = screen.page->url();
    // Pages are made for the screen's device pixels.
    if (QScreen* shownOn = screen.window->screen())
        screen.page->setZoomFactor(1.0 / shownOn->devicePixelRatio());
    if (!succeeded) {
        // A refused navigation ends as a failed load of its target; the page stays.
        if (!screen.refused.isEmpty() && NavigationGuard::targetText(url) == screen.refused)
            return;
        restart(index, QStringLiteral("page did not load: ") + NavigationGuard::targetText(url));
        return;
    }
    if (!kioskLoad && url.isLocalFile()) {
        m_views.count(QDate::currentDate(), relativePage(url));
        m_heartbeat.lastPage = relativePage(url);
        m_heartbeat.lastPageTime = QDateTime::currentDateTime();
    }
    QPointer<KioskPlayer> self(this);
    KioskPage* page = screen.page;
    const QString location = NavigationGuard::targetText(url);
    page->runJavaScript(PageCheck::inspectionScript(), QWebEngineScript::ApplicationWorld,
                        [self, index, page, location](const QVariant& inspection) {
                            if (!self || self->m_quitting || self->state(index).page != page)
                                return;
                            const QString reason = PageCheck::failureReason(inspection);
                            Screen& screen = self->state(index);
                            screen.healthyPage = reason.isEmpty();
                            if (screen.healthyPage && self->atRoot(index) && screen.rootShown != self->m_folder) {
                                screen.rootShown = self->m_folder;
                                EventLog::write(QStringLiteral("screen %1: shows ").arg(index) + self->rootPage(),
                                                {"shown", 6, self->m_folder, {}});
                            }
                            if (!reason.isEmpty() && !self->atRoot(index))
                                self->restart(index, reason + QStringLiteral(" in ") + location);
                        });
}

void KioskPlayer::onRenderProcessTerminated(int index, QWebEnginePage::RenderProcessTerminationStatus status,
                                            int exitCode)
{
    if (m_quitting)
        return;
    state(index).pingSent = 0;
    restart(index, terminationText(status, exitCode));
}

void KioskPlayer::watchdog()
{
    const qint64 now = nowMs();
    const qint64 limit = qint64(m_settings.watchdogSeconds) * 1000;
    for (int index = 1; index <= screenCount(); ++index) {
        Screen& screen = state(index);
        if (screen.pingSent != 0 && screen.lastSign < screen.pingSent && now - screen.pingSent >= limit) {
            // A page that does not answer may hold its render process in a
            // loop: that process is ended and the screen gets a fresh page.
            const qint64 pid = screen.page->renderProcessPid();
            if (pid > 0)
                ::kill(pid_t(pid), SIGKILL);
            EventLog::write(QStringLiteral("screen %1: render process %2 ended").arg(index).arg(pid));
            makePage(index);
            restart(index, QStringLiteral("page did not answer for %1 s").arg(m_settings.watchdogSeconds));
            continue;
        }
        if (screen.pingSent != 0)
            continue;
        const quint64 token = ++screen.pingToken;
        screen.pingSent = now;
        QPointer<KioskPlayer> self(this);
        KioskPage* page = screen.page;
        page->runJavaScript(QStringLiteral("1"), QWebEngineScript::ApplicationWorld,
                            [self, index, page, token](const QVariant&) {
                                if (!self || self->state(index).page != page || self->state(index).pingToken != token)
                                    return;
                                Screen& answered = self->state(index);
                                answered.pingSent = 0;
                                answered.lastSign = nowMs();
                                // A page that loaded well and answers: the restarts before it succeeded.
                                if (answered.healthyPage && !answered.restartPending && answered.failures > 0) {
                                    answered.failures = 0;
                                    self->updateFailing();
                                }
                            });
    }
    // systemd's watchdog hears from the kiosk only while its pages are well.
    if (healthy())
        ServiceNotifier::notify("WATCHDOG=1");
}

void KioskPlayer::tick()
{
    const bool open = m_settings.hours.isOpen(m_clock());
    if (open != m_open) {
        m_open = open;
        m_lock->setBlocked(!open);
        for (const Screen& screen : m_screens)
            screen.window->setCovered(!open);
        EventLog::write(open ? QStringLiteral("opening hours begin: screens shown")
                             : QStringLiteral("opening hours end: screens covered, input ignored"),
                        {"opening-hours", 5, m_folder, open ? QStringLiteral("open") : QStringLiteral("closed")});
        m_power->setOn(open);
        if (open) {
            // A new day starts afresh at the root page on every screen, as
            // after a long pause, even where the root page was left untouched.
            m_lock->setLastInput(QDateTime::currentDateTime().addSecs(-m_settings.idleSeconds));
            m_idleReturn = m_lock->lastInput().addSecs(-1);
        }
    }
    if (!m_open)
        m_power->keepOff();
    const qint64 quiet = m_lock->lastInput().secsTo(QDateTime::currentDateTime());
    const bool idle = quiet >= m_settings.idleSeconds;
    if (!idle) {
        showIdleNotice(m_settings.idleSeconds - quiet);
        return;
    }
    if (!m_waiting.isEmpty() && allAtRoot()) {
        switchTo(std::exchange(m_waiting, QString()));
        return;
    }
    // A touched root page, too, starts afresh: its rows and the places remembered forgotten.
    const bool touched = m_lock->lastInput() > m_idleReturn;
    m_idleReturn = QDateTime::currentDateTime();
    for (int index = 1; index <= screenCount(); ++index) {
        if ((!atRoot(index) || touched) && !state(index).kioskLoad) {
            EventLog::write(QStringLiteral("screen %1: no touch for %2 s: back to the root page")
                                .arg(index)
                                .arg(m_settings.idleSeconds));
            // Speech, the visitor's text size and contrast end with the visit too.
            state(index).page->runJavaScript(QStringLiteral("try { sessionStorage.clear(); } catch (e) {}"),
                                             QWebEngineScript::ApplicationWorld);
            if (m_speech)
                m_speech->stop();
            loadRoot(index);
        }
    }
}

void KioskPlayer::returnToRoot()
{
    for (int index = 1; index <= screenCount(); ++index)
        loadRoot(index);
}

// The pages' own notice "Still there? Touch the screen to stay" counts down
// the last kIdleNoticeSeconds before a return (once for each last touch),
// where that return will change the screen; a touch or key hides it.
void KioskPlayer::showIdleNotice(qint64 secondsLeft)
{
    constexpr int kIdleNoticeSeconds = 20;
    if (secondsLeft > std::min(m_settings.idleSeconds, kIdleNoticeSeconds) || m_noticeFor == m_lock->lastInput())
        return;
    m_noticeFor = m_lock->lastInput();
    const bool touched = m_lock->lastInput() > m_idleReturn;
    for (int index = 1; index <= screenCount(); ++index)
        if ((!atRoot(index) || touched) && !state(index).kioskLoad)
            state(index).page->runJavaScript(
                QStringLiteral("typeof showNotice === \"function\" && showNotice(%1)").arg(secondsLeft));
}

void KioskPlayer::offerVersion(const QString& folder)
{
    m_waiting = folder;
    EventLog::write(QStringLiteral("version ") + folder
                    + QStringLiteral(" waits for the next return to the root page"));
}

void KioskPlayer::switchTo(const QString& folder)
{
    setFolder(folder);
    for (int index = 1; index <= screenCount(); ++index)
        loadRoot(index);
    EventLog::write(QStringLiteral("showing version ") + m_folder);
    writeHeartbeat();
    emit versionShown(m_folder);
}

void KioskPlayer::writeHeartbeat()
{
    m_heartbeat.written = QDateTime::currentDateTime();
    m_heartbeat.openNow = m_open ? QStringLiteral("yes") : QStringLiteral("no");
    try {
        m_heartbeat.write(StateFolder::file(QStringLiteral("heartbeat.txt")));
        m_views.save();
    } catch (const fileio::FileError& error) {
        EventLog::write(QStringLiteral("could not write ") + QString::fromStdString(error.path()) + QStringLiteral(": ")
                        + QString::fromStdString(error.reason()));
    }
}

void KioskPlayer::quit(const QString& how)
{
    ServiceNotifier::notify("STOPPING=1");
    m_quitting = true;
    m_tick->stop();
    m_watchdog->stop();
    m_heartbeatTimer->stop();
    m_heartbeat.ended = how;
    writeHeartbeat();
    for (const Screen& screen : m_screens) {
        screen.window->allowClose();
        screen.window->close();
    }
}
