// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-kiosk as an operator starts it: the refusal of a kiosk system that
// would strand visitors, the status of a running kiosk, the step back to
// the version before, one kiosk per state folder, its end by SIGTERM or by
// a page that keeps breaking, and special files in its state folder (its
// command line: tests/tools/command_line_test.cpp).
#include "heartbeat.h"
#include "version_store.h"
#include "kiosk_visit.h"
#include "support/kiosk_fixture.h"
#include "support/program_run.h"
#include "support/web_wait.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The processes below pid, with their command lines.
QList<QPair<pid_t, QString>> descendants(pid_t pid)
{
    QHash<pid_t, pid_t> parents; // from /proc/N/stat: "N (command) state parent ..."
    for (const QString& entry : QDir("/proc").entryList({"[1-9]*"}, QDir::Dirs)) {
        const QByteArray stat = readBytes("/proc/" + entry + "/stat");
        parents[pid_t(entry.toInt())] = pid_t(stat.mid(stat.lastIndexOf(')') + 2).split(' ').value(1).toInt());
    }
    QList<QPair<pid_t, QString>> found;
    for (const auto& [child, parent] : std::as_const(parents).asKeyValueRange()) {
        pid_t above = parent;
        while (above > 1 && above != pid)
            above = parents.value(above, 0);
        if (above == pid)
            found.append({child, QString::fromLocal8Bit(readBytes(QStringLiteral("/proc/%1/cmdline").arg(child)))});
    }
    return found;
}

