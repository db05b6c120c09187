// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/kiosk_fixture.h"
#include "system/recovery_copies.h"

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Copy = RecoveryCopies::Copy;

QStringList texts(const QList<RecoveryCopies::LeftCopy>& copies)
{
    QStringList found;
    for (const auto& left : copies)
        found.append(left.copy.text);
    return found;
}

// Two runs in one folder: a copy is offered only once its run has ended, only for its own kiosk system (however
// the folder is written), in the order it was made, with every field as written; a removed copy and a copy that
// cannot be read are not offered.
TEST(RecoveryCopies, OnlyCopiesOfEndedRunsAreOfferedForTheirKioskSystem)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    const QString kiosk = dir.filePath("kiosk") + "/";
    auto ended = std::make_unique<RecoveryCopies>(folder);
    RecoveryCopies live(folder);
    const QString text = QString::fromUtf8("#para\nline two\r\n\u00e9\u2028end");
    std::vector<QString> names;
    for (int i = 0; i < 11; ++i)
        names.push_back(ended->newName());
    ASSERT_EQ(ended->write(names[0], {kiosk, kiosk + "news/today.zel", 1, text}), "");
    ASSERT_EQ(ended->write(names[10], {kiosk, "", 4, "tenth"}), "");
    ASSERT_EQ(ended->write(names[2], {dir.filePath("other/"), "", 2, "another kiosk"}), "");
    ASSERT_EQ(ended->write(names[3], {kiosk, "", 2, "removed"}), "");
    ended->remove(names[3]);
    ASSERT_EQ(live.write(live.newName(), {kiosk, "", 1, "live run"}), "");
    writeBytes(folder + "/" + names[4] + ".zelrecovery", "{\"kioskFolder\": \"cut off");

    RecoveryCopies third(folder);
    EXPECT_EQ(texts(third.leftBehind(kiosk)), QStringList()) << "the run holding its lock is not over";
    ended.reset();
    EXPECT_EQ(texts(third.leftBehind(kiosk)), (QStringList{text, "tenth"}));
    EXPECT_EQ(texts(third.leftBehind(dir.filePath("kiosk"))), (QStringList{text, "tenth"})) << "no separator";
    EXPECT_EQ(texts(third.leftBehind(dir.filePath("kiosk/../kiosk/"))), (QStringList{text, "tenth"}));
    EXPECT_EQ(texts(third.leftBehind(dir.filePath("other"))), QStringList{"another kiosk"});
    const auto left = third.leftBehind(kiosk);
    ASSERT_EQ(left.size(), 2);
    EXPECT_EQ(left[0].copy.pageSource, kiosk + "news/today.zel");
    EXPECT_EQ(left[0].copy.pageType, 1);
    EXPECT_EQ(left[1].copy.pageType, 4);
    EXPECT_EQ(QDir(folder).entryList({"*.tmp", "*.new"}, QDir::Files | QDir::Hidden), QStringList());
}

// A copy that cannot be written says the system's reason, and the copy written before stays and is offered once
// its run has ended; a folder that cannot be made (a file in the way) is said too. (That a failure at any step of
// the replacement keeps the old file whole is the file layer's test.)
TEST(RecoveryCopies, FailedWriteSaysWhyAndKeepsTheLastGoodCopy)
{
    QTemporaryDir dir;
    const QString kiosk = dir.filePath("kiosk/"), folder = dir.filePath("recovery");
    bool full = false;
    const fileio::FailureHook diskFull = [&full](std::string_view operation, const std::string&) {
        return full && operation == "write" ? ENOSPC : 0;
    };
    writeBytes(dir.filePath("blocked"), "a file");
    RecoveryCopies blocked(dir.filePath("blocked/recovery"));
    EXPECT_EQ(blocked.write(blocked.newName(), {kiosk, "", 1, "text"}), "Not a directory");
    auto run = std::make_unique<RecoveryCopies>(folder, &diskFull);
    const QString name = run->newName(), good = "#para\ngood";
    ASSERT_EQ(run->write(name, {kiosk, "", 1, good}), "");
    full = true;
    EXPECT_EQ(run->write(name, {kiosk, "", 1, good + " and more"}), "No space left on device");
    run.reset();
    EXPECT_EQ(texts(RecoveryCopies(folder).leftBehind(kiosk)), QStringList{good});
}
} // namespace
