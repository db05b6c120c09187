// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A day of a kiosk compressed into minutes: the sample kiosk system shown by
// the kiosk player, random touches on its buttons (touch-screen and mouse
// events through the window system), a new version published every
// simulated hour, the render process killed every few simulated hours, and
// opening hours judged by the simulated clock. After every touch the screen
// must show a whole kiosk page again within a few seconds; the memory of the
// player and of its render process (resident set, /proc) is measured after
// the first and after the last simulated hour, at the root page.
//
// zel-kiosk-soak [--minutes N] [--kill-every HOURS] [--hours OPENING_HOURS] [--seed S]
// Exit status 0 when nothing got stuck, the root page came back within 5 s
// of every render process kill, every version was shown and the memory grew
// by at most 10 %.
#include "kiosk_player.h"
#include "kiosk_screen.h"
#include "kiosk_settings.h"
#include "state_folder.h"
#include "version_follower.h"
#include "version_preparation.h"
#include "version_store.h"

#include "platform/session.h"
#include "support/web_wait.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointingDevice>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWebEngineView>
#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

constexpr int kSimulatedHours = 24;
// "Within a few seconds": the longest a touch may leave the screen without a whole kiosk page.
constexpr int kStuckAfterMs = 5000;

QString binFolder() { return QCoreApplication::applicationDirPath(); }

// Resident memory of a process in KiB (0 when it is gone).
qint64 residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (pid <= 0 || !status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLongLong();
    return 0;
}

bool make(const QString& folder)
{
    QProcess maker;
    maker.start(binFolder() + QStringLiteral("/zel-make"), {folder});
    return maker.waitForFinished(120000) && maker.exitStatus() == QProcess::NormalExit && maker.exitCode() <= 1;
}

// The sample kiosk system, made, in folder; with a welcome naming the version.
bool makeSample(const QString& folder, int version)
{
    QString reason;
    if (!VersionPreparation::copyTree(binFolder() + QStringLiteral("/Template"), folder, reason)
        || !VersionPreparation::copyTree(QStringLiteral(ZEL_SOURCE_DIR "/examples/sample"), folder, reason)) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return false;
    }
    QFile root(folder + QStringLiteral("/root/root.zel"));
    if (!root.open(QIODevice::ReadOnly))
        return false;
    QByteArray text = root.readAll();
    root.close();
    text.replace("Welcome to Ostervale", "Welcome to Ostervale (version " + QByteArray::number(version) + ")");
    if (!root.open(QIODevice::WriteOnly | QIODevice::Truncate) || root.write(text) != text.size())
        return false;
    root.close();
    return make(folder);
}

// An author's publication: the new version is made beside the published
// folder and put in its place at once.
bool publish(const QString& published, int version)
{
    const QString next = published + QStringLiteral(".next");
    QDir(next).removeRecursively();
    if (!makeSample(next, version))
        return false;
    QDir(published).removeRecursively();
    return QDir().rename(next, published);
}

class Soak {
public:
    Soak(KioskPlayer& player, quint32 seed) : m_player(player), m_random(seed)
    {
        m_device = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    }

    QWebEnginePage* page() const { return m_player.page(1); }
    QWidget* input() const { return m_player.screen(1)->view()->focusProxy(); }

    // The whole page of the version shown, its frames loaded and readied by the kiosk script.
    bool kioskPageShown()
    {
        const QUrl url = page()->url();
        if (!url.isLocalFile() || !url.toLocalFile().startsWith(m_player.folder() + u'/'))
            return false;
        return runScriptWithin(
                   "(function () { try { return document.readyState === 'complete' && window.frames.length === 2 "
                   "&& Array.prototype.every.call(window.frames, function (f) { return f.document.readyState === "
                   "'complete' && f.document.documentElement.getAttribute('data-kiosk-ready') === '1'; }); } catch "
                   "(e) { return false; } })()",
                   1000)
            .toBool();
    }

