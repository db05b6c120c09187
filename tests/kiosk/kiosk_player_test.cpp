// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The kiosk as a visitor and an operator meet it: real touches through the
// pages, every escape key, a killed or frozen page, the opening hours and a
// new version arriving while a visitor is on a leaf page.
#include "input_lock.h"
#include "kiosk_screen.h"
#include "kiosk_visit.h"
#include "speech_engine.h"
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"
#include "support/web_wait.h"
#include "system/folder_export.h"
#include "version_follower.h"
#include "version_preparation.h"
#include "version_store.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(KioskPlayer, TouchesLeadThroughThePagesAndNoEscapeKeyLeavesThem)
{
    KioskVisit visit;
    visit.touch(QStringLiteral("b1"));
    ASSERT_TRUE(visit.waitForPage(QStringLiteral("visiting/visiting.htm")));
    const double zoom = visit.page()->zoomFactor();
    // While a page loads the view shows the style sheet's background, not white.
    EXPECT_EQ(visit.page()->backgroundColor(), QColor(0xfb, 0xf8, 0xf0));

    QSignalSpy quit(&visit.player(), &KioskPlayer::quitRequested);
    QList<QKeyCombination> escapes;
    // (Backspace is the visitor's Back to the page before, which the browser tests walk.)
    for (const Qt::Key key :
         {Qt::Key_F5, Qt::Key_F11, Qt::Key_F12, Qt::Key_Escape, Qt::Key_Back, Qt::Key_Refresh, Qt::Key_Menu})
        escapes.append(key);
    for (const Qt::Key key : {Qt::Key_F4, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_Tab})
        escapes.append(Qt::ALT | key);
    for (const Qt::Key key : {Qt::Key_W, Qt::Key_L, Qt::Key_R, Qt::Key_N, Qt::Key_T, Qt::Key_P, Qt::Key_O, Qt::Key_S,
                              Qt::Key_Plus, Qt::Key_Minus, Qt::Key_A, Qt::Key_Q})
        escapes.append(Qt::CTRL | key);
    escapes.append(Qt::CTRL | Qt::SHIFT | Qt::Key_I);
    for (const QKeyCombination key : escapes) {
        visit.press(key.key(), key.keyboardModifiers());
        runScript(visit.page(), QStringLiteral("0"));
        EXPECT_TRUE(visit.player().screen(1)->isVisible()) << QKeySequence(key).toString().toStdString();
    }
    // Ctrl and the wheel would zoom.
    QWheelEvent wheel(QPointF(200, 200), QPointF(200, 200), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(visit.player().screen(1)->view()->focusProxy(), &wheel);
    // A page script cannot open a window, go to the web or print.
    const QWidgetList windows = QApplication::topLevelWidgets();
    runScript(visit.page(), QStringLiteral("window.open('https://example.com/'); window.open('../news/news.htm'); 0"));
    runScript(visit.page(), QStringLiteral("window.print(); window.location.href = 'https://example.com/'; 0"));
    QTest::qWait(300);
    EXPECT_TRUE(visit.waitForPage(QStringLiteral("visiting/visiting.htm")));
    EXPECT_EQ(visit.page()->zoomFactor(), zoom);
    EXPECT_EQ(quit.size(), 0);
    EXPECT_EQ(QApplication::topLevelWidgets(), windows);
    // Nothing selectable.
    EXPECT_EQ(runScript(visit.page(), "getComputedStyle(frames['con'].document.body).webkitUserSelect").toString(),
              "none");

    // The operator's keys end the kiosk.
    visit.press(Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_TRUE(waitUntil([&] { return quit.size() == 1; }));
}

// A killed render process, a page that stops answering (the watchdog asks
// every second) and a page spoilt on the kiosk machine (it loads but is no
// kiosk page): each brings the root page back, logged with its reason. How
// fast it comes back is measured by the kiosk benchmark (bench/kiosk), not
// here: a busy machine may take longer.
TEST(KioskPlayer, EveryBreakdownBringsTheRootPageBack)
{
    const struct {
        const char* name;
        const char* button; // the visitor's touch before the breakdown ("": none)
        const char* page;   // where it leads
        std::function<void(KioskVisit&)> breakDown;
        const char* reason; // the restart's reason matches this
    } rows[] = {
        {"render process killed", "b4", "visiting/walks.htm",
         [](KioskVisit& visit) { ::kill(pid_t(visit.page()->renderProcessPid()), SIGKILL); }, "killed|crashed"},
        {"page frozen", "b2", "news/news.htm",
         [](KioskVisit& visit) { visit.page()->runJavaScript(QStringLiteral("for (;;) {}")); }, "did not answer"},
        {"page spoilt", "", "",
         [](KioskVisit& visit) {
             writeTextFile(visit.path(QStringLiteral("visiting/walks.htm")),
                           {QStringLiteral("<html><body>spoilt</body></html>")});
             visit.touch(QStringLiteral("b4"));
         },
         "0 frames"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        KioskVisit visit;
        if (*row.button) {
            visit.touch(QLatin1String(row.button));
            ASSERT_TRUE(visit.waitForPage(QLatin1String(row.page)));
            ASSERT_GT(visit.page()->renderProcessPid(), 0);
        }
        row.breakDown(visit);
        ASSERT_TRUE(waitUntil([&] { return visit.player().heartbeat().restarts == 1; }, 60000));
        ASSERT_TRUE(visit.waitForPage(QStringLiteral("root/root.htm"), 60000));
        const QString reason = visit.player().heartbeat().lastRestartReason;
        EXPECT_TRUE(reason.contains(QRegularExpression(row.reason))) << reason.toStdString();
        EXPECT_EQ(visit.log().filter(reason + ": back to the root page").size(), 1)
            << visit.log().join('\n').toStdString();
    }
}

// idleSeconds is the kiosk's alone: the page script's own idle return waits
// beyond any of it (in every frame), and the kiosk's return, from a leaf page
// and from a touched root page, is logged and counted as no visitor's view.
TEST(KioskPlayer, LeftAloneTheScreenReturnsToTheRootPageLoggedAndUncounted)
{
    KioskVisit visit;
    EXPECT_EQ(runScript(visit.page(), QStringLiteral("[idleSecondsBeforeHome, frames['con'].idleSecondsBeforeHome,"
                                                     " frames['nav'].idleSecondsBeforeHome].join()"))
                  .toString(),
              QStringLiteral("2000000,2000000,2000000"));
    visit.touch(QStringLiteral("b1"));
    ASSERT_TRUE(visit.waitForPage(QStringLiteral("visiting/visiting.htm")));
    const auto returns = [&] { return visit.log().filter("screen 1: no touch for 3 s: back to the root page").size(); };
    ASSERT_TRUE(waitUntil([&] { return returns() == 1; }, 30000));
    ASSERT_TRUE(visit.waitForPage(QStringLiteral("root/root.htm")));
    visit.player().inputLock().setLastInput(QDateTime::currentDateTime()); // a touch on the root page
    ASSERT_TRUE(waitUntil([&] { return returns() == 2; }, 30000));
    ASSERT_TRUE(visit.waitForPage(QStringLiteral("root/root.htm")));
    visit.player().tick();
    EXPECT_EQ(returns(), 2); // left alone at the root page: no more returns
    const QDate today = QDate::currentDate();
    EXPECT_EQ(visit.player().pageViews().views(today, QStringLiteral("root\\root.htm")), 0);
    EXPECT_EQ(visit.player().pageViews().views(today, QStringLiteral("visiting\\visiting.htm")), 1);
}

// What the kiosk is asked to say, in order: "+" before a text queued after the one before, the language, a blank,
// the text; and how often it is stopped.
class RecordingSpeech : public SpeechEngine {
public:
    void say(const QString& text, const QString& language, bool queued) override
    {
        said.append((queued ? "+" : "") + language + u' ' + text);
    }
    void stop() override { ++stops; }
    QStringList said;
    int stops = 0;
};

// Speech switched on in a page: "Speech on", then the page's title and its buttons in order, in the pages'
// language; a touch speaks the button under the finger, a second touch at once opens its page, which speaks its
// own; the idle return stops the speech and the next visitor's page is silent.
TEST(KioskPlayer, SpeechReadsThePagesAndTheIdleReturnEndsIt)
{
    KioskSettings settings = quickSettings();
    settings.idleSeconds = 3600;
    KioskVisit visit(settings);
    RecordingSpeech speech;
    visit.player().setSpeech(&speech);
    visit.touch(QStringLiteral("b1")); // the pages loaded from now on speak through it
    ASSERT_TRUE(visit.waitForPage(QStringLiteral("visiting/visiting.htm")));
    runScript(visit.page(), QStringLiteral("setSpeech(true)"));
    ASSERT_TRUE(waitUntil([&] { return speech.said.size() >= 2; }, 20000));
    EXPECT_EQ(speech.said[0], QStringLiteral("+en Speech on. Touch to hear, touch twice to press."));
    EXPECT_TRUE(speech.said[1].startsWith(QStringLiteral("+en Visiting Ostervale. Buttons: Home, The Castle, ")))
        << speech.said[1].toStdString();
    visit.touch(QStringLiteral("b2"));
    visit.touch(QStringLiteral("b2"));
    ASSERT_TRUE(visit.waitForPage(QStringLiteral("visiting/castle.htm")));
    EXPECT_TRUE(speech.said.contains(QStringLiteral("en The Castle"))) << speech.said.join('|').toStdString();
    ASSERT_TRUE(waitUntil([&] { return speech.said.last().contains(". Buttons: Home, "); }, 20000));
    visit.player().inputLock().setLastInput(QDateTime::currentDateTime().addSecs(-3600));
    visit.player().tick();
    EXPECT_GE(speech.stops, 1);
    ASSERT_TRUE(
        waitUntil([&] { return runScript(visit.page(), QStringLiteral("hubSpeech()")) == QVariant(false); }, 20000));
}

// In a desktop session the window takes the screen back from a window
// manager's "show desktop", a hide or the end of its full screen, logged (a
// window manager may pass through more states than one).
TEST(KioskPlayer, AHiddenOrMinimisedWindowTakesTheScreenBack)
{
    KioskVisit visit;
    KioskScreen* screen = visit.player().screen(1);
    ASSERT_TRUE(waitUntil([&] { return screen->holdsItsPlace(); }));
    const struct {
        const char* name;
        std::function<void()> act;
    } rows[] = {
        {"minimised", [&] { screen->setWindowState(Qt::WindowMinimized); }},
        {"hidden", [&] { screen->hide(); }},
        {"out of full screen", [&] { screen->showNormal(); }},
    };
    for (const auto& row : rows) {
        row.act();
        EXPECT_FALSE(screen->holdsItsPlace()) << row.name;
        EXPECT_TRUE(waitUntil([&] { return screen->holdsItsPlace() && screen->isFullScreen(); })) << row.name;
    }
    EXPECT_GE(visit.log().filter("shown again").size(), 3);
}

// Two screens side by side on one real screen, which is turned while a
// visitor is on a page: the windows share the turned screen, the page stays.
TEST(KioskPlayer, ATurnedScreenGetsTheWindowsLaidOutAgainWithThePagesKept)
{
    KioskVisit visit(quickSettings(), 2);
    visit.touch(QStringLiteral("b1"));
    ASSERT_TRUE(visit.waitForPage(QStringLiteral("visiting/visiting.htm")));

    visit.player().place({QRect(0, 0, 1024, 1280)});
    EXPECT_EQ(visit.player().screen(2)->geometry(), QRect(512, 0, 512, 1280));
    EXPECT_TRUE(visit.waitForPage(QStringLiteral("visiting/visiting.htm")));
    EXPECT_EQ(visit.player().heartbeat().restarts, 0);
}

TEST(KioskPlayer, OutsideTheOpeningHoursTheScreenIsBlackAndTouchesDoNothing)
{
    KioskSettings settings = quickSettings();
    QString error;
    ASSERT_TRUE(OpeningHours::parse(QStringLiteral("09:00-17:00"), settings.hours, error));
    KioskVisit visit(settings);
    QDateTime clock(QDate(2026, 5, 4), QTime(20, 0));
    visit.player().setClock([&] { return clock; });
    visit.player().tick();
    EXPECT_FALSE(visit.player().isOpen());
    EXPECT_TRUE(visit.player().screen(1)->cover()->isVisible());
    visit.touch(QStringLiteral("b1"));
    visit.press(Qt::Key_Return);
    QTest::qWait(1000);
    EXPECT_EQ(visit.shown(), QStringLiteral("root/root.htm"));

    // The opening loads the root page afresh: a touch counts once that page is there.
    runScript(visit.page(), QStringLiteral("window.yesterday = true"));
    clock = QDateTime(QDate(2026, 5, 5), QTime(9, 0));
    visit.player().tick();
    EXPECT_TRUE(visit.player().isOpen());
    EXPECT_FALSE(visit.player().screen(1)->cover()->isVisible());
    ASSERT_TRUE(waitUntil([&] { return !runScript(visit.page(), "window.yesterday === true").toBool(); }));
    ASSERT_TRUE(visit.waitForPage(QStringLiteral("root/root.htm")));
    visit.touch(QStringLiteral("b1"));
    EXPECT_TRUE(visit.waitForPage(QStringLiteral("visiting/visiting.htm")));
}

// Publishes a changed copy of the sample, with its marker (and an empty cabinet beside it).
QString publish(KioskVisit& visit, bool cabinet = false)
{
    const QString published = visit.temporaryFolder() + QStringLiteral("/published");
    QDir(published).removeRecursively();
    QString reason;
    EXPECT_TRUE(VersionPreparation::copyTree(visit.kioskFolder(), published, reason)) << reason.toStdString();
    const QString root = published + QStringLiteral("/root/root.zel");
    writeTextFile(root, readLines(root).replaceInStrings("Welcome to Ostervale", "Welcome to the new Ostervale"));
    EXPECT_NE(runZelMake({published}).exitCode, -1);
    if (cabinet)
        writeBytes(published + "/news1.cab", {});
    VersionPreparation::writeMarker(published);
    return published;
}

// The author changes the news page and exports its folder, as Tools, Export
// Folder does; the cabinet is dropped in the folder the kiosk follows.
QString publishNewsCabinet(KioskVisit& visit)
{
    const QString published = visit.temporaryFolder() + QStringLiteral("/published");
    TemporaryKiosk author;
    copySampleKiosk(author.folder());
    const QString news = author.path("news/news.zel");
    writeTextFile(news, readLines(news).replaceInStrings("Something is", "Something new is"));
    const QString directives = FolderExport::writeDirectiveFile(author.openHeadless(), QStringLiteral("news"));
    EXPECT_EQ(FolderExport::runCabinetMaker(QStringLiteral(ZEL_PROGRAM_DIR "/zel-makecab"), directives), 0);
    QDir().mkpath(published);
    EXPECT_TRUE(QFile::copy(author.path(QStringLiteral("news/news1.cab")), published + QStringLiteral("/news1.cab")));
    VersionPreparation::writeMarker(published);
    return published;
}

// A new version, a copied kiosk system or an exported cabinet, arrives while
// a visitor is on a page: prepared beside the version shown, it waits while
// the visitor touches on and is shown only after the return to the root page,
// every frame from one version.
TEST(KioskPlayer, ANewVersionIsShownOnlyAfterTheReturnToTheRootPageAndNeverMixed)
{
    const struct {
        const char* name;
        std::function<QString(KioskVisit&)> publish; // the folder followed
        const char* button;                          // the visitor's touch, and the page it leads to
        const char* page;
        const char* newText;     // what the new version says
        bool saidOnVisitorsPage; // there; else on the root page
        const char* kept;        // a page the new version keeps from the one before ("": none)
    } rows[] = {
        {"copied kiosk system, a cabinet dropped beside it", [](KioskVisit& visit) { return publish(visit, true); },
         "b4", "visiting/walks.htm", "the new Ostervale", false, ""},
        {"exported cabinet", publishNewsCabinet, "b2", "news/news.htm", "Something new is happening in Ostervale", true,
         "shops/bakery.htm"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        KioskVisit visit;
        const QString published = row.publish(visit);
        VersionStore store(visit.temporaryFolder() + QStringLiteral("/state/zel-kiosk/versions"));
        VersionFollower follower(published, store, visit.player(), 1000, QStringLiteral(ZEL_KIOSK_PROGRAM));
        QSignalSpy prepared(&follower, &VersionFollower::prepared);
        QSignalSpy shown(&visit.player(), &KioskPlayer::versionShown);
        const auto contentText = [&] {
            return runScript(visit.page(), "frames['con'].document.body.textContent").toString();
        };
        // The addresses of the main frame and its two frames, unless all are in the folder.
        const auto framesOutside = [&](const QString& folder) {
            const QStringList frames =
                runScript(visit.page(), "[location.href].concat(Array.from(frames, (f) => { try { return "
                                        "f.location.href; } catch (e) { return '?'; } }))")
                    .toStringList();
            const QString inside = QUrl::fromLocalFile(folder).toString() + u'/';
            return frames.size() == 3
                           && frames.filter(QRegularExpression("^" + QRegularExpression::escape(inside))) == frames
                       ? QString()
                       : frames.join(' ');
        };

        // A visitor is on a page, touching now and then while the version is prepared.
        visit.touch(QLatin1String(row.button));
        ASSERT_TRUE(visit.waitForPage(QLatin1String(row.page)));
        EXPECT_FALSE(contentText().contains(QLatin1String(row.newText)));
        follower.look();
        follower.look();
        ASSERT_TRUE(waitUntil(
            [&] {
                visit.player().inputLock().setLastInput(QDateTime::currentDateTime());
                return prepared.size() == 1;
            },
            60000));
        const QString version = prepared.front().front().toString();
        EXPECT_EQ(visit.player().waitingVersion(), version);
        for (int touch = 0; touch < 3; ++touch) {
            visit.player().inputLock().setLastInput(QDateTime::currentDateTime());
            QTest::qWait(1000);
            EXPECT_EQ(shown.size(), 0);
            EXPECT_EQ(visit.shown(), QLatin1String(row.page));
        }
        EXPECT_EQ(framesOutside(visit.kioskFolder()), "");

        // Left alone: first the root page of the version shown, then the new one on every frame.
        ASSERT_TRUE(waitUntil([&] { return shown.size() == 1; }, 15000));
        EXPECT_EQ(visit.player().folder(), version);
        ASSERT_TRUE(visit.waitForPage(QStringLiteral("root/root.htm")));
        if (row.saidOnVisitorsPage) {
            visit.touch(QLatin1String(row.button));
            ASSERT_TRUE(visit.waitForPage(QLatin1String(row.page)));
        }
        EXPECT_EQ(framesOutside(version), "");
        EXPECT_TRUE(contentText().contains(QLatin1String(row.newText))) << contentText().toStdString();
        EXPECT_TRUE(!*row.kept || QFileInfo::exists(version + u'/' + QLatin1String(row.kept)));
        EXPECT_EQ(store.current(), version);
        EXPECT_EQ(visit.log().filter(" are not used: news1.cab").size(), row.kept[0] ? 0 : 1);
    }
}

// After a good version has been taken and shown, each bad or unfinished one
// arrives in the followed folder: a refused one is named with its reason (once:
// the same content is not tried again), an unfinished one (no marker yet, or
// files not yet as the marker says) is waited for; the version shown and the
// one before it stay either way, and no unfinished copy is left behind.
TEST(KioskPlayer, AnUnfinishedOrBrokenVersionIsNeverTakenAndTheShownOnesStay)
{
    KioskVisit visit;
    const QString published = publish(visit);
    const QString good = visit.temporaryFolder() + QStringLiteral("/good");
    QString reason;
    ASSERT_TRUE(VersionPreparation::copyTree(published, good, reason)) << reason.toStdString();
    QFile::copy(published + QStringLiteral("/published.txt"), good + QStringLiteral("/published.txt"));
    VersionStore store(visit.stateFolder() + QStringLiteral("/versions"));
    VersionFollower first(published, store, visit.player(), 1000, QStringLiteral(ZEL_KIOSK_PROGRAM));
    first.look();
    first.look();
    ASSERT_TRUE(waitUntil([&] { return visit.player().folder() != visit.kioskFolder(); }, 90000));
    const QString shown = store.current();
    const QString before = store.previous();
    EXPECT_EQ(shown, visit.player().folder());
    ASSERT_FALSE(before.isEmpty()); // a copy of the folder shown before the first version
    EXPECT_TRUE(QFileInfo::exists(before + QStringLiteral("/root/root.htm")));
    const QString picture = "visiting/images/" + QDir(published + "/visiting/images").entryList({"*.jpg"}).value(0);
    ASSERT_TRUE(picture.endsWith(".jpg"));

    const int defaultFollow = KioskSettings().followSeconds * 1000;
    const char* half = "<html><body>oops, half an upload";
    const char* stalled = "/published.txt, written last when a version is complete; nothing taken yet";
    // Files removed, then files written with the bytes (a page source gets them as a line and is made again).
    const struct {
        const char* name;
        const char* logged; // the log line names the folder and says this
        bool marker;        // the publish step wrote its marker after the change
        int intervalMs;     // followSeconds
        QString removed, written;
        const char* bytes;
    } rows[] = {
        {"broken root page", "root.zel:1: out of date: Page would change", true, 1000, "", "root/root.htm", half},
        {"missing frame file", "today.zel:1: out of date: Page has never", true, 1000, "news/today_con.htm", "", ""},
        {"garbage page", "directory.zel:1: out of date: Page would", true, 1000, "", "shops/directory.htm",
         "\x89PNG\r\n\x1a garbage \xff\xfe"},
        {"missing picture", " does not exist", true, 1000, picture, "", ""},
        {"dead end", ": dead end: ", true, 1000, "", "root/root.zel", "#button visiting\\nowhere Nowhere\r\n"},
        {"no marker, default followSeconds", stalled, false, defaultFollow, "published.txt", "root/root.htm", half},
        {"no marker", stalled, false, 1000, "published.txt visiting/walks.htm", "", ""},
        {"rsync temporaries under the old marker", "/root/root.htm is not yet as published.txt says; nothing taken yet",
         false, 1000, "", "root/root.htm visiting/.walks.htm.d5wERD", "<html><body>the new root"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QDir(published).removeRecursively();
        ASSERT_TRUE(VersionPreparation::copyTree(good, published, reason)) << reason.toStdString();
        QFile::copy(good + QStringLiteral("/published.txt"), published + QStringLiteral("/published.txt"));
        for (const QString& file : row.removed.split(u' ', Qt::SkipEmptyParts))
            QFile::remove(published + u'/' + file);
        for (const QString& file : row.written.split(u' ', Qt::SkipEmptyParts)) {
            const QString path = published + u'/' + file;
            writeBytes(path, (path.endsWith(".zel") ? readBytes(path) : QByteArray()) + row.bytes);
            EXPECT_TRUE(!path.endsWith(".zel") || runZelMake({published}).exitCode != -1);
        }
        if (row.marker)
            VersionPreparation::writeMarker(published);
        const qsizetype logged = visit.log().size();
        VersionFollower follower(published, store, visit.player(), row.intervalMs, QStringLiteral(ZEL_KIOSK_PROGRAM));
        QSignalSpy prepared(&follower, &VersionFollower::prepared);
        // The kiosk's own loop, its timer, at its interval; at the default a few looks stand in for its ticks.
        if (row.intervalMs == 1000)
            follower.start();
        const auto line = [&] {
            if (row.intervalMs != 1000)
                follower.look();
            return visit.log().mid(logged).filter(QLatin1String(row.logged)).value(0);
        };
        ASSERT_TRUE(waitUntil([&] { return !line().isEmpty() && !follower.preparing(); }, 90000))
            << visit.log().mid(logged).join('\n').toStdString();
        EXPECT_TRUE(line().contains(published)) << line().toStdString();
        // A refusal stays in the state --status reads; content still arriving is no refusal.
        const QString refusal = VersionStore(store.root()).refused();
        EXPECT_EQ(refusal.contains(published + QStringLiteral(": ")) && refusal.contains(QLatin1String(row.logged)),
                  row.marker)
            << refusal.toStdString();
        EXPECT_EQ(visit.log().mid(logged).filter(" refused, the version shown stays").size(), row.marker ? 1 : 0);
        // More looks at the same content take nothing.
        for (int look = 0; look < 3; ++look)
            follower.look();
        EXPECT_FALSE(follower.preparing());
        EXPECT_EQ(prepared.size(), 0);
        EXPECT_EQ(store.current(), shown);
        EXPECT_EQ(store.previous(), before);
        EXPECT_EQ(visit.player().folder(), shown);
        EXPECT_TRUE(visit.player().waitingVersion().isEmpty());
        EXPECT_TRUE(QDir(store.root()).entryList({".preparing-*"}, QDir::Dirs | QDir::Hidden).isEmpty());
    }
}

// A state folder without room (or any failure to write the version's copy)
// refuses nothing: the version is named with the folder and the system's
// reason, its unfinished copy removed (as one a killed run left), and taken
// at a look once there is room.
TEST(KioskPlayer, AVersionFindingTheStateFolderFullIsReportedAndTakenOnceThereIsRoom)
{
    KioskVisit visit;
    const QString published = publish(visit);
    VersionStore store(visit.stateFolder() + QStringLiteral("/versions"));
    ASSERT_TRUE(QDir().mkpath(store.root() + QStringLiteral("/.preparing-1/root")));
    std::atomic<int> fault = ENOSPC;
    const fileio::FailureHook full = [&](std::string_view operation, const std::string&) {
        return operation == "write" ? fault.load() : 0;
    };
    VersionFollower follower(published, store, visit.player(), 1000, QStringLiteral(ZEL_KIOSK_PROGRAM), &full);
    QSignalSpy prepared(&follower, &VersionFollower::prepared);
    follower.start();
    const auto notTaken = [&] { return visit.log().filter(" not taken, tried again"); };
    ASSERT_TRUE(waitUntil([&] { return notTaken().size() == 1 && !follower.preparing(); }, 90000))
        << visit.log().join('\n').toStdString();
    for (const QString& said : {notTaken().front(), VersionStore(store.root()).notTaken()}) {
        EXPECT_TRUE(said.contains(published + QStringLiteral("/")) && said.contains(store.root() + QStringLiteral(": "))
                    && said.endsWith(QStringLiteral(": No space left on device"))
                    && !said.contains(QStringLiteral("/.")))
            << said.toStdString();
    }
    EXPECT_EQ(QDir(store.root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    EXPECT_TRUE(store.refused().isEmpty());
    // Room again: the next look takes it; the failure was logged once.
    fault = 0;
    ASSERT_TRUE(waitUntil([&] { return prepared.size() == 1; }, 90000)) << visit.log().join('\n').toStdString();
    EXPECT_EQ(notTaken().size(), 1);
    EXPECT_TRUE(VersionStore(store.root()).notTaken().isEmpty());
}

} // namespace
