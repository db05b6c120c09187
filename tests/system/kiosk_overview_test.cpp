// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/kiosk_fixture.h"
#include "system/kiosk_overview.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <sys/stat.h>

namespace {

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

} // namespace
