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
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct KioskRun {
    int exitCode = -1;
    QString out, err;
};

// zel-kiosk run to its end with its state folder in stateHome.
KioskRun runKiosk(const QStringList& arguments, const QString& stateHome)
{
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome));
    const ProgramRun run = runProgram(ZEL_KIOSK_PROGRAM, arguments);
    qunsetenv("XDG_STATE_HOME");
    return {run.exitCode, QString::fromLocal8Bit(run.output), run.error};
}

// zel-kiosk started for real with its state folder in stateHome and these
// [Kiosk] settings, as systemd starts it: what it tells systemd (READY=1,
// WATCHDOG=1) arrives on a socket of the test's own.
class ServiceRun {
public:
    ServiceRun(const QString& stateHome, const QStringList& settings, const QStringList& arguments)
        : m_socketPath(stateHome + "/notify")
    {
        QDir().mkpath(stateHome + "/config");
        writeTextFile(stateHome + "/config/ZEL_Editor.ini", QStringList{"[Kiosk]"} + settings);
        m_socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(m_socketPath);
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        ::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_STATE_HOME", stateHome);
        environment.insert("XDG_CONFIG_HOME", stateHome + "/config");
        environment.insert("NOTIFY_SOCKET", m_socketPath);
        process.setProcessEnvironment(environment);
        process.start(ZEL_KIOSK_PROGRAM, arguments);
    }
    ~ServiceRun()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
        ::close(m_socket);
    }
    // Waits for a message to systemd ("READY=1"); false when the kiosk ended or a minute passed.
    bool told(const QByteArray& message)
    {
        for (int slice = 0; slice < 240 && process.state() != QProcess::NotRunning; ++slice) {
            pollfd readable{m_socket, POLLIN, 0};
            if (::poll(&readable, 1, 250) == 1) {
                char buffer[256];
                const ssize_t size = ::recv(m_socket, buffer, sizeof buffer, 0);
                if (size > 0 && QByteArray(buffer, int(size)) == message)
                    return true;
            }
            QCoreApplication::processEvents();
        }
        return false;
    }
    // SIGTERM, as systemctl stop sends it; the exit status (-1: no normal end within a minute).
    int terminate()
    {
        process.terminate();
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        return process.exitCode();
    }
    QProcess process;

private:
    QString m_socketPath;
    int m_socket = -1;
};

// The processes below pid, with their command lines.
QList<QPair<pid_t, QString>> descendants(pid_t pid)
{
    QHash<pid_t, pid_t> parents;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t child = pid_t(entry.toInt(&number));
        QFile stat("/proc/" + entry + "/stat");
        if (!number || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            parents[child] = pid_t(fields[1].toInt());
    }
    QList<QPair<pid_t, QString>> found;
    for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
        pid_t above = it.value();
        while (above > 1 && above != pid)
            above = parents.value(above, 0);
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(it.key()));
        if (above == pid && commandLine.open(QIODevice::ReadOnly))
            found.append({it.key(), QString::fromLocal8Bit(commandLine.readAll().replace('\0', ' '))});
    }
    return found;
}

TEST(KioskCommand, RefusesAKioskSystemWithoutItsRootPageOrWithADeadEnd)
{
    QTemporaryDir dir;
    const QString kiosk = dir.filePath("kiosk");
    makeSampleKiosk(kiosk);
    EXPECT_EQ(runKiosk({"--check", kiosk}, dir.path()).exitCode, 0);

    QStringList news = readLines(kiosk + "/news/news.zel");
    news.append("#button shops\\gone Gone");
    writeTextFile(kiosk + "/news/news.zel", news);
    QFile::remove(kiosk + "/root/root.htm");
    // Started for real, it stops before showing anything.
    const KioskRun run = runKiosk({kiosk}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("zel-kiosk: " + kiosk + " is refused:\n")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("root.htm does not exist")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("news.zel:")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(": dead end: ")) << run.err.toStdString();
    EXPECT_TRUE(readLines(dir.filePath("zel-kiosk/kiosk.log")).filter("refused to start").size() == 1);
}