TEST(KioskCommand, RefusesAKioskSystemWithoutItsRootPageOrWithADeadEnd)
{
    QTemporaryDir dir;
    const QString kiosk = dir.filePath("kiosk");
    makeSampleKiosk(kiosk);
    EXPECT_EQ(runKiosk({"--check", kiosk}, dir.path()).exitCode, 0);

    writeTextFile(kiosk + "/news/news.zel", readLines(kiosk + "/news/news.zel") << "#button shops\\gone Gone");
    QFile::remove(kiosk + "/root/root.htm");
    // Started for real, it stops before showing anything.
    const KioskRun run = runKiosk({kiosk}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    for (const QString& said : {"zel-kiosk: " + kiosk + " is refused:\n", QString("root.htm does not exist"),
                                QString("news.zel:"), QString(": dead end: ")})
        EXPECT_TRUE(run.err.contains(said)) << run.err.toStdString();
    EXPECT_TRUE(readLines(dir.filePath("zel-kiosk/kiosk.log")).filter("refused to start").size() == 1);
}

// A wrong line of the settings file stops the start before anything is
// shown, named with its line (the file's rows: kiosk_rules_test.cpp).
TEST(KioskCommand, RefusesAWrongSettingAtStartWithItsLine)
{
    QTemporaryDir dir;
    makeSampleKiosk(dir.filePath("kiosk"));
    ServiceRun run(dir.path(), {"openingHours=Mon-Fri 08:00-18:00; Sat 10:00-14:00", "idleSeconds=2 minutes"},
                   {dir.filePath("kiosk")});
    ASSERT_TRUE(run.process.waitForFinished(60000));
    EXPECT_EQ(run.process.exitCode(), 2);
    const QString err = QString::fromLocal8Bit(run.process.readAllStandardError());
    EXPECT_TRUE(err.startsWith("zel-kiosk: settings: " + dir.path()
                               + "/config/ZEL_Editor.ini line 3: idleSeconds: "
                                 "\"2 minutes\" is not"))
        << err.toStdString();
}

// The heartbeat a kiosk writes, read back by --status and --status --json:
// exit 0 only while it beats (every 10 s: at most three missed), its process
// runs and its pages are not caught in a restart loop.
TEST(KioskCommand, StatusTellsWhetherTheKioskRuns)
{
    QProcess gone;
    gone.start("true");
    gone.waitForStarted();
    const qint64 gonePid = gone.processId();
    gone.waitForFinished();
    const struct {
        const char* name;
        int secondsSinceBeat; // -1: no heartbeat written
        qint64 pid;           // 0: the test's own
        int failing;
        const char* ended;
        int exitCode;
        const char* state; // the first line matches this
        const char* word;  // the JSON's state
    } rows[] = {
        {"no heartbeat", -1, 0, 0, "", 1, R"(state: not running \(no heartbeat in .*/zel-kiosk/heartbeat.txt\))",
         "not running"},
        {"beating", 0, 0, 0, "", 0, "state: running", "running"},
        // A process that ran a minute ago: the first one's.
        {"a minute without a heartbeat", 60, 1, 0, "", 1, R"(state: not running \(no heartbeat for 6[01] s\))",
         "silent"},
        {"its process gone", 0, gonePid, 0, "", 1, R"(state: not running \(process \d+ is gone\))", "gone"},
        {"a restart loop", 0, 0, 3, "", 1, R"(state: restart loop \(3 failed restarts in a row\))", "restart loop"},
        {"ended by the quit keys", 0, 0, 0, "by the quit keys", 1, "state: ended by the quit keys", "ended"},
        {"given up", 0, 0, 0, "after 5 failed restarts in a row", 1, "state: ended after 5 failed restarts in a row",
         "ended"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        Heartbeat beat;
        beat.version = ZEL_VERSION;
        beat.pid = row.pid ? row.pid : QCoreApplication::applicationPid();
        beat.lastPageTime = beat.written = QDateTime::currentDateTime().addSecs(-row.secondsSinceBeat);
        beat.started = beat.written.addSecs(-(3 * 86400 + 3723));
        beat.shown = "/srv/kiosk";
        beat.restarts = 2;
        beat.failing = row.failing;
        beat.lastRestartReason = "screen 1: render process crashed (exit code 11)";
        beat.lastPage = "news\\news.htm";
        beat.ended = row.ended;
        QDir().mkpath(dir.filePath("zel-kiosk"));
        const bool beats = row.secondsSinceBeat >= 0;
        if (beats)
            beat.write(dir.filePath("zel-kiosk/heartbeat.txt"));
        const KioskRun status = runKiosk({"--status"}, dir.path()), json = runKiosk({"--status", "--json"}, dir.path());
        EXPECT_EQ(status.exitCode, row.exitCode);
        EXPECT_EQ(json.exitCode, row.exitCode);
        EXPECT_TRUE(QRegularExpression(QString("^") + row.state + "\n").match(status.out).hasMatch())
            << status.out.toStdString();
        for (const char* line : {"uptime: 3 d 01:02:03\n", "restarts: 2\n", "shown: /srv/kiosk\n",
                                 "last restart reason: screen 1: render process crashed (exit code 11)\n"})
            EXPECT_EQ(status.out.contains(line), beats) << line;
        const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
        EXPECT_EQ(object["state"].toString(), row.word) << json.out.toStdString();
        // LF line ends, times in UTC with their zone.
        EXPECT_TRUE(!beats
                    || (object["uptimeSeconds"].toInt() == 3 * 86400 + 3723 && object["restarts"].toInt() == 2
                        && object["lastPage"].toString() == "news\\news.htm"
                        && object["lastPageTime"].toString().endsWith('Z')
                        && QRegularExpression("^[^\r]*\nwritten: \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ\n[^\r]*$")
                               .match(QString::fromUtf8(readBytes(dir.filePath("zel-kiosk/heartbeat.txt"))))
                               .hasMatch()))
            << json.out.toStdString();
    }
    // A heartbeat of an older kiosk: CRLF, local times, "ended: yes".
    QTemporaryDir dir;
    writeTextFile(
        dir.filePath("zel-kiosk/heartbeat.txt"),
        {"pid: 1", "written: " + QDateTime::currentDateTime().toString(Qt::ISODate), "restarts: 4", "ended: yes"});
    const KioskRun older = runKiosk({"--status"}, dir.path());
    EXPECT_TRUE(older.out.startsWith("state: ended by the quit keys\n")) << older.out.toStdString();
    EXPECT_TRUE(older.out.contains("restarts: 4\n"));
}

TEST(KioskCommand, StepBackShowsTheVersionBeforeFromTheNextStart)
{
    QTemporaryDir dir;
    const KioskRun none = runKiosk({"--step-back"}, dir.path());
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.startsWith("zel-kiosk: no earlier version to step back to in ")) << none.err.toStdString();

    // A following kiosk took two versions, one after the other.
    VersionStore store(dir.filePath("zel-kiosk/versions"));
    QString versions[2];
    for (QString& version : versions) {
        makeSampleKiosk(version = store.completeVersion(store.beginVersion()));
        store.setCurrent(version);
    }
    const QString &older = versions[0], &newer = versions[1];

    const KioskRun back = runKiosk({"--step-back"}, dir.path());
    EXPECT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_EQ(back.out, "shown from the next start: " + older + "\nstepped back from: " + newer + "\n");
    EXPECT_EQ(VersionStore(dir.filePath("zel-kiosk/versions")).current(), older);
    EXPECT_EQ(readLines(dir.filePath("zel-kiosk/kiosk.log")).filter("stepped back from " + newer).size(), 1);

    // Started again, the kiosk shows the older version.
    QDir().mkpath(dir.filePath("published"));
    ServiceRun again(dir.path(), {}, {"--follow", dir.filePath("published"), dir.filePath("kiosk")});
    const QString heartbeat = dir.filePath("zel-kiosk/heartbeat.txt");
    EXPECT_TRUE(waitUntil([&] { return readLines(heartbeat).contains("shown: " + older); }, 30000))
        << readLines(heartbeat).join('\n').toStdString();
}

// Started, the kiosk shows the root page (also run inside cage: in_cage.sh).
// Two kiosks on one state folder would remove each other's versions: the
// second refuses to start, naming the first. SIGTERM (systemctl stop) ends
// the first as its quit keys do: page views kept, "ended" logged, status 0;
// so it does during the start-up check.
TEST(KioskCommand, ShowsTheRootPageOneKioskPerStateFolderAndSIGTERMEndsItCleanly)
{
    QTemporaryDir dir;
    const QString kiosk = dir.filePath("kiosk");
    makeSampleKiosk(kiosk);
    const QString views = dir.filePath("zel-kiosk/pageviews.csv");
    writeTextFile(views, {"date,page,views", "2026-05-04,news\\news.htm,7"});
    ServiceRun first(dir.path(), {"watchdogSeconds=1"}, {kiosk});
    ASSERT_TRUE(first.told("READY=1"));
    EXPECT_TRUE(first.told("WATCHDOG=1"));
    const QString logPath = dir.filePath("zel-kiosk/kiosk.log");
    EXPECT_TRUE(waitUntil(
        [&] { return readLines(logPath).filter(" screen 1: shows " + kiosk + "/root/root.htm").size() == 1; }, 60000))
        << readLines(logPath).join('\n').toStdString();
    EXPECT_EQ(readLines(logPath).filter(" screen(s), platform " + qEnvironmentVariable("QT_QPA_PLATFORM")).size(), 1);

    const KioskRun second = runKiosk({kiosk}, dir.path());
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.err, QStringLiteral("zel-kiosk: another zel-kiosk (pid %1) runs on the state folder %2\n")
                              .arg(first.process.processId())
                              .arg(dir.filePath("zel-kiosk")));

    EXPECT_EQ(first.terminate(), 0);
    const QStringList log = readLines(logPath);
    EXPECT_EQ(log.filter("SIGTERM: ending").size(), 1) << log.join('\n').toStdString();
    EXPECT_TRUE(log.last().endsWith(" ended")) << log.join('\n').toStdString();
    EXPECT_TRUE(readLines(views).contains("2026-05-04,news\\news.htm,7"));
    const KioskRun status = runKiosk({"--status"}, dir.path());
    EXPECT_TRUE(status.out.startsWith("state: ended by SIGTERM\n")) << status.out.toStdString();

    // Stopped as soon as it holds the state folder: during its check, or just after.
    QFile::remove(logPath);
    ServiceRun early(dir.path(), {}, {kiosk});
    const QString lock = dir.filePath("zel-kiosk/kiosk.lock");
    ASSERT_TRUE(
        waitUntil([&] { return readLines(lock).value(0) == QString::number(early.process.processId()); }, 60000));
    EXPECT_EQ(early.terminate(), 0);
    EXPECT_TRUE(readLines(logPath).value(readLines(logPath).size() - 1).endsWith(" ended"))
        << readLines(logPath).join('\n').toStdString();
}

