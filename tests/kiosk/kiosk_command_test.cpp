// zel-kiosk as an operator starts it: the refusal of a kiosk system that
// would strand visitors, the status of a running kiosk and the step back to
// the version before (its command line: tests/tools/command_line_test.cpp).
#include "heartbeat.h"
#include "version_store.h"
#include "kiosk_visit.h"
#include "support/kiosk_fixture.h"
#include "support/program_run.h"
#include "support/web_wait.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// The heartbeat a kiosk writes, read back by --status: every line of it, and
// exit 0 only while it beats (every 10 s: at most three missed).
TEST(KioskCommand, StatusTellsWhetherTheKioskRuns)
{
    const struct {
        const char* name;
        int secondsSinceBeat; // -1: no heartbeat written
        bool ended;
        int exitCode;
        const char* state; // the first line matches this
    } rows[] = {
        {"no heartbeat", -1, false, 1, R"(state: not running \(no heartbeat in .*/zel-kiosk/heartbeat.txt\))"},
        {"beating", 0, false, 0, "state: running"},
        {"a minute without a heartbeat", 60, false, 1, R"(state: not running \(no heartbeat for 6[01] s\))"},
        {"ended by the quit keys", 0, true, 1, "state: ended by the quit keys"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        Heartbeat beat;
        beat.version = ZEL_VERSION;
        beat.written = QDateTime::currentDateTime().addSecs(-row.secondsSinceBeat);
        beat.started = beat.written.addSecs(-(3 * 86400 + 3723));
        beat.shown = "/srv/kiosk";
        beat.restarts = 2;
        beat.lastRestartReason = "screen 1: render process crashed (exit code 11)";
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
    }
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

} // namespace
