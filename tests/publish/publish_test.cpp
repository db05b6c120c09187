// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing to an origin folder: the signed manifest and its refusals, the
// author's key, the origin writer and its faults, and zel-make --publish.
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"

#include "base/runtime_error.h"
#include "publish/origin_writer.h"
#include "publish/publish_key.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QString sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// The description of the RuntimeError body throws; "" when it throws none.
QString failure(const std::function<void()>& body)
{
    try {
        body();
    } catch (const RuntimeError& error) {
        return error.description();
    }
    return QString();
}

struct TestKey {
    QTemporaryDir dir;
    QString path = dir.filePath("zel/publish-key");
    PublishKey key = PublishKey::create(path);
};

// A folder of files to publish, its origin, and the faults of the origin's writes.
struct Origin {
    QTemporaryDir kiosk, origin;
    TestKey key;
    fileio::FailureHook faults = [](std::string_view, const std::string&) { return 0; };
    OriginWriter writer{origin.path(), &faults};

    void put(const QString& path, const QByteArray& bytes) const { writeBytes(kiosk.filePath(path), bytes); }
    OriginWriter::Result publish(int keep = 5) { return writer.publish(kiosk.path(), {}, key.key, keep); }
    OriginManifest manifest() const
    {
        return OriginManifest::verify(readBytes(writer.manifestPath()), key.key.publicKey()).manifest;
    }
};

} // namespace

