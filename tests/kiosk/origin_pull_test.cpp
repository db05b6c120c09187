// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Kiosks pulling the versions zel-make --publish writes to an origin served
// by nginx on 127.0.0.1: two headless agents taking each version and fetching
// only what changed, the origin going away and coming back, and every
// refusal of a pulled version, the version shown staying.
#include "kiosk_visit.h"
#include "origin_puller.h"
#include "version_intake.h"
#include "version_store.h"
#include "support/check_kiosk.h"
#include "support/test_session.h"
#include "support/kiosk_fixture.h"
#include "support/mosquitto_broker.h"
#include "support/mqtt_listener.h"
#include "support/nginx_server.h"
#include "support/web_wait.h"

#include "app/kiosks_window.h"
#include "workbench/workbench.h"
#include "publish/origin_manifest.h"
#include "publish/publish_key.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

constexpr int kPullTimeout = 120000;

QString sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// A made sample kiosk system published with zel-make --publish to an origin,
// with the author's key in a data folder of its own.
struct PublishedKiosk {
    QTemporaryDir dir;
    QString kiosk = dir.filePath("kiosk"), origin = dir.filePath("origin"), data = dir.filePath("data");
    int edits = 0;

    struct Published {
        int objects = -1;
        qint64 bytes = -1;
    };
    // Publishes the kiosk system as it is now.
    Published publish() const
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        const MakeRun run = runZelMake({"--publish=" + origin, kiosk});
        qunsetenv("XDG_DATA_HOME");
        const QRegularExpressionMatch match = QRegularExpression(R"((\d+) new objects \((\d+) bytes\))").match(run.out);
        EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
        return match.hasMatch() ? Published{match.captured(1).toInt(), match.captured(2).toLongLong()} : Published{};
    }
    // Changes the text of one page.
    void changePage()
    {
        const QString page = kiosk + "/shops/bakery.zel";
        writeBytes(page,
                   readBytes(page).replace("every morning", "every morning, edit " + QByteArray::number(++edits)));
    }
    PublishKey key() const { return PublishKey::load(data + "/zel/publish-key"); }
    QByteArray manifest() const { return readBytes(origin + "/manifest.json"); }
};

// zel-kiosk --no-display pulling from url with its own state folder, asking every second.
class PullAgent : public ServiceRun {
public:
    PullAgent(const QString& home, const QString& url, const QString& key, const QStringList& settings = {})
        : ServiceRun(home, QStringList{"pullSeconds=1", "heartbeatSeconds=1"} + settings,
                     {"--no-display", "--origin", url, "--key", key, QFileInfo(home).fileName()}),
          m_home(home)
    {}
    int shown() const { return VersionStore(m_home + "/zel-kiosk/versions").shownVersion(); }
    void killHard() { ::kill(pid_t(process.processId()), SIGKILL); }
    QString log() const { return QString::fromUtf8(readBytes(m_home + "/zel-kiosk/kiosk.log")); }
    QString home() const { return m_home; }

private:
    QString m_home;
};

// The sum of the bytes of the requests for objects among these nginx log lines.
qint64 objectBytes(const QStringList& requests)
{
    qint64 bytes = 0;
    for (const QString& line : requests.filter("/objects/"))
        bytes += line.section(' ', 2).toLongLong();
    return bytes;
}

// A made sample kiosk system published once, its origin served by nginx (the test skips where nginx is missing).
class OriginPull : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (NginxServer::program().isEmpty())
            GTEST_SKIP() << "nginx is not installed";
        makeSampleKiosk(site.kiosk);
        site.publish();
        ASSERT_TRUE(server.start()) << server.error().toStdString();
    }
    PublishedKiosk site;
    NginxServer server{site.origin};
};

} // namespace

