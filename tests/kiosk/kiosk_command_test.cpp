// zel-kiosk as an operator starts it: the refusal of a kiosk system that
// would strand visitors, the status of a running kiosk and the step back to
// the version before (its command line: tests/tools/command_line_test.cpp).
#include "heartbeat.h"
#include "version_store.h"
#include "kiosk_visit.h"
#include "support/kiosk_fixture.h"
#include "support/web_wait.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct KioskRun {
    int exitCode = -1;
    QString out, err;
};

KioskRun runKiosk(const QStringList& arguments, const QString& stateHome)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_STATE_HOME", stateHome);
    process.setProcessEnvironment(environment);
    process.start(ZEL_KIOSK_PROGRAM, arguments);
    KioskRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
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

TEST(KioskCommand, StatusTellsWhetherTheKioskRuns)
{
    QTemporaryDir dir;
    const KioskRun none = runKiosk({"--status"}, dir.path());
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.startsWith("state: not running (no heartbeat in ")) << none.out.toStdString();

    Heartbeat beat;
    beat.version = ZEL_VERSION;
    beat.started = QDateTime::currentDateTime().addSecs(-3600);
    beat.written = QDateTime::currentDateTime();
    QDir().mkpath(dir.filePath("zel-kiosk"));
    beat.write(dir.filePath("zel-kiosk/heartbeat.txt"));
    const KioskRun running = runKiosk({"--status"}, dir.path());
    EXPECT_EQ(running.exitCode, 0);
    EXPECT_TRUE(running.out.contains("state: running\n")) << running.out.toStdString();
    EXPECT_TRUE(running.out.contains("uptime: 0 d 01:00:0")) << running.out.toStdString();
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
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_STATE_HOME", dir.path());
    kiosk.setProcessEnvironment(environment);
    kiosk.start(ZEL_KIOSK_PROGRAM, {"--follow", published, dir.filePath("kiosk")});
    const QString heartbeat = dir.filePath("zel-kiosk/heartbeat.txt");
    EXPECT_TRUE(waitUntil([&] { return readLines(heartbeat).contains("shown: " + older); }, 30000))
        << readLines(heartbeat).join('\n').toStdString();
    kiosk.terminate();
    kiosk.waitForFinished();
}

} // namespace