// A wrong line of the settings file stops the start before anything is
// shown, named with its line (the file's rows: kiosk_rules_test.cpp).
TEST(KioskCommand, RefusesAWrongSettingAtStartWithItsLine)
{
    QTemporaryDir dir;
    const QString kiosk = dir.filePath("kiosk");
    makeSampleKiosk(kiosk);
    const QString settings = dir.filePath("config/ZEL_Editor.ini");
    QDir().mkpath(dir.filePath("config"));
    writeBytes(settings, "[Kiosk]\nopeningHours=Mon-Fri 08:00-18:00; Sat 10:00-14:00\nidleSeconds=2 minutes\n");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
    const KioskRun run = runKiosk({kiosk}, dir.path());
    qputenv("XDG_CONFIG_HOME", config);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith("zel-kiosk: settings: " + settings + " line 3: idleSeconds: \"2 minutes\" is not"))
        << run.err.toStdString();
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
        beat.written = QDateTime::currentDateTime().addSecs(-row.secondsSinceBeat);
        beat.started = beat.written.addSecs(-(3 * 86400 + 3723));
        beat.shown = "/srv/kiosk";
        beat.restarts = 2;
        beat.failing = row.failing;
        beat.lastRestartReason = "screen 1: render process crashed (exit code 11)";
        beat.lastPage = "news\\news.htm";
        beat.lastPageTime = beat.written;
        beat.ended = row.ended;
        QDir().mkpath(dir.filePath("zel-kiosk"));
        if (row.secondsSinceBeat >= 0)
            beat.write(dir.filePath("zel-kiosk/heartbeat.txt"));
        const KioskRun status = runKiosk({"--status"}, dir.path());
        EXPECT_EQ(status.exitCode, row.exitCode);
        EXPECT_TRUE(QRegularExpression(QString("^") + row.state + "\n").match(status.out).hasMatch())
            << status.out.toStdString();
        for (const char* line : {"uptime: 3 d 01:02:03\n", "restarts: 2\n", "shown: /srv/kiosk\n",
                                 "last restart reason: screen 1: render process crashed (exit code 11)\n"})
            EXPECT_EQ(status.out.contains(line), row.secondsSinceBeat >= 0) << line;
        const KioskRun json = runKiosk({"--status", "--json"}, dir.path());
        EXPECT_EQ(json.exitCode, row.exitCode);
        const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
        EXPECT_EQ(object["state"].toString(), row.word) << json.out.toStdString();
        if (row.secondsSinceBeat >= 0) {
            EXPECT_EQ(object["uptimeSeconds"].toInt(), 3 * 86400 + 3723);
            EXPECT_EQ(object["restarts"].toInt(), 2);
            EXPECT_EQ(object["lastPage"].toString(), "news\\news.htm");
            EXPECT_TRUE(object["lastPageTime"].toString().endsWith('Z')) << json.out.toStdString();
            // LF line ends, times in UTC with their zone.
            QFile file(dir.filePath("zel-kiosk/heartbeat.txt"));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            EXPECT_FALSE(text.contains('\r'));
            EXPECT_TRUE(QRegularExpression("\nwritten: \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ\n")
                            .match(QString::fromUtf8(text))
                            .hasMatch());
        }
    }
    // A heartbeat of an older kiosk: CRLF, local times, "ended: yes".
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("zel-kiosk"));
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
    const QString older = store.completeVersion(store.beginVersion());
    makeSampleKiosk(older);
    store.setCurrent(older);
    const QString newer = store.completeVersion(store.beginVersion());
    makeSampleKiosk(newer);
    store.setCurrent(newer);

    const KioskRun back = runKiosk({"--step-back"}, dir.path());
    EXPECT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_EQ(back.out, "shown from the next start: " + older + "\nstepped back from: " + newer + "\n");
    EXPECT_EQ(VersionStore(dir.filePath("zel-kiosk/versions")).current(), older);
    EXPECT_EQ(readLines(dir.filePath("zel-kiosk/kiosk.log")).filter("stepped back from " + newer).size(), 1);

    // Started again, the kiosk shows the older version.
    const QString published = dir.filePath("published");
    QDir().mkpath(published);
    QProcess kiosk;
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir.path()));
    kiosk.start(ZEL_KIOSK_PROGRAM, {"--follow", published, dir.filePath("kiosk")});
    qunsetenv("XDG_STATE_HOME");
    const QString heartbeat = dir.filePath("zel-kiosk/heartbeat.txt");
    EXPECT_TRUE(waitUntil([&] { return readLines(heartbeat).contains("shown: " + older); }, 30000))
        << readLines(heartbeat).join('\n').toStdString();
    kiosk.terminate();
    kiosk.waitForFinished();
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
    QDir().mkpath(dir.filePath("zel-kiosk"));
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
    const QStringList log = readLines(dir.filePath("zel-kiosk/kiosk.log"));
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
    const QStringList files = {"heartbeat.txt", "pageviews.csv", "versions/state.txt", "kiosk.log"};
    const struct {
        const char* name;
        QStringList files;
        bool fifo; // else a link to /dev/zero
    } rows[] = {
        {"heartbeat.txt a FIFO", {files[0]}, true}, {"pageviews.csv a FIFO", {files[1]}, true},
        {"state.txt a FIFO", {files[2]}, true},     {"kiosk.log a FIFO", {files[3]}, true},
        {"each a link to /dev/zero", files, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString home = dir.filePath(row.name);
        QDir().mkpath(home + "/zel-kiosk/versions");
        for (const QString& file : row.files) {
            const QByteArray path = QFile::encodeName(home + "/zel-kiosk/" + file);
            ASSERT_EQ(row.fifo ? ::mkfifo(path.constData(), 0644) : ::symlink("/dev/zero", path.constData()), 0);
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