// The black loop: with its zygote processes killed, no render process can
// start again. The kiosk does not restart for ever: after restartLimit
// failed restarts in a row it ends with status 3, for systemd to start it
// afresh, and --status says why.
TEST(KioskCommand, AKioskWhosePagesCannotComeBackEndsWithinTheRestartLimit)
{
    QTemporaryDir dir;
    const QString kiosk = dir.filePath("kiosk");
    makeSampleKiosk(kiosk);
    ServiceRun run(dir.path(), {"watchdogSeconds=1", "heartbeatSeconds=1", "restartLimit=2"}, {kiosk});
    ASSERT_TRUE(run.told("READY=1"));
    ASSERT_TRUE(run.told("WATCHDOG=1"));
    const pid_t kioskPid = pid_t(run.process.processId());
    for (const char* kind : {"--type=zygote", "--type=renderer"})
        for (const auto& [pid, commandLine] : descendants(kioskPid))
            if (commandLine.contains(kind))
                ::kill(pid, SIGKILL);
    ASSERT_TRUE(run.process.waitForFinished(120000));
    EXPECT_EQ(run.process.exitCode(), 3);
    const QStringList log = readLines(dir.filePath("zel-kiosk/kiosk.log"));
    EXPECT_LE(log.filter(": back to the root page").size(), 2) << log.join('\n').toStdString();
    EXPECT_EQ(log.filter("2 failed restarts in a row, the last: ").size(), 1) << log.join('\n').toStdString();
    EXPECT_TRUE(log.last().endsWith(" ended with status 3"));
    const KioskRun status = runKiosk({"--status"}, dir.path());
    EXPECT_EQ(status.exitCode, 1);
    EXPECT_TRUE(status.out.startsWith("state: ended after 2 failed restarts in a row\n")) << status.out.toStdString();
}