    // The centres of the links a visitor can touch, in the window's pixels.
    QList<QPoint> targets()
    {
        const QVariantList points =
            runScriptWithin(
                "(function () { var out = []; function walk(w, x, y) { var d = w.document;"
                " d.querySelectorAll('a[href]').forEach(function (a) { var r = a.getBoundingClientRect();"
                " if (r.width > 4 && r.height > 4 && getComputedStyle(a).visibility !== 'hidden')"
                " out.push([x + r.left + r.width / 2, y + r.top + r.height / 2]); });"
                " d.querySelectorAll('frame, iframe').forEach(function (f) { var b = f.getBoundingClientRect();"
                " try { walk(f.contentWindow, x + b.left, y + b.top); } catch (e) {} }); }"
                " walk(window, 0, 0); return out; })()",
                1000)
                .toList();
        QList<QPoint> result;
        const double zoom = page()->zoomFactor();
        for (const QVariant& point : points) {
            const QVariantList xy = point.toList();
            if (xy.size() != 2)
                continue;
            const QPoint centre(qRound(xy[0].toDouble() * zoom), qRound(xy[1].toDouble() * zoom));
            if (input()->rect().contains(centre))
                result.append(centre);
        }
        return result;
    }

    // One visitor's touch: mostly on a button, now and then anywhere; a
    // finger on the touch screen or, for one in four, a mouse click.
    void touch()
    {
        const QList<QPoint> buttons = targets();
        QPoint at;
        if (!buttons.isEmpty() && m_random.bounded(10) < 8)
            at = buttons[m_random.bounded(int(buttons.size()))];
        else
            at = QPoint(m_random.bounded(input()->width()), m_random.bounded(input()->height()));
        if (m_random.bounded(4) == 0) {
            QTest::mouseClick(input(), Qt::LeftButton, {}, at);
        } else {
            QTest::touchEvent(input(), m_device).press(0, at);
            QTest::qWait(60);
            QTest::touchEvent(input(), m_device).release(0, at);
        }
        ++touches;
    }

    // Touches, each followed by the wait for a whole kiosk page, until the time is up.
    void visit(qint64 untilMs, const QElapsedTimer& clock)
    {
        while (clock.elapsed() < untilMs) {
            if (!m_player.isOpen()) {
                const QUrl before = page()->url();
                touch();
                ++ignoredTouches;
                QTest::qWait(800);
                // The kiosk itself may go back to the root page meanwhile (idle return, new version).
                if (page()->url() != before && !m_player.atRoot(1))
                    ++touchesThroughTheCover;
                continue;
            }
            const QUrl before = page()->url();
            touch();
            QElapsedTimer response;
            response.start();
            QTest::qWait(200);
            if (!waitUntil([&] { return kioskPageShown(); }, kStuckAfterMs)) {
                ++stuck;
                std::fprintf(stderr, "stuck: no whole kiosk page %d ms after a touch (%s)\n", kStuckAfterMs,
                             qPrintable(page()->url().toString()));
                waitUntil([&] { return kioskPageShown(); }, 30000);
            }
            slowestResponseMs = std::max(slowestResponseMs, response.elapsed());
            if (page()->url() != before)
                ++pagesOpened;
            QTest::qWait(100 + m_random.bounded(600));
        }
    }

    // Kills the render process; how long until the root page is whole again (-1: it did not come).
    qint64 killRenderer()
    {
        const qint64 pid = page()->renderProcessPid();
        if (pid <= 0)
            return -1;
        QElapsedTimer back;
        back.start();
        ::kill(pid_t(pid), SIGKILL);
        const bool ok = waitUntil(
            [&] { return page()->renderProcessPid() != pid && m_player.atRoot(1) && kioskPageShown(); }, 30000);
        ++kills;
        return ok ? back.elapsed() : -1;
    }

    QVariant runScriptWithin(const QString& script, int timeoutMs)
    {
        auto answer = std::make_shared<std::pair<bool, QVariant>>();
        page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [answer](const QVariant& value) {
            *answer = {true, value};
        });
        waitUntil([&] { return answer->first; }, timeoutMs);
        return answer->second;
    }

    int touches = 0;
    int ignoredTouches = 0;
    int touchesThroughTheCover = 0;
    int pagesOpened = 0;
    int stuck = 0;
    int kills = 0;
    qint64 slowestResponseMs = 0;

