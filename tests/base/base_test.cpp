// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/file_fingerprint.h"
#include "base/int16.h"
#include "base/runtime_error.h"
#include "support/kiosk_fixture.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// The content hash of a file read in pieces: the same value as the hash of
// its bytes for every length, no value for what is not a regular file, and
// "changed while read" for a file cut short, grown or rewritten while it is
// read, also when another thread cuts it at any moment.
using FileFingerprint::ContentHash;

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(QRandomGenerator::global()->generate());
    return bytes;
}

// Writes bytes into the file in place at offset (-1: at its end); 0.
int writeAt(const QString& path, qint64 offset, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(offset < 0 ? QIODevice::Append : QIODevice::ReadWrite) && (offset < 0 || file.seek(offset)));
    file.write(bytes);
    return 0;
}

TEST(FileFingerprint, HashOfAFileIsTheHashOfItsBytesForEveryLength)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.jpg");
    const QByteArray bytes = randomBytes(3 * 1024 * 1024 + 77);
    const qsizetype mebibyte = 1024 * 1024;
    for (qsizetype length :
         std::initializer_list<qsizetype>{0, 1, 7, 8, 31, 32, 33, 63, 64, 100, 1000, mebibyte - 1, mebibyte,
                                          mebibyte + 1, mebibyte + 33, 2 * mebibyte + 2, bytes.size()}) {
        SCOPED_TRACE(length);
        writeBytes(path, bytes.left(length));
        const ContentHash hash = FileFingerprint::contentHash(path);
        ASSERT_EQ(hash.outcome, ContentHash::Read);
        EXPECT_EQ(hash.value, FileFingerprint::hashBytes(bytes.constData(), std::size_t(length)));
        EXPECT_EQ(hash.stamp, FileFingerprint::stampOf(path));
    }
}

// What stands at a picture's name instead of a regular file gives no hash,
// and nothing blocks: a FIFO here has a writer, so that even a reader that
// opened it would not wait.
TEST(FileFingerprint, WhatIsNotARegularFileHasNoHash)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.jpg");
    int writer = -1;
    const struct {
        const char* name;
        std::function<void()> put;
    } rows[] = {
        {"missing", [] {}},
        {"folder", [&] { ASSERT_EQ(::mkdir(qPrintable(path), 0777), 0); }},
        {"FIFO with a writer",
         [&] {
             ASSERT_EQ(::mkfifo(qPrintable(path), 0666), 0);
             writer = ::open(qPrintable(path), O_RDWR | O_NONBLOCK);
             ASSERT_GE(writer, 0);
         }},
        {"link to /dev/zero", [&] { ASSERT_TRUE(QFile::link("/dev/zero", path)); }},
        {"dangling link", [&] { ASSERT_TRUE(QFile::link(dir.filePath("gone"), path)); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.put();
        EXPECT_EQ(FileFingerprint::contentHash(path).outcome, ContentHash::Unreadable);
        if (writer >= 0)
            ::close(std::exchange(writer, -1));
        ::rmdir(qPrintable(path));
        QFile::remove(path);
    }
}

// The file changes between the pieces it is read in (the file faults are
// asked before each piece), or a read fails.
TEST(FileFingerprint, FileThatChangesWhileReadIsToldAsSuch)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.jpg");
    const QByteArray bytes = randomBytes(2 * 1024 * 1024 + 5);
    const struct {
        const char* name;
        std::function<int()>
            beforeSecondPiece; // returns the errno to fail the read with (a growing file: before every later one too)
        ContentHash::Outcome outcome;
    } rows[] = {
        {"unchanged", [] { return 0; }, ContentHash::Read},
        {"cut short", [&] { return ::truncate(qPrintable(path), 1000) == 0 ? 0 : errno; },
         ContentHash::ChangedWhileRead},
        {"cut to nothing", [&] { return ::truncate(qPrintable(path), 0) == 0 ? 0 : errno; },
         ContentHash::ChangedWhileRead},
        {"grown", [&] { return writeBytes(path, bytes + "more"), 0; }, ContentHash::ChangedWhileRead},
        {"growing before every piece from the second on (a file written without end)",
         [&] { return writeAt(path, -1, QByteArray(2 * 1024 * 1024, 'x')); }, ContentHash::ChangedWhileRead},
        {"rewritten in place, same size", [&] { return writeAt(path, bytes.size() - 1, "x"); },
         ContentHash::ChangedWhileRead},
        {"read fails", [] { return EIO; }, ContentHash::Unreadable},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(path, bytes);
        // Some time stamps are coarse: the change must show in them too.
        struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
        ::utimensat(AT_FDCWD, qPrintable(path), times, 0);
        int pieces = 0;
        const fileio::FailureHook faults = [&](std::string_view operation, const std::string& target) {
            EXPECT_EQ(operation, "read");
            EXPECT_EQ(QString::fromStdString(target), path);
            return ++pieces >= 2 && (pieces == 2 || QByteArray(row.name).startsWith("growing"))
                       ? row.beforeSecondPiece()
                       : 0;
        };
        EXPECT_EQ(FileFingerprint::contentHash(path, &faults).outcome, row.outcome);
        EXPECT_GE(pieces, 2);
    }
}