// A signed manifest reads back as written; each forgery, escape or oversized file is refused for its reason.
TEST(OriginManifest, VerifyRefusesForgeriesEscapesAndOversizedFiles)
{
    const TestKey key, other;
    const QList<OriginManifest::File> files = {{"a/b.htm", 3, sha256("abc")}, {"root/root.htm", 0, sha256("")}};
    const OriginManifest manifest{3, QDateTime::fromSecsSinceEpoch(0, Qt::UTC), "note", 2, {{"faulty line", 1}}, files};
    const QByteArray good = manifest.signedFile(key.key), payload = manifest.payload();
    const auto signedWith = [&](const QByteArray& bytes, const QByteArray& signature) {
        return "{\"key\":\"" + key.key.publicKey().toBase64() + "\",\"payload\":\"" + bytes.toBase64()
               + "\",\"signature\":\"" + signature.toBase64() + "\"}";
    };
    const auto withFile = [&](const QString& path, const QString& hash = sha256("")) {
        OriginManifest changed = manifest;
        changed.files = {{"a", 0, hash}, {path, 0, hash}};
        return changed.signedFile(key.key);
    };
    const struct {
        const char* name;
        QByteArray bytes;
        QString refusal; // "" : taken
        QByteArray pinned = {};
    } rows[] = {
        {"as written", good, ""},
        {"signed with another key", good, "signed with another key", other.key.publicKey()},
        {"forged signature", signedWith(payload, other.key.sign(payload)), "signature does not match"},
        {"payload changed after signing",
         signedWith(QByteArray(payload).replace("\"note\"", "\"nope\""), key.key.sign(payload)),
         "signature does not match"},
        {"not JSON", "{\"key\":", "not a signed manifest"},
        {"over the size limit", QByteArray(OriginManifest::kLargestFile + 1, ' '), "larger than"},
        {"absolute path", withFile("/etc/passwd"), "an absolute path"},
        {"parent segment", withFile("b/../../etc"), "segment"},
        {"empty segment", withFile("b//c"), "segment"},
        {"backslash", withFile("b\\..\\c"), "a backslash"},
        {"control character", withFile("b\nc"), "a control character"},
        {"named twice", withFile("a"), "named twice"},
        {"hash that is no SHA-256", withFile("b", "xyz"), "no size or SHA-256"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const OriginManifest::Verified verified =
            OriginManifest::verify(row.bytes, row.pinned.isEmpty() ? key.key.publicKey() : row.pinned);
        EXPECT_TRUE(row.refusal.isEmpty() ? verified.ok() && verified.manifest.payload() == payload
                                          : verified.refusal.contains(row.refusal))
            << verified.refusal.toStdString();
    }
}

// A version's change file rebuilds its signed manifest, byte for byte, from the version before (a path with a
// quote and a letter beyond ASCII too); a change file altered in any entry rebuilds a manifest whose signature
// fails, and one from another version rebuilds nothing.
TEST(OriginManifest, ChangeFileRebuildsTheSignedManifestFromTheVersionBefore)
{
    const TestKey key;
    const OriginManifest before{4,
                                QDateTime::fromSecsSinceEpoch(0, Qt::UTC),
                                "old",
                                2,
                                {},
                                {{"a.htm", 1, sha256("a")},
                                 {"b \"ü\".htm", 1, sha256("q")},
                                 {"b.htm", 1, sha256("b")},
                                 {"c.htm", 1, sha256("c")}}};
    OriginManifest after = before;
    after.version = 5;
    after.note = "new";
    after.files = {{"a.htm", 2, sha256("a2")},
                   {"b \"ü\".htm", 1, sha256("q")},
                   {"c.htm", 1, sha256("c")},
                   {"d/e.htm", 1, sha256("e")}};
    const QByteArray signedFile = after.signedFile(key.key);
    const QByteArray changes = OriginManifest::changesFile(before, signedFile);
    EXPECT_FALSE(changes.contains("c.htm")) << "an unchanged file is not listed";
    OriginManifest other = before;
    other.version = 3;
    const struct {
        const char* name;
        QByteArray changes;
        QString refusal; // "": the signed file itself; "-": nothing rebuilt
        OriginManifest base;
    } rows[] = {
        {"as written", changes, "", before},
        {"an entry altered", QByteArray(changes).replace(sha256("a2").toLatin1(), sha256("x").toLatin1()),
         "signature does not match", before},
        {"a removal dropped", QByteArray(changes).replace("\"b.htm\"", "\"z.htm\""), "signature does not match",
         before},
        {"from another version", changes, "-", other},
        {"not JSON", "{\"changed\":", "-", before},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QByteArray rebuilt = OriginManifest::signedFileFromChanges(row.changes, row.base);
        if (row.refusal == "-")
            EXPECT_TRUE(rebuilt.isEmpty());
        else if (row.refusal.isEmpty())
            EXPECT_EQ(rebuilt, signedFile);
        else
            EXPECT_TRUE(OriginManifest::verify(rebuilt, key.key.publicKey()).refusal.contains(row.refusal));
    }
}

// Every object is the content its manifest names; a change of one file adds one object; the old versions beyond
// those kept go, and with them only the objects no kept version names; the author's own files are never published.
TEST(OriginWriter, PublishesChangedFilesOnlyAndPrunesWhatNoKeptVersionNames)
{
    Origin o;
    o.put("configuration.txt", "c");
    o.put("news/a.htm", "a");
    o.put("root/root.htm", "r1");
    for (const QString own : {"log20261208120000.txt", "log20261208120000_2.txt", "published.txt", "news/.zel-copies",
                              "news/a.zel~", ".zel-x/y"})
        o.put(own, "own");
    QFile::link(o.kiosk.filePath("news/a.htm"), o.kiosk.filePath("news/link.htm"));
    const OriginWriter::Result first = o.publish(2);
    EXPECT_EQ(std::tuple(first.version, first.newObjects, first.newBytes), std::tuple(1, 3, 4));
    const QList<OriginManifest::File> files = {
        {"configuration.txt", 1, sha256("c")}, {"news/a.htm", 1, sha256("a")}, {"root/root.htm", 2, sha256("r1")}};
    EXPECT_TRUE(o.manifest().files == files);
    for (const OriginManifest::File& file : files)
        EXPECT_EQ(sha256(readBytes(o.writer.objectPath(file.sha256))), file.sha256) << file.path.toStdString();
    EXPECT_EQ(readBytes(o.origin.filePath("versions/1.json")), readBytes(o.writer.manifestPath()));

    o.put("root/root.htm", "r2");
    const OriginWriter::Result second = o.publish(2);
    EXPECT_EQ(std::tuple(second.version, second.newObjects, second.newBytes, second.removedObjects),
              std::tuple(2, 1, 2, 0));
    EXPECT_EQ(OriginManifest::signedFileFromChanges(
                  readBytes(o.writer.changesPath(2)),
                  OriginManifest::verify(readBytes(o.origin.filePath("versions/1.json")), QByteArray()).manifest),
              readBytes(o.writer.manifestPath()));
    o.put("root/root.htm", "r3");
    const OriginWriter::Result third = o.publish(2);
    EXPECT_EQ(std::tuple(third.version, third.removedVersions, third.removedObjects), std::tuple(3, 1, 1));
    EXPECT_FALSE(QFileInfo::exists(o.origin.filePath("versions/1.json"))
                 || QFileInfo::exists(o.writer.objectPath(sha256("r1"))));
    for (const QByteArray kept : {"r2", "r3", "a", "c"})
        EXPECT_TRUE(QFileInfo::exists(o.writer.objectPath(sha256(kept)))) << kept.constData();
}

// A write of the origin that fails names the file (never a temporary) and leaves the manifest as it was; the next
// publish goes through.
TEST(OriginWriter, WriteFailureLeavesTheManifestAndNamesTheFile)
{
    const struct {
        const char* name;
        const char* operation;
        QString target; // the end of the path that fails
        int error;
    } rows[] = {
        {"object", "rename", "/objects/" + sha256("r2"), EACCES},
        {"version file", "write", "/versions/2.json", ENOSPC},
        {"manifest", "rename", "/manifest.json", EIO},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Origin o;
        o.put("root/root.htm", "r1");
        o.publish();
        const QByteArray before = readBytes(o.writer.manifestPath());
        o.put("root/root.htm", "r2");
        o.faults = [&row](std::string_view operation, const std::string& target) {
            return operation == row.operation && QString::fromStdString(target).endsWith(row.target) ? row.error : 0;
        };
        const QString reason = failure([&] { o.publish(); });
        EXPECT_TRUE(reason.contains(o.origin.path() + row.target) && !reason.contains(".zel-tmp"))
            << reason.toStdString();
        EXPECT_EQ(readBytes(o.writer.manifestPath()), before);
        o.faults = [](std::string_view, const std::string&) { return 0; };
        const int version = o.publish().version; // 3 after a version file left without its manifest
        EXPECT_TRUE(version >= 2 && o.manifest().version == version) << version;
    }
}

// The key file is made the owner's alone; one others may read, of another size or missing is refused, naming it.
TEST(PublishKey, KeyFileIsTheOwnersAloneAndAnyOtherIsRefused)
{
    const TestKey made;
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(made.path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    const struct {
        const char* name;
        mode_t mode;
        qsizetype size; // -1: no file
        QString refusal;
    } rows[] = {
        {"as made", 0600, 64, ""},
        {"mode 0644", 0644, 64, "may be read or written by others than its owner (mode 0644)"},
        {"63 bytes", 0600, 63, "is not a key file (a regular file of 64 bytes)"},
        {"missing", 0, -1, "cannot be read (No such file or directory): copy your saved key file back"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("publish-key");
        if (row.size >= 0) {
            writeBytes(path, readBytes(made.path).left(row.size));
            ::chmod(QFile::encodeName(path).constData(), row.mode);
        }
        const QString reason = failure([&] { EXPECT_EQ(PublishKey::load(path).publicKey(), made.key.publicKey()); });
        EXPECT_TRUE(row.refusal.isEmpty() ? reason.isEmpty() : reason.contains(path + " " + row.refusal))
            << reason.toStdString();
    }
}

// zel-make --publish: dead ends leave the origin untouched; published, the key is made and printed; a change of
// one page adds only that page's files; without the key the origin's kiosks pin, or into the kiosk folder itself,
// nothing is published.
TEST(ZelMakePublish, DeadEndsAreRefusedAndAChangedPageAddsOnlyItsFiles)
{
    QTemporaryDir data, originDir;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    const QString origin = originDir.filePath("origin"), keyPath = data.filePath("zel/publish-key");
    TemporaryKiosk kiosk({"screenheight 706"});
    writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#para", "Hello"});
    writeTextFile(kiosk.path("root/root.zel"), {"#root", "#button news\\today Today", "#button info\\ghost Ghost"});
    MakeRun run = runZelMake({"--publish", origin, kiosk.folder()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Not published: the kiosk check found dead ends") && run.err.contains("root.zel:3"))
        << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(origin) || QFileInfo::exists(keyPath));

    writeTextFile(kiosk.path("root/root.zel"), {"#root", "#button news\\today Today"});
    run = runZelMake({"--publish", origin, "--note", "first", kiosk.folder()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray key = PublishKey::load(keyPath).publicKey();
    const OriginManifest first = OriginManifest::verify(readBytes(origin + "/manifest.json"), key).manifest;
    EXPECT_TRUE(run.out.contains("Published version 1 to " + origin) && first.note == "first"
                && run.out.contains("public key: " + key.toBase64()))
        << run.out.toStdString();

    writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#para", "Hello again"});
    run = runZelMake({"--publish", origin, kiosk.folder()});
    const OriginManifest second = OriginManifest::verify(readBytes(origin + "/manifest.json"), key).manifest;
    QSet<QString> added;
    for (const OriginManifest::File& file : second.files)
        if (!first.files.contains(file)) {
            EXPECT_TRUE(file.path.startsWith("news/today")) << file.path.toStdString();
            added.insert(file.sha256);
        }
    EXPECT_TRUE(run.out.contains(QString("Published version 2 to %1: %2 new object").arg(origin).arg(added.size())))
        << run.out.toStdString();

    QFile::remove(keyPath);
    const QByteArray published = readBytes(origin + "/manifest.json");
    run = runZelMake({"--publish", origin, kiosk.folder()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(keyPath + " is missing: copy your saved key file back")) << run.err.toStdString();
    EXPECT_EQ(readBytes(origin + "/manifest.json"), published);
    EXPECT_FALSE(QFileInfo::exists(keyPath));
    run = runZelMake({"--publish", kiosk.path("news/origin"), kiosk.folder()});
    EXPECT_TRUE(run.exitCode == 2 && run.err.contains("lies in the kiosk system folder")) << run.err.toStdString();
    qunsetenv("XDG_DATA_HOME");
}
