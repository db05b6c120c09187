// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The kiosk's rules that need no display: opening hours, where the screens
// go, the keys it swallows, the page views, the cabinet names and the
// versions kept, the journal's fields (the heartbeat: kiosk_command_test.cpp).
#include "event_log.h"
#include "gate_record.h"
#include "input_lock.h"
#include "kiosk_gate.h"
#include "kiosk_visit.h"
#include "page_views.h"
#include "screen_power.h"
#include "screen_placement.h"
#include "version_preparation.h"
#include "version_store.h"
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The settings as the guide's [Kiosk] block and the manual page's SETTINGS
// show them, taken from the documents themselves.
QByteArray documentedSettings(const QString& document)
{
    QByteArray file = "[Kiosk]\n";
    bool inside = false;
    for (const QString& line : readLines(QStringLiteral(ZEL_SOURCE_DIR "/docs/") + document)) {
        if (line == QLatin1String("[Kiosk]") || line == QLatin1String(".SH SETTINGS"))
            inside = true;
        else if (inside && (line.startsWith(QLatin1String("```")) || line.startsWith(QLatin1String(".SH"))))
            break;
        else if (inside && line.contains(u'='))
            file += (line.startsWith(QLatin1String(".B ")) ? line.mid(3) : line).toUtf8() + '\n';
    }
    return file;
}