// A picture cut short by another program while it is hashed: read through a
// mapping this killed the program (SIGBUS) whenever the cut came during the
// hash. Whenever the cut comes, the answer is one of the three a reader can
// see, and the program goes on.
TEST(FileFingerprint, PictureCutShortByAnotherThreadWhileHashedNeverEndsTheProgram)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.jpg");
    const std::size_t size = 64 * 1024 * 1024;
    const std::vector<char> zeros(size, 0);
    const std::uint64_t whole = FileFingerprint::hashBytes(zeros.data(), size);
    const std::uint64_t empty = FileFingerprint::hashBytes("", 0);
    int changed = 0;
    for (int trial = 0; trial < 50; ++trial) {
        SCOPED_TRACE(trial);
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_TRUE(file.resize(qint64(size))); // sparse: quick to make, read as zeros
        }
        std::thread cut([&] { EXPECT_EQ(::truncate(qPrintable(path), 0), 0); });
        const ContentHash hash = FileFingerprint::contentHash(path);
        cut.join();
        if (hash.outcome == ContentHash::ChangedWhileRead) {
            ++changed;
            continue;
        }
        ASSERT_EQ(hash.outcome, ContentHash::Read);
        EXPECT_TRUE(hash.value == whole || hash.value == empty);
        EXPECT_EQ(hash.stamp.size, hash.value == whole ? std::int64_t(size) : 0);
    }
    RecordProperty("changedWhileRead", changed);
}

// The value, or -number of the error raised.
int outcome(const std::function<int()>& body)
{
    try {
        return body();
    } catch (const RuntimeError& e) {
        return -e.number();
    }
}

// Text converts to the nearest value, a half to the even one; what is no number
// raises Type mismatch (13), what is outside sixteen bits Overflow (6), also
// for sums, differences and products.
TEST(Int16, TextAndArithmeticGiveTheValueOrRaise)
{
    const std::pair<const char*, int> rows[] = {{"1024", 1024},   {"  77  ", 77},   {"+5", 5},      {"-32768", -32768},
                                                {"32767", 32767}, {"1024.5", 1024}, {"1.5e2", 150}, {".5", 0},
                                                {"32768", -6},    {"-32769", -6},   {"1e999", -6},  {"abc", -13},
                                                {"12 34", -13}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(outcome([&] { return int(Int16::fromText(QString::fromUtf8(text))); }), expected) << text;
    EXPECT_EQ(outcome([] { return int(Int16::subtract(-32767, 1)); }), -32768);
    EXPECT_EQ(outcome([] { return int(Int16::subtract(-32768, 1)); }), -6);
    EXPECT_EQ(outcome([] { return int(Int16::add(32767, 1)); }), -6);
    EXPECT_EQ(outcome([] { return int(Int16::multiply(26, 1280)); }), -6);
}

} // namespace