private:
    KioskPlayer& m_player;
    QRandomGenerator m_random;
    QPointingDevice* m_device;
};

struct Memory {
    qint64 player = 0;
    qint64 renderer = 0;
};

Memory measure(KioskPlayer& player)
{
    return {residentKiB(QCoreApplication::applicationPid()), residentKiB(player.page(1)->renderProcessPid())};
}

QString growth(qint64 start, qint64 end) { return QString::asprintf("%+.1f %%", 100.0 * double(end - start) / start); }

} // namespace

int main(int argc, char** argv)
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption minutesOption(QStringLiteral("minutes"), QStringLiteral("wall minutes for the 24 hours"),
                                           QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption killOption(QStringLiteral("kill-every"),
                                        QStringLiteral("simulated hours between render process kills"),
                                        QStringLiteral("HOURS"), QStringLiteral("4"));
    const QCommandLineOption hoursOption(QStringLiteral("hours"), QStringLiteral("opening hours"),
                                         QStringLiteral("TEXT"), QStringLiteral("06:00-22:00"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("seed of the touches"),
                                        QStringLiteral("S"), QStringLiteral("1"));
    parser.addOptions({minutesOption, killOption, hoursOption, seedOption});
    parser.process(application);

    KioskSettings settings;
    settings.idleSeconds = 3;
    settings.watchdogSeconds = 2;
    settings.followSeconds = 1;
    settings.heartbeatSeconds = 5;
    QString error;
    if (!OpeningHours::parse(parser.value(hoursOption), settings.hours, error)) {
        std::fprintf(stderr, "zel-kiosk-soak: %s\n", qPrintable(error));
        return 2;
    }
    const double minutes = parser.value(minutesOption).toDouble();
    const int killEvery = std::max(1, parser.value(killOption).toInt());
    const qint64 hourMs = qint64(minutes * 60000.0 / kSimulatedHours);
    // The end of each hour is left without touches: the idle return, and the version switch with it.
    const qint64 quietMs = settings.idleSeconds * 1000 + 4000;
    if (hourMs < quietMs + 3000) {
        std::fprintf(stderr, "zel-kiosk-soak: --minutes %.1f leaves too little time per simulated hour\n", minutes);
        return 2;
    }

    QTemporaryDir work;
    qputenv("XDG_STATE_HOME", QFile::encodeName(work.path() + QStringLiteral("/state")));
    const QString kiosk = work.path() + QStringLiteral("/kiosk");
    const QString published = work.path() + QStringLiteral("/published");
    if (!makeSample(kiosk, 0)) {
        std::fprintf(stderr, "zel-kiosk-soak: the sample kiosk system could not be made\n");
        return 1;
    }

    Session session;
    KioskPlayer player(session, settings, kiosk, 1);
    const QDateTime simulatedStart(QDate(2026, 5, 4), QTime(6, 0));
    QElapsedTimer clock;
    player.setClock([&] { return simulatedStart.addMSecs(clock.isValid() ? clock.elapsed() * 3600000 / hourMs : 0); });
    VersionStore store(StateFolder::file(QStringLiteral("versions")));
    VersionFollower follower(published, store, player, settings.followSeconds * 1000,
                             binFolder() + QStringLiteral("/zel-kiosk"));
    int shown = 0;
    QObject::connect(&player, &KioskPlayer::versionShown, [&] { ++shown; });
    int refused = 0;
    QObject::connect(&follower, &VersionFollower::refused, [&](const QString& reason) {
        ++refused;
        std::fprintf(stderr, "version refused: %s\n", qPrintable(reason));
    });

    player.start({QRect(0, 0, 1280, 1024)});
    Soak soak(player, parser.value(seedOption).toUInt());
    if (!waitUntil([&] { return soak.kioskPageShown(); }, 30000)) {
        std::fprintf(stderr, "zel-kiosk-soak: the root page did not come\n");
        return 1;
    }
    const Memory loaded = measure(player);
    follower.start();
    clock.start();

    Memory first;
    int published_ = 0;
    qint64 slowestBackMs = 0;
    int lostKills = 0;
    for (int hour = 0; hour < kSimulatedHours; ++hour) {
        const qint64 hourStart = hour * hourMs;
        // The author publishes while visitors touch.
        bool publishedNow = false;
        QThread* author = QThread::create([&] { publishedNow = publish(published, hour + 1); });
        author->start();
        const qint64 touchEnd = hourStart + hourMs - quietMs;
        if (hour % killEvery == killEvery / 2 && player.isOpen()) {
            soak.visit(hourStart + (touchEnd - hourStart) / 2, clock);
            const qint64 back = soak.killRenderer();
            if (back < 0)
                ++lostKills;
            slowestBackMs = std::max(slowestBackMs, back);
        }
        soak.visit(touchEnd, clock);
        waitUntil([&] { return author->isFinished(); }, 120000);
        author->wait();
        delete author;
        published_ += publishedNow ? 1 : 0;
        waitUntil([&] { return clock.elapsed() >= hourStart + hourMs; }, int(hourMs) + 1000);
        std::printf("simulated %02d:00  touches %5d  versions shown %2d  restarts %2d  stuck %d\n", (6 + hour + 1) % 24,
                    soak.touches, shown, player.heartbeat().restarts, soak.stuck);
        std::fflush(stdout);
        if (hour == 0)
            first = measure(player);
    }
    waitUntil([&] { return player.allAtRoot() && soak.kioskPageShown(); }, 10000);
    const Memory last = measure(player);
    player.quit();

    const bool memoryKept =
        last.player <= first.player * 11 / 10 && last.renderer <= first.renderer * 11 / 10 && last.renderer > 0;
    std::printf("\nkiosk soak: %d simulated hours in %.1f wall minutes (opening hours %s)\n", kSimulatedHours,
                double(clock.elapsed()) / 60000.0, qPrintable(parser.value(hoursOption)));
    std::printf("| %-36s | %12s |\n", "measure", "figure");
    std::printf("|%s|%s|\n", QByteArray(38, '-').constData(), QByteArray(14, '-').constData());
    const auto row = [](const char* name, const QString& figure) {
        std::printf("| %-36s | %12s |\n", name, qPrintable(figure));
    };
    row("touches (open hours)", QString::number(soak.touches - soak.ignoredTouches));
    row("touches that opened another page", QString::number(soak.pagesOpened));
    row("touches while closed (ignored)", QString::number(soak.ignoredTouches));
    row("touches that got through the cover", QString::number(soak.touchesThroughTheCover));
    row("stuck (no kiosk page within 5 s)", QString::number(soak.stuck));
    row("slowest whole page after a touch", QStringLiteral("%1 ms").arg(soak.slowestResponseMs));
    row("versions published", QString::number(published_));
    row("versions shown", QString::number(shown));
    row("versions refused", QString::number(refused));
    row("render process kills", QString::number(soak.kills));
    row("slowest root page back after a kill", QStringLiteral("%1 ms").arg(slowestBackMs));
    row("  (promised: within)", QStringLiteral("%1 ms").arg(kStuckAfterMs));
    row("restarts (all causes)", QString::number(player.heartbeat().restarts));
    row("player RSS at load", QStringLiteral("%1 MiB").arg(loaded.player / 1024));
    row("player RSS after hour 1", QStringLiteral("%1 MiB").arg(first.player / 1024));
    row("player RSS at the end", QStringLiteral("%1 MiB").arg(last.player / 1024));
    row("player growth", growth(first.player, last.player));
    row("render process RSS at load", QStringLiteral("%1 MiB").arg(loaded.renderer / 1024));
    row("render process RSS after hour 1", QStringLiteral("%1 MiB").arg(first.renderer / 1024));
    row("render process RSS at the end", QStringLiteral("%1 MiB").arg(last.renderer / 1024));
    row("render process growth", growth(first.renderer, last.renderer));
    const bool passed = soak.stuck == 0 && soak.touchesThroughTheCover == 0 && lostKills == 0
                        && slowestBackMs <= kStuckAfterMs && refused == 0 && shown >= published_ - 1 && memoryKept;
    std::printf("\n%s\n", passed ? "PASSED" : "FAILED");
    return passed ? 0 : 1;
}