// Both agents take version 1, then version 2 with one page changed, fetching
// just the change file and the changed objects; with the server stopped they keep version 2 and
// take version 3 once it is back; --status names the versions; version 4 is
// assembled in the version dropped. An agent reading the origin folder takes
// each version too.
TEST_F(OriginPull, TwoAgentsTakeEachVersionFetchingOnlyWhatChangedAndOutlastTheOriginGoingAway)
{
    const QString key = site.key().publicKeyText();
    PullAgent a(site.dir.filePath("a"), server.url(), key), b(site.dir.filePath("b"), server.url(), key);
    // A third pulls the origin folder itself, as rsync or Syncthing carries it.
    PullAgent c(site.dir.filePath("c"), "file://" + site.origin, key);
    const auto both = [&](int version) {
        return waitUntil([&] { return a.shown() == version && b.shown() == version && c.shown() == version; },
                         kPullTimeout);
    };
    ASSERT_TRUE(both(1)) << a.log().toStdString() << b.log().toStdString() << c.log().toStdString();

    site.changePage();
    const qsizetype before = server.requests().size();
    const PublishedKiosk::Published changed = site.publish();
    ASSERT_GT(changed.objects, 0);
    ASSERT_TRUE(both(2)) << a.log().toStdString() << b.log().toStdString();
    const QStringList requests = server.requests().mid(before);
    EXPECT_EQ(requests.filter("/objects/").size(), 2 * changed.objects) << requests.join('\n').toStdString();
    EXPECT_EQ(objectBytes(requests), 2 * changed.bytes);
    // Each took it from the change file, not the whole manifest.
    EXPECT_EQ(requests.filter("/versions/2.changes.json 200 ").size(), 2) << requests.join('\n').toStdString();

    server.stop();
    site.changePage();
    site.publish();
    ASSERT_TRUE(
        waitUntil([&] { return a.log().contains(" not reached") && b.log().contains(" not reached"); }, kPullTimeout));
    EXPECT_EQ(a.shown(), 2);
    ASSERT_TRUE(server.start()) << server.error().toStdString();
    ASSERT_TRUE(both(3)) << a.log().toStdString() << b.log().toStdString();
    EXPECT_TRUE(a.log().contains(" reached again"));

    const KioskRun status = runKiosk({"--status", "--json"}, a.home());
    const QJsonObject object = QJsonDocument::fromJson(status.out.toUtf8()).object();
    EXPECT_EQ(status.exitCode, 0) << status.out.toStdString();
    EXPECT_EQ(object.value("origin").toString(), server.url());
    EXPECT_EQ(object.value("kiosk").toString(), "a");
    EXPECT_EQ(object.value("versionShown").toInt(), 3);
    EXPECT_EQ(object.value("versionAvailable").toInt(), 3);

    // Version 4 is assembled in the spare, the folder of version 1: it holds the manifest's files with their
    // content and nothing else, whatever else the spare held.
    const QString spare = a.home() + "/zel-kiosk/versions/.spare";
    writeBytes(spare + "/stray.txt", "stray");
    writeBytes(spare + "/shops/stray/deep.txt", "stray");
    QFile::remove(spare + "/configuration.txt");
    struct stat spareFolder {
    }, shownFolder{};
    ASSERT_EQ(::stat(QFile::encodeName(spare).constData(), &spareFolder), 0);
    site.changePage();
    site.publish();
    ASSERT_TRUE(both(4)) << a.log().toStdString() << b.log().toStdString();
    const QString shown = VersionStore(a.home() + "/zel-kiosk/versions").current();
    ASSERT_EQ(::stat(QFile::encodeName(shown).constData(), &shownFolder), 0);
    EXPECT_EQ(shownFolder.st_ino, spareFolder.st_ino);
    QSet<QString> expected = {".zel-gate", ".zel-manifest.json"}, held; // folders ending with "/"
    for (const OriginManifest::File& file : OriginManifest::verify(site.manifest(), QByteArray()).manifest.files) {
        expected.insert(file.path);
        for (qsizetype slash = file.path.indexOf('/'); slash >= 0; slash = file.path.indexOf('/', slash + 1))
            expected.insert(file.path.left(slash + 1));
        EXPECT_EQ(sha256(readBytes(shown + '/' + file.path)), file.sha256) << file.path.toStdString();
    }
    for (QDirIterator it(shown, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = QDir(shown).relativeFilePath(it.next());
        held.insert(path + (it.fileInfo().isDir() ? "/" : ""));
    }
    EXPECT_EQ(held, expected);
}

// The whole fleet on this machine: an origin served by nginx, two headless
// agents pulling it and reporting to a real broker, and the author's Kiosks
// window: both show version 1 as current, then 2 after a publish; one killed
// hard shows offline (its last will) while the other stays current.
TEST_F(OriginPull, TheKiosksWindowSeesBothAgentsTakeEachVersionAndAKilledOneGoOffline)
{
    if (!MosquittoBroker::available())
        GTEST_SKIP() << "mosquitto is not installed";
    QDir().mkpath(site.dir.filePath("broker"));
    MosquittoBroker mosquitto(site.dir.filePath("broker"));
    ASSERT_TRUE(mosquitto.start()) << mosquitto.why().toStdString();
    const QStringList broker{"brokerHost=127.0.0.1", QString("brokerPort=%1").arg(mosquitto.port()),
                             "brokerPrefix=test"};
    const QString key = site.key().publicKeyText();
    PullAgent east(site.dir.filePath("east"), server.url(), key, broker),
        west(site.dir.filePath("west"), server.url(), key, broker);

    TestSession session;
    Workbench workbench(session.session());
    KiosksWindow& window = workbench.instance<KiosksWindow>();
    window.connectTo(localBroker(mosquitto.port()));
    window.show();
    const auto shows = [&](const char* kiosk, const char* state, const char* version) {
        return waitUntil(
            [&] {
                const QTreeWidgetItem* row = window.rowOf(QString::fromLatin1(kiosk));
                return row && row->text(KiosksWindow::kColumnState) == state
                       && row->text(KiosksWindow::kColumnVersion) == version;
            },
            kPullTimeout);
    };
    ASSERT_TRUE(shows("east", "online", "1") && shows("west", "online", "1")) << east.log().toStdString();
    site.changePage();
    site.publish();
    ASSERT_TRUE(shows("east", "online", "2") && shows("west", "online", "2")) << west.log().toStdString();
    EXPECT_EQ(window.latestVersion(), "2");
    west.killHard();
    EXPECT_TRUE(shows("west", "offline", "2"));
    EXPECT_EQ(window.rowOf("east")->text(KiosksWindow::kColumnState), "online");
    window.close();
}

// A kiosk that took version 2 refuses each forged, damaged or replayed
// version (logged with its reason, version 2 staying shown), takes nothing
// while its state folder is full, and then takes version 3, resuming the
// download of an object that was cut off. (Paths that escape or are absolute
// are refused by the manifest's verification: publish_test.cpp.)
TEST_F(OriginPull, EachForgedDamagedOrReplayedVersionIsRefusedAndTheVersionShownStays)
{
    site.changePage();
    site.publish();
    const QString state = site.dir.filePath("state");
    qputenv("XDG_STATE_HOME", QFile::encodeName(state));
    VersionStore store(state + "/versions");
    std::atomic<int> fault = 0;
    const fileio::FailureHook full = [&](std::string_view operation, const std::string&) {
        return operation == "write" ? fault.load() : 0;
    };
    VersionIntake* intake = nullptr;
    VersionIntake taking(store,
                         {[&] { return store.current(); }, [&](const QString& version) { intake->shown(version); }},
                         ZEL_KIOSK_PROGRAM, &full);
    intake = &taking;
    const PublishKey key = site.key();
    OriginPuller puller({server.url(), key.publicKey(), state + "/objects", 3600000, 64 * 1024}, store, taking);
    QSignalSpy polled(&puller, &OriginPuller::polled);
    const auto pollOnce = [&] {
        const qsizetype seen = polled.size();
        puller.poll();
        return waitUntil([&] { return polled.size() > seen; }, kPullTimeout);
    };
    const auto log = [&] { return QString::fromUtf8(readBytes(state + "/zel-kiosk/kiosk.log")); };
    puller.start();
    ASSERT_TRUE(waitUntil([&] { return polled.size() == 1; }, kPullTimeout)) << log().toStdString();
    ASSERT_EQ(store.shownVersion(), 2) << log().toStdString();
    const QString shown = store.current();

    const QByteArray good = site.manifest();
    const OriginManifest taken = OriginManifest::verify(good, key.publicKey()).manifest;
    QTemporaryDir otherDir;
    const PublishKey other = PublishKey::create(otherDir.filePath("key"));
    // Version 3 with its first file's content given as `content`, its object holding `object`.
    const auto withObject = [&](const QByteArray& content, const QByteArray& object) {
        OriginManifest next = taken;
        next.version = 3;
        next.files.first().sha256 = sha256(content);
        next.files.first().size = content.size();
        writeBytes(site.origin + "/objects/" + sha256(content), object);
        return next.signedFile(key);
    };
    OriginManifest renoted = taken;
    renoted.note = "another note";
    OriginManifest next = taken;
    next.version = 3;
    const struct {
        const char* name;
        QByteArray manifest;
        const char* reason;
    } rows[] = {
        {"another key", next.signedFile(other), "signed with another key"},
        {"forged", QByteArray(next.signedFile(other)).replace(other.publicKey().toBase64(), key.publicKey().toBase64()),
         "the signature does not match"},
        {"changed object", withObject("changed", "chanGed"), "does not hold what its SHA-256 names"},
        {"truncated object", withObject("truncate", "trun"), "is truncated: 4 of 8 bytes"},
        {"longer object", withObject("longer", "longer and longer"), "is larger than 6 bytes"},
        {"replayed", readBytes(site.origin + "/versions/1.json"), "version 1 is older than version 2 taken"},
        {"same number", renoted.signedFile(key), "version 2 differs from the version 2 taken"},
        {"oversized change file", next.signedFile(key), "versions/3.changes.json is larger than 65536 bytes"},
    };
    // Having taken version 2, the kiosk asks for the change file of version 3.
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray changes = OriginManifest::changesFile(taken, row.manifest);
        if (std::string_view(row.name) == "oversized change file")
            changes += QByteArray(64 * 1024, ' ');
        writeBytes(site.origin + "/versions/3.changes.json", changes);
        ASSERT_TRUE(pollOnce());
        const QStringList lines = log().split('\n', Qt::SkipEmptyParts);
        EXPECT_TRUE(lines.last().contains(" refused, the version shown stays: ")
                    && lines.last().contains(QString::fromUtf8(row.reason)))
            << lines.last().toStdString();
        EXPECT_EQ(store.current(), shown);
        EXPECT_EQ(QDir(store.root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).size(), 1);
    }

    // Version 3, one object of it cut off half-way: nothing is taken while the state folder is full.
    QFile::remove(site.origin + "/versions/3.changes.json");
    site.changePage();
    ASSERT_GT(site.publish().objects, 0);
    const OriginManifest three = OriginManifest::verify(site.manifest(), key.publicKey()).manifest;
    QString cut;
    for (const OriginManifest::File& file : three.files)
        if (file.size > 1 && !QFileInfo::exists(state + "/objects/" + file.sha256))
            cut = file.sha256;
    ASSERT_FALSE(cut.isEmpty());
    const QByteArray object = readBytes(site.origin + "/objects/" + cut);
    writeBytes(state + "/objects/" + cut + ".part", object.left(object.size() / 2));
    fault = ENOSPC;
    ASSERT_TRUE(pollOnce());
    EXPECT_TRUE(log().contains(" not taken, tried again at each look: ")) << log().toStdString();
    EXPECT_EQ(store.current(), shown);
    fault = 0;
    ASSERT_TRUE(pollOnce());
    EXPECT_EQ(store.shownVersion(), 3) << log().toStdString();
    const QStringList resumed = server.requests().filter("/objects/" + cut);
    ASSERT_EQ(resumed.size(), 1);
    EXPECT_TRUE(resumed.front().contains(" 206 ")) << resumed.front().toStdString();
    qunsetenv("XDG_STATE_HOME");
}