// The settings file as the operator writes it, the documented examples
// (guide and manual page, read from them) among them: values whole with
// their ";" and ",", opening hours judged by day and time (2026-05-04 is a
// Monday), and a wrong line named with its number.
TEST(KioskSettings, AreReadFromTheFileAsDocumented)
{
    const QByteArray weekHours = "openingHours=Mon-Fri 08:00-18:00; Sat 10:00-14:00\n";
    ASSERT_TRUE(documentedSettings("guide.md").contains(weekHours));
    ASSERT_TRUE(documentedSettings("man/zel-kiosk.1").contains(weekHours));
    const auto hours = [](const char* hours) { return "[Kiosk]\nopeningHours=" + QByteArray(hours) + '\n'; };
    using Times = std::vector<std::pair<int, const char*>>; // day (1 Monday ... 7 Sunday), time
    // The week's hours: open on Saturday at 11 and Monday at 5 pm, closed on Saturday at 9 and Sunday at 11.
    const Times week[2] = {{{6, "11:00"}, {1, "17:00"}}, {{6, "09:00"}, {7, "11:00"}}};
    const struct {
        const char* name;
        QByteArray file;   // null: no settings file
        const char* error; // "" when read
        int idleSeconds;
        Times open, closed;
    } rows[] = {
        {"guide's block", documentedSettings("guide.md"), "", 120, week[0], week[1]},
        {"manual page's keys", documentedSettings("man/zel-kiosk.1"), "", 120, week[0], week[1]},
        {"quoted, as the settings store writes it",
         "[General]\nrecent=a; b\r\n; a comment\r\n[Kiosk]\r\nopeningHours=\"Mon-Fri 08:00-18:00; Sat 10:00-14:00\"\r\n"
         "idleSeconds=300\r\n",
         "", 300, week[0], week[1]},
        {"no settings file", QByteArray(), "", 120, {{7, "03:00"}}, {}},
        {"all day", hours(""), "", 120, {{1, "03:00"}}, {}},
        {"every day", hours("08:00-20:00"), "", 120, {{1, "08:00"}, {7, "19:59"}}, {{1, "07:59"}, {3, "20:00"}}},
        {"lower case days", hours("mon-fri 08:00-18:00"), "", 120, {{5, "17:00"}}, {{6, "17:00"}}},
        // Friday's and Saturday's evenings past midnight, none on Sunday.
        {"nights", hours("Fri,Sat 18:00-02:00"), "", 120, {{6, "01:30"}, {7, "01:30"}, {5, "19:00"}}, {{1, "01:30"}}},
        {"days over the week's end", hours("Sat-Mon 10:00-12:00"), "", 120, {{1, "11:00"}}, {{2, "11:00"}}},
        {"comment after a value", "[Kiosk]\nidleSeconds=120 ; two minutes\n", "line 2: idleSeconds: ", 0, {}, {}},
        {"wrong day", "[Kiosk]\n\nopeningHours=Mon-Fry 08:00-18:00\n", "line 3: opening hours: \"", 0, {}, {}},
        {"hours without minutes", hours("8-20"), "line 2: opening hours: \"", 0, {}, {}},
        {"hour 25", hours("08:00-25:00"), "line 2: opening hours: \"", 0, {}, {}},
        {"no dash", hours("08:00 20:00"), "line 2: opening hours: \"", 0, {}, {}},
        {"a word", hours("always"), "line 2: opening hours: \"", 0, {}, {}},
        {"unknown key", "[Kiosk]\nidleSecond=300\n", "line 2: idleSecond is not a setting", 0, {}, {}},
        {"twice", "[Kiosk]\n" + weekHours + "openingHours=08:00-20:00\n", "line 3: openingHours is set", 0, {}, {}},
        {"two key combinations", "[Kiosk]\nquitKeys=Ctrl+Q, Ctrl+W\n", "line 2: quitKeys: ", 0, {}, {}},
        {"no value", "[Kiosk]\nidleSeconds\n", "line 2: \"idleSeconds\" is not a key=value line", 0, {}, {}},
        {"port 0", "[Kiosk]\nbrokerHost=b\nbrokerPort=0\n", "line 3: brokerPort: \"0\" is not a port", 0, {}, {}},
        {"a name of two topic levels", "[Kiosk]\nkioskName=hall/west\n", "line 2: kioskName: ", 0, {}, {}},
        {"a wildcard prefix", "[Kiosk]\nbrokerPrefix=zel/#\n", "line 2: brokerPrefix: ", 0, {}, {}},
        {"speech too loud",
         "[Kiosk]\nspeechVolume=101\n",
         "line 2: speechVolume: \"101\" is not a number from 0",
         0,
         {},
         {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("ZEL_Editor.ini");
        if (!row.file.isNull())
            writeBytes(path, row.file);
        KioskSettings settings;
        QString error;
        const bool read = KioskSettings::read(path, settings, error);
        EXPECT_EQ(read, !*row.error) << error.toStdString();
        if (!read) {
            EXPECT_TRUE(error.startsWith(path + " " + row.error)) << error.toStdString();
            continue;
        }
        EXPECT_EQ(settings.idleSeconds, row.idleSeconds);
        for (const bool open : {true, false})
            for (const auto& [day, time] : open ? row.open : row.closed)
                EXPECT_EQ(settings.hours.isOpen(QDateTime(QDate(2026, 5, 3 + day), QTime::fromString(time, "hh:mm"))),
                          open)
                    << " day " << day << " " << time;
    }
}

TEST(ScreenPlacement, EachConfiguredScreenGetsARealScreenOrAShareOfOne)
{
    const QRect left(0, 0, 1280, 1024), right(1280, 0, 1080, 1920);
    EXPECT_EQ(screenPlacement({right, left}, 2), (QList<QRect>{left, right}));
    EXPECT_EQ(screenPlacement({right, left}, 1), (QList<QRect>{left}));
    // As the viewer shares its window: w = 1280 / 3 = 426.67, rounded to 427.
    EXPECT_EQ(screenPlacement({left}, 3),
              (QList<QRect>{QRect(0, 0, 427, 1024), QRect(427, 0, 427, 1024), QRect(854, 0, 427, 1024)}));
    EXPECT_EQ(screenPlacement({}, 2), QList<QRect>());
}

TEST(InputLock, SwallowsTheKeysThatLeadOutOfThePage)
{
    const struct {
        Qt::KeyboardModifiers modifiers;
        bool swallowed;
        QList<int> keys;
    } groups[] = {
        {{}, true, {Qt::Key_F5, Qt::Key_F11, Qt::Key_Escape, Qt::Key_Back, Qt::Key_HomePage, Qt::Key_LaunchMail}},
        {{}, true, {Qt::Key_Super_L}},
        {Qt::AltModifier, true, {Qt::Key_F4, Qt::Key_Left}},
        {Qt::ControlModifier, true, {Qt::Key_W}},
        {{}, false, {Qt::Key_A, Qt::Key_Left, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Space}},
        {Qt::ShiftModifier, false, {Qt::Key_A}}};
    for (const auto& group : groups)
        for (const int key : group.keys)
            EXPECT_EQ(InputLock::isEscapeKey(key, group.modifiers), group.swallowed) << std::hex << key;
}

TEST(PageViews, CountPerPagePerDayAndSurviveARestart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pageviews.csv");
    const QDate monday(2026, 5, 4), tuesday(2026, 5, 5);
    {
        // An older kiosk's file, with CRLF line ends.
        writeBytes(path, "date,page,views\r\n2026-05-04,news\\today.htm,1\r\n");
        PageViews views(path);
        EXPECT_EQ(views.load(), "");
        views.count(monday, "news\\today.htm");
        views.count(tuesday, "news\\today.htm");
        views.count(tuesday, "shops\\a,b.htm");
        views.save();
    }
    PageViews views(path);
    views.load();
    EXPECT_EQ(views.views(monday, "news\\today.htm"), 2);
    EXPECT_EQ(views.views(tuesday, "news\\today.htm"), 1);
    EXPECT_EQ(views.views(tuesday, "shops\\a,b.htm"), 1);
    EXPECT_EQ(views.views(tuesday, "root\\root.htm"), 0);
    EXPECT_EQ(readBytes(path), QByteArray("date,page,views\n2026-05-04,news\\today.htm,2\n"
                                          "2026-05-05,news\\today.htm,1\n2026-05-05,shops\\a,b.htm,1\n"));
}

// What rsync and editors leave while they write is never part of a version; a cabinet names its page folder.
TEST(VersionPreparation, TemporariesAreNoPartOfAVersionAndACabinetNamesItsFolder)
{
    for (const auto& [cabinet, folder] :
         {std::pair{"news1.cab", "news"}, {"news.cab", "news"}, {"shop2day12.CAB", "shop2day"}, {"news1.zip", ""}})
        EXPECT_EQ(VersionPreparation::cabinetFolder(cabinet), folder);
    for (const auto& [name, temporary] : {std::pair{".panorama.jpg.d5wERD", true},
                                          {".walks.htm.Ab_9zQ", true},
                                          {"today.zel~", true},
                                          {".today.zel.swp", true},
                                          {"#today.zel#", true},
                                          {".#today.zel", true},
                                          {".zel-copies", true},
                                          {"panorama.jpg", false},
                                          {"walks.htm", false},
                                          {"published.txt", false},
                                          {"news1.cab", false},
                                          {".hidden", false}})
        EXPECT_EQ(VersionPreparation::isTemporary(name), temporary) << name;
}

TEST(VersionStore, KeepsTheVersionShownAndTheOneBefore)
{
    QTemporaryDir dir;
    VersionStore store(dir.filePath("versions"));
    EXPECT_EQ(store.current(), "");
    QStringList versions;
    for (int index = 0; index < 3; ++index) {
        const QString preparing = store.beginVersion();
        EXPECT_TRUE(QFileInfo(preparing).fileName().startsWith(".preparing-"));
        versions.append(store.completeVersion(preparing));
        store.setCurrent(versions.back());
    }
    EXPECT_EQ(store.current(), versions[2]);
    EXPECT_EQ(store.previous(), versions[1]);
    EXPECT_FALSE(QFileInfo::exists(versions[0]));
    store.setLastSource("abc");
    VersionStore again(dir.filePath("versions"));
    EXPECT_EQ(again.current(), versions[2]);
    EXPECT_EQ(again.lastSource(), "abc");
    EXPECT_TRUE(again.stepBack());
    EXPECT_EQ(VersionStore(dir.filePath("versions")).current(), versions[1]);
    // A refusal is kept on one line until a version is taken.
    again.setRefused("def", "/published", "root.zel:1: out of date\nmore");
    EXPECT_TRUE(VersionStore(dir.filePath("versions")).refused().endsWith(" /published: root.zel:1: out of date more"));
    EXPECT_EQ(VersionStore(dir.filePath("versions")).lastSource(), "def");
    again.setLastSource("ghi");
    EXPECT_EQ(VersionStore(dir.filePath("versions")).refused(), "");
}

// A version that differs from one judged before in a few files: the gate
// reads again only the pages those files can touch (all of them after a
// change of the configuration or the Template), and says what the whole
// judgement says.
TEST(KioskGate, AVersionJudgedSinceAnotherSaysWhatAWholeJudgementSays)
{
    QTemporaryDir dir;
    const QString first = dir.filePath("first");
    makeSampleKiosk(first);
    TestSession session;
    GateRecord record;
    const KioskGate::Verdict whole = KioskGate::judge(session.session(), first, nullptr, &record);
    ASSERT_EQ(whole.reasons, QStringList());
    const auto append = [](const QString& path, const QString& line) { writeTextFile(path, readLines(path) << line); };
    const struct {
        const char* name;
        std::function<void(const QString&)> change;
        bool refused;
        bool allRead;
    } rows[] = {
        {"a page's text, not made", [&](const QString& k) { append(k + "/visiting/walks.zel", "#para"); }, true, false},
        {"a page's text, made",
         [&](const QString& k) {
             append(k + "/visiting/walks.zel", "#para");
             runZelMake({k});
         },
         false, false},
        {"a child's schedule (its parent carries it)",
         [&](const QString& k) { append(k + "/news/today.zel", "#show until 2099-12-31"); }, true, false},
        {"a removed page",
         [&](const QString& k) {
             for (const char* suffix : {".zel", ".htm", "_con.htm", "_nav.htm"})
                 QFile::remove(k + "/shops/cafe" + suffix);
         },
         true, false},
        {"a page added", [&](const QString& k) { QFile::copy(k + "/shops/cafe.zel", k + "/shops/cafe2.zel"); }, true,
         false},
        {"a picture damaged", [&](const QString& k) { writeBytes(k + "/shops/bakery.jpg", "not a picture"); }, true,
         false},
        {"a picture removed", [&](const QString& k) { QFile::remove(k + "/visiting/walks.jpg"); }, true, false},
        {"a picture copy damaged",
         [&](const QString& k) {
             const QString images = k + "/news/images/";
             writeBytes(images + QDir(images).entryList({"*.jpg"}).value(0), "\xff\xd8 cut short");
         },
         true, false},
        {"the configuration", [&](const QString& k) { append(k + "/configuration.txt", "buttons 6"); }, true, true},
        {"the Template", [&](const QString& k) { append(k + "/stylesheet.css", "p.title { color: #123456; }"); }, false,
         true},
    };
    for (const auto& row : rows) {
        const QString next = dir.filePath(row.name);
        QString reason;
        ASSERT_TRUE(VersionPreparation::copyTree(first, next, reason)) << reason.toStdString();
        row.change(next);
        const KioskGate::Verdict expected = KioskGate::judge(session.session(), next);
        GateRecord nextRecord;
        const KioskGate::Verdict since = KioskGate::judge(session.session(), next, &record, &nextRecord);
        EXPECT_EQ(since.reasons, expected.reasons) << row.name;
        EXPECT_EQ(!expected.reasons.isEmpty(), row.refused) << row.name << expected.reasons.join("\n").toStdString();
        EXPECT_EQ(since.pagesRead == expected.pagesRead, row.allRead) << row.name << " " << since.pagesRead;
        // The record taken over is as good as one read anew.
        EXPECT_EQ(KioskGate::judge(session.session(), next, &nextRecord).reasons, expected.reasons) << row.name;
    }
}

// X's screens through xset, a Wayland compositor's through wlopm.
TEST(ScreenPower, SwitchesTheScreensOnlyOnADisplayThatHasAWay)
{
    using Command = ScreenPower::Command;
    const std::optional<Command> none;
    const Command off{"/usr/bin/xset", {"dpms", "force", "off"}};
    const Command on{"/usr/bin/xset", {"dpms", "force", "on"}};
    const Command wlOff{"/usr/bin/wlopm", {"--off", "*"}};
    const Command wlOn{"/usr/bin/wlopm", {"--on", "*"}};
    const struct {
        const char* platform;
        const char* display;
        const char* xset;
        const char* wlopm;
        std::optional<Command> off, on;
    } rows[] = {
        {"xcb", ":0", "/usr/bin/xset", "/usr/bin/wlopm", off, on},
        {"xcb", "", "/usr/bin/xset", "", none, none},
        {"xcb", ":0", "", "/usr/bin/wlopm", none, none},
        // Under a Wayland compositor an X display may be set for other programs.
        {"wayland", ":0", "/usr/bin/xset", "", none, none},
        {"wayland", ":0", "/usr/bin/xset", "/usr/bin/wlopm", wlOff, wlOn},
        {"offscreen", ":0", "/usr/bin/xset", "/usr/bin/wlopm", none, none},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ScreenPower::command(false, row.platform, row.display, row.xset, row.wlopm), row.off) << row.platform;
        EXPECT_EQ(ScreenPower::command(true, row.platform, row.display, row.xset, row.wlopm), row.on) << row.platform;
    }
}

// Events reach the journal as one datagram of fields, a value with a line
// break in it with its length; without a journal nothing is sent or waited for.
TEST(EventLog, SendsEachEventToTheJournalWithItsFields)
{
    const struct {
        const char* name;
        QString text;
        EventLog::Event event;
        QByteArray datagram;
    } rows[] = {
        {"refused, version and reason",
         "new version in /srv/pub refused: dead end",
         {"refused", 4, "/srv/pub", "news.zel:2: dead end"},
         "MESSAGE=new version in /srv/pub refused: dead end\nPRIORITY=4\nSYSLOG_IDENTIFIER=zel-kiosk\n"
         "ZEL_EVENT=refused\nZEL_VERSION=/srv/pub\nZEL_REASON=news.zel:2: dead end\n"},
        {"started, no reason; a line break becomes a space",
         "started:\nshowing /k",
         {"started", 6, "/k", {}},
         "MESSAGE=started: showing /k\nPRIORITY=6\nSYSLOG_IDENTIFIER=zel-kiosk\nZEL_EVENT=started\nZEL_VERSION=/k\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Journal::entry(EventLog::journalFields(row.text, row.event)), row.datagram);
    }
    EXPECT_EQ(Journal::entry({{"MESSAGE", "a\nb"}}), QByteArray("MESSAGE\n\x03\0\0\0\0\0\0\0a\nb\n", 20));

    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("journal"));
    EXPECT_FALSE(Journal::send("MESSAGE=x\n", path));
    const int socket = boundDatagramSocket(path);
    ASSERT_NE(socket, -1);
    EXPECT_TRUE(Journal::send(rows[0].datagram, path));
    char received[512];
    EXPECT_EQ(QByteArray(received, int(::recv(socket, received, sizeof received, MSG_DONTWAIT))), rows[0].datagram);
    ::close(socket);
}

} // namespace
