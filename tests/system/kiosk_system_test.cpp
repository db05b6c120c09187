// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The kiosk system as it is opened, the page views its overview sums, and the
// recovery copies of the editor's pages.
#include "support/kiosk_fixture.h"
#include "system/kiosk_overview.h"
#include "system/open_kiosk_system.h"
#include "system/recovery_copies.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <sys/stat.h>

namespace {

// The open takes the real screen's size (warning when it is smaller) unless it
// is headless (no screen), then derives the layout from it; the worked values
// for 1280 x 1024 are those of the log below. Configuration lines and items
// ("name = value" lines of the log) have "|" between them.
TEST(OpenKioskSystem, ItemsAfterTheOpen)
{
    const QString warning =
        "Warning your screen is NOT the same size as required for the Kiosk System\r\n"
        "Some pages may NOT display correctly\r\n\r\nRequired width is 1280 actual width is 1024\r\n"
        "Required height is 1024 actual height is 768";
    const struct {
        const char *name, *configuration;
        QSize screen;
        const char* items;
    } rows[] = {
        {"smaller screen: warned, then used", "screens 2|remotescreen 2", QSize(1024, 768),
         "screens = 1|remotescreen = 1|screenwidth = 1024|screenheight = 768|mode = 2|navigationHeight = 762|"
         "leafNavigationWidth = 122|selectorContentAvailableWidth = 744"},
        {"headless keeps the configured screens", "screens 2|screenwidth 800|screenheight 600", QSize(),
         "screens = 2|remotescreen = 0|mode = 2|navigationHeight = 594|leafNavigationWidth = 96"},
        {"navigation share above a quarter", "branchnavigationpercentage 26|rootnavigationpercentage 100",
         QSize(1280, 1024), "branchNavigationWidth = 332|rootNavigationWidth = 1280|rootContentWidth = -4"},
        {"no scroll bar, no space", "scrollbarwidth 0|minimumhorizontalspace 0", QSize(1280, 1024),
         "leafContentAvailableWidth = 1123|leafMaximumImageWidth = 1123"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryKiosk kiosk(QString(row.configuration).split('|'));
        row.screen.isValid() ? kiosk.open(row.screen) : kiosk.openHeadless();
        EXPECT_EQ(kiosk.messages.texts(), row.screen.width() == 1024 ? QStringList{warning} : QStringList());
        for (const QString& item : QString(row.items).split('|'))
            EXPECT_TRUE(kiosk.logLines().contains(item)) << item.toStdString();
    }
}

// Opened headless from the folder given with blanks around it and without the separator.
TEST(OpenKioskSystem, LogListsAllFortyOneItemsInStoreOrder)
{
    TemporaryKiosk kiosk;
    const auto system = openKioskSystemHeadless(kiosk.session.session(), "  " + kiosk.folder().chopped(1) + "  ");
    const QStringList expected =
        QStringList{"kioskSystemFolder = " + kiosk.folder(),
                    "logFileNumber = " + QString::number(system->integerValue("logFileNumber")),
                    "rootFilePath = " + kiosk.folder() + "root" + QDir::separator() + "root.htm"}
        + QString(
              "mode = 2, buttons = 8, screenwidth = 1280, screenheight = 1024, screens = 1, remotescreen = 0, "
              "leafnavigationpercentage = 12, branchnavigationpercentage = 25, rootnavigationpercentage = 25, "
              "selectornavigationpercentage = 25, navigationheightadjustment = 6, navigationwidthadjustment = 4, "
              "scrollbarwidth = 20, minimumhorizontalspace = 5, language = , screenheightmm = 0, mountingheightmm = 0, "
              "navigationHeight = 1018, "
              "branchNavigationWidth = 320, branchContentWidth = 956, branchButtonWidth = 316, "
              "branchContentAvailableWidth = 956, branchMaximumImageWidth = 946, leafNavigationWidth = 153, "
              "leafContentWidth = 1123, leafButtonWidth = 149, leafContentAvailableWidth = 1103, "
              "leafMaximumImageWidth = 1093, rootNavigationWidth = 320, rootContentWidth = 956, "
              "rootButtonWidth = 316, rootContentAvailableWidth = 956, rootMaximumImageWidth = 946, "
              "selectorNavigationWidth = 320, selectorContentWidth = 956, selectorButtonWidth = 316, "
              "selectorContentAvailableWidth = 936, selectorMaximumImageWidth = 926")
              .split(", ");
    EXPECT_EQ(kiosk.logLines(), expected);
}

// configuration.txt may set kioskSystemFolder (stored kiosk systems do), but
// a move to another folder is never silent: the open says so, naming both
// folders, and the log keeps it. "~/" is the folder opened, "@/" another one.
TEST(OpenKioskSystem, ConfigurationThatMovesTheFolderIsTold)
{
    const struct {
        const char *name, *value, *folder;
        bool moved;
    } rows[] = {
        {"another folder", "@/", "@/", true},
        {"another folder without the separator", "@", "@/", true},
        {"the same folder", "~/", "~/", false},
        {"the same folder without the separator", "~", "~/", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir otherDir;
        const QString other = otherDir.path() + "/";
        TemporaryKiosk kiosk;
        const auto here = [&](const QString& text) {
            return QString(text)
                .replace("~/", kiosk.folder())
                .replace('~', kiosk.folder().chopped(1))
                .replace("@/", other)
                .replace('@', other.chopped(1));
        };
        writeTextFile(kiosk.path("configuration.txt"), {"kioskSystemFolder " + here(row.value)});
        const KioskSystem& system = kiosk.open(QSize(1280, 1024));
        EXPECT_EQ(system.folder(), here(row.folder));
        const QString message =
            "Kiosk System Folder - " + kiosk.folder() + " is moved to " + other + " by configuration.txt";
        EXPECT_EQ(kiosk.messages.texts(), row.moved ? QStringList{message} : QStringList());
        EXPECT_EQ(kiosk.logLines().contains(message), row.moved);
    }
}

// The counts of a pageviews.csv as the overview sums them: what is not a count of 0 or more is not counted
// (and said as such), sums go past 2^31 and stop at the largest qint64 instead of wrapping.
TEST(PageViews, CountsOfZeroOrMoreAddUpWithoutWrapping)
{
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    const QByteArray header = "date,page,views\r\n";
    const QByteArray tooLong = "2026-05-04,news\\" + QByteArray(1100, 'x') + ".htm,3\r\n";
    QByteArray manyPages = header;
    for (int i = 0; i < KioskOverview::kMostPageViewPages; ++i)
        manyPages += "2026-05-04,p\\" + QByteArray::number(i) + ".htm,1\n";
    manyPages += "2026-05-05,news\\today.htm,1\n";
    const struct {
        const char* name;
        QByteArray file;
        qint64 today, notCounted;
    } rows[] = {
        {"negative count", header + "2026-05-04,news\\today.htm,7\r\n2026-05-05,news\\today.htm,-3\r\n", 7, 1},
        {"no count, a sign, letters, a fraction",
         "2026-05-04,news\\today.htm,\n2026-05-04,news\\today.htm,+2\n2026-05-04,news\\today.htm,7x\n"
         "2026-05-04,news\\today.htm,1.5\n2026-05-04,news\\today.htm,2\n",
         2, 4},
        {"sum beyond 2^31", "d,news\\today.htm,2000000000\rd,news\\today.htm,2000000000\rd,news\\today.htm,1\r",
         4000000001, 0},
        {"count beyond 2^63 stops at the largest", "d,news\\today.htm,99999999999999999999\nd,news\\today.htm,5\n",
         largest, 0},
        {"sum beyond 2^63 stops at the largest",
         "d,news\\today.htm,9223372036854775807\nd,news\\today.HTM,1\nd,news\\today,1\n", largest, 0},
        {"blanks around the count, no final line end", "\xEF\xBB\xBF" + header + "d,news\\today.htm, 4 \t", 4, 0},
        {"line too long for a page", tooLong + "d,news\\today.htm,2\n", 2, 1},
        {"pages beyond the most kept", manyPages, 0, 1},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("pageviews.csv");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(path, row.file);
        const KioskOverview::PageViews read = KioskOverview::readPageViews(path);
        EXPECT_EQ(read.problem, "");
        EXPECT_EQ(read.views.value("news\\today"), row.today);
        EXPECT_EQ(read.linesNotCounted, row.notCounted);
    }
}

// Whatever stands at the name of pageviews.csv or of a listed page source, reading it neither waits nor reads
// without end, and says why it could not be read.
TEST(PageViews, WhatIsNoRegularFileIsSaidNeverWaitedOn)
{
    const struct {
        const char* name;
        std::function<bool(const QString&)> make;
        QString reason;
    } rows[] = {
        {"FIFO", [](const QString& path) { return ::mkfifo(qPrintable(path), 0600) == 0; }, "is not a regular file"},
        {"link to /dev/zero", [](const QString& path) { return QFile::link("/dev/zero", path); },
         "is not a regular file"},
        {"folder", [](const QString& path) { return QDir().mkdir(path); }, "is a folder"},
        {"dangling link", [](const QString& path) { return QFile::link("gone", path); }, "No such file or directory"},
        {"page source above 64 MB",
         [](const QString& path) {
             QFile file(path);
             return file.open(QIODevice::WriteOnly) && file.resize(64 * 1024 * 1024 + 1);
         },
         "is larger than 64 MB"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString views = dir.filePath("pageviews.csv");
        const QString page = dir.filePath("today.zel");
        ASSERT_TRUE(row.make(views) && row.make(page));
        const KioskOverview::PageSummary summary = KioskOverview::summarize({"news", "today"}, page);
        EXPECT_EQ(summary.unreadable, row.reason);
        EXPECT_EQ(summary.type, PageType::Invalid);
        if (row.reason.startsWith("is larger"))
            continue; // page views are read in pieces, whatever their size
        const KioskOverview::PageViews read = KioskOverview::readPageViews(views);
        EXPECT_EQ(read.problem, row.reason);
        EXPECT_TRUE(read.views.isEmpty());
    }
}

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
