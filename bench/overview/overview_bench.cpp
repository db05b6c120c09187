// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times the kiosk system overview: the first fill of a generated kiosk system
// of N pages (default 2000) in 20 folders, the refresh after one page source
// is saved (of its folder, and of every folder as after a folder is added or
// removed), and the check that fills in the problem counts afterwards. Then
// reads a generated
// pageviews.csv of M MiB (default 1024) and measures the peak resident memory
// that reading adds: it must stay bounded (under 100 MiB) whatever the size.
#include "app/overview_window.h"
#include "platform/session.h"
#include "system/kiosk_overview.h"
#include "system/open_kiosk_system.h"
#include "workbench/workbench.h"

#include "support/bench_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QDate>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

void generate(const QString& top, int pages)
{
    writeFile(top + "configuration.txt", "");
    writeFile(top + "root/root.zel", "#root\r\n#title Home\r\n#button f0\\p0 First\r\n");
    for (int i = 0; i < pages; ++i) {
        const QString folder = QString("f%1").arg(i % 20);
        QByteArray page = "#branch\r\n#title Page " + QByteArray::number(i) + "\r\n#para\r\nSome text.\r\n";
        page += "#button " + folder.toLatin1() + "\\p" + QByteArray::number((i + 20) % pages) + " Next\r\n";
        writeFile(top + folder + "/p" + QString::number(i) + ".zel", page);
    }
}

// Days of views of every page, one line a page and day, until the file holds megabytes MiB. With a prefix, every
// line names a page of its own, prefix and a number (the most pages a file can name).
void generatePageViews(const QString& path, int pages, qint64 megabytes, const QByteArray& prefix = {})
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write("date,page,views\r\n");
    QByteArray piece;
    for (int day = 0; file.size() < megabytes * 1024 * 1024; ++day) {
        const QByteArray date = QDate(2020, 1, 1).addDays(day % 3000).toString(Qt::ISODate).toLatin1();
        for (int i = 0; i < pages; ++i) {
            const QByteArray page =
                prefix.isEmpty() ? "p" + QByteArray::number(i) : prefix + QByteArray::number(qint64(day) * pages + i);
            piece += date + ",f" + QByteArray::number(i % 20) + "\\" + page + ".htm,"
                     + QByteArray::number((i * 7 + day) % 1000) + "\r\n";
            if (piece.size() >= 1024 * 1024) {
                file.write(piece);
                piece.clear();
            }
        }
    }
    file.write(piece);
}

// A line of /proc/self/status in KiB ("VmRSS").
qint64 statusKiB(const char* name)
{
    std::ifstream status("/proc/self/status");
    const std::string key = std::string(name) + ':';
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(key))
            return std::atoll(line.c_str() + key.size());
    return 0;
}

// Reads the page views and prints the time and the peak resident memory it added.
bool measurePageViews(const QString& top, int pages, qint64 megabytes, const QByteArray& prefix = {})
{
    const QString path = KioskOverview::pageViewsPath(top);
    generatePageViews(path, pages, megabytes, prefix);
    // The resident memory is sampled every millisecond while reading (the kernel's own peak misses memory handed
    // back to it before the peak is read).
    const qint64 before = statusKiB("VmRSS");
    std::atomic<bool> reading = true;
    std::atomic<qint64> peak = before;
    std::thread sampler([&] {
        while (reading) {
            peak = std::max<qint64>(peak, statusKiB("VmRSS"));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    QElapsedTimer timer;
    timer.start();
    const KioskOverview::PageViews views = KioskOverview::readPageViews(path);
    const double ms = timer.nsecsElapsed() / 1e6;
    reading = false;
    sampler.join();
    const qint64 added = peak - before;
    std::printf("page views of %lld MiB%s: read in %.0f ms, %lld pages, %lld lines not counted\n"
                "resident memory before reading %lld KiB, peak while reading %lld KiB: added %lld KiB "
                "(bounded: under 100 MiB)\n",
                static_cast<long long>(QFileInfo(path).size() >> 20),
                prefix.isEmpty() ? "" : ", a long page name of its own on every line", ms,
                static_cast<long long>(views.views.size()), static_cast<long long>(views.linesNotCounted),
                static_cast<long long>(before), static_cast<long long>(peak.load()), static_cast<long long>(added));
    QFile::remove(path);
    return views.problem.isEmpty() && added < 100 * 1024;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 2000;
    const qint64 viewsMegabytes = argc > 2 ? std::atoll(argv[2]) : 1024;
    Session session;
    QTemporaryDir dir;
    const QString top = dir.path() + "/kiosk/";
    generate(top, pages);
    const auto kiosk = openKioskSystemHeadless(session, top, false);
    Workbench workbench(session);
    workbench.setKioskSystem(kiosk.get());

    std::vector<double> fills, refreshes, fullRefreshes;
    double check = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        OverviewWindow& overview = workbench.instance<OverviewWindow>();
        overview.showOverview();
        fills.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        if (!QTest::qWaitFor([&] { return !overview.isChecking(); }, 600000))
            return 1;
        check = timer.nsecsElapsed() / 1e6;
        for (int save = 0; save < 5; ++save) {
            writeFile(top + "f3/p23.zel", "#branch\r\n#title Saved " + QByteArray::number(run * 10 + save) + "\r\n");
            timer.restart();
            overview.refresh({"f3"}); // the folder the watcher reports
            refreshes.push_back(timer.nsecsElapsed() / 1e6);
            writeFile(top + "f3/p23.zel", "#branch\r\n#title Again " + QByteArray::number(run * 10 + save) + "\r\n");
            timer.restart();
            overview.refresh(); // every folder, as after a folder is added or removed
            fullRefreshes.push_back(timer.nsecsElapsed() / 1e6);
            if (!QTest::qWaitFor([&] { return !overview.isChecking(); }, 600000))
                return 1;
        }
        overview.close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("pages %d\nfirst fill (median of %zu): %.1f ms\nrefresh of the saved page's folder (median of %zu): "
                "%.1f ms\nrefresh of every folder (median of %zu): %.1f ms\n"
                "check filling in the counts (last run): %.0f ms\n",
                pages + 1, fills.size(), median(fills), refreshes.size(), median(refreshes), fullRefreshes.size(),
                median(fullRefreshes), check);
    std::fflush(stdout);
    if (viewsMegabytes <= 0)
        return 0;
    const bool bounded = measurePageViews(top, pages, viewsMegabytes);
    return measurePageViews(top, pages, viewsMegabytes, QByteArray(900, 'x')) && bounded ? 0 : 1;
}