// A FIFO or a link to a device where the kiosk keeps its files holds
// neither its start, nor --status, nor --step-back.
TEST(KioskCommand, SpecialStateFilesHoldNothingUp)
{
    QTemporaryDir dir;
    const QString kiosk = dir.filePath("kiosk");
    makeSampleKiosk(kiosk);
    const QString published = dir.filePath("published");
    QDir().mkpath(published);
    // Each file a FIFO, then each a link to /dev/zero.
    const QStringList files = {"heartbeat.txt", "pageviews.csv", "versions/state.txt", "kiosk.log"};
    for (int row = 0; row <= files.size(); ++row) {
        const bool fifo = row < files.size();
        const QString home = dir.filePath(QString::number(row));
        SCOPED_TRACE(fifo ? files[row].toStdString() + " a FIFO" : "each a link to /dev/zero");
        QDir().mkpath(home + "/zel-kiosk/versions");
        for (const QString& file : fifo ? files.mid(row, 1) : files) {
            const QByteArray path = QFile::encodeName(home + "/zel-kiosk/" + file);
            ASSERT_EQ(fifo ? ::mkfifo(path.constData(), 0644) : ::symlink("/dev/zero", path.constData()), 0);
        }
        // runKiosk gives up on a program that has not ended after two minutes (-1).
        EXPECT_EQ(runKiosk({"--status"}, home).exitCode, 1);
        EXPECT_EQ(runKiosk({"--step-back"}, home).exitCode, 1);
        ServiceRun run(home, {}, {"--follow", published, kiosk});
        EXPECT_TRUE(run.told("READY=1"));
        EXPECT_EQ(run.terminate(), 0);
    }
}

} // namespace
