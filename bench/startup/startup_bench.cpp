// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times how long a program takes from its start to its first window mapped on
// the X display ($DISPLAY, a bare server with no window manager): the editor
// and a minimal Qt Widgets program, started alternately, each run ended once
// its window is there. Prints "ratio N" (median editor / median minimal) first,
// and last the processor time each took to its window, which a busy machine
// hardly changes.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

constexpr int kTimeoutMs = 60000;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds the process's threads have run on a processor so far (the
// kernel's schedstat): unlike the time to the window, hardly longer on a
// machine that other work keeps busy.
double processorMs(qint64 pid)
{
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    double ns = 0;
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks + u'/' + task + QStringLiteral("/schedstat"));
        if (schedstat.open(QIODevice::ReadOnly))
            ns += schedstat.readAll().split(' ').value(0).toDouble();
    }
    return ns / 1e6;
}

struct Start {
    double shownMs = -1; // -1: no window appeared in time
    double processorMs = 0;
};

// From the program's start to a top-level window mapped.
Start timeToWindow(xcb_connection_t* x, const QString& program, const QProcessEnvironment& environment)
{
    while (xcb_generic_event_t* stale = xcb_poll_for_event(x))
        std::free(stale);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    Start start;
    double& shown = start.shownMs;
    while (shown < 0 && clock.elapsed() < kTimeoutMs) {
        pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
        poll(&fd, 1, 50);
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && shown < 0) {
                shown = double(clock.nsecsElapsed()) / 1e6;
                start.processorMs = processorMs(process.processId());
            }
            std::free(event);
        }
    }
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(10000);
    }
    return start;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "Usage: zel-startup-bench RUNS EDITOR MINIMAL\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const QString editor = QString::fromLocal8Bit(argv[2]);
    const QString minimal = QString::fromLocal8Bit(argv[3]);

    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> x(xcb_connect(nullptr, nullptr), xcb_disconnect);
    if (xcb_connection_has_error(x.get())) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.get())).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x.get(), screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x.get());

    // Both in the same fresh home: no settings, no recent kiosk systems.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.path() + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    // One unmeasured start of each fills the file cache.
    timeToWindow(x.get(), editor, environment);
    timeToWindow(x.get(), minimal, environment);
    std::vector<double> editorTimes;
    std::vector<double> minimalTimes;
    std::vector<double> editorProcessor;
    std::vector<double> minimalProcessor;
    for (int run = 0; run < runs; ++run) {
        const Start e = timeToWindow(x.get(), editor, environment);
        const Start m = timeToWindow(x.get(), minimal, environment);
        if (e.shownMs < 0 || m.shownMs < 0) {
            std::fprintf(stderr, "no window within %d ms\n", kTimeoutMs);
            return 1;
        }
        editorTimes.push_back(e.shownMs);
        minimalTimes.push_back(m.shownMs);
        editorProcessor.push_back(e.processorMs);
        minimalProcessor.push_back(m.processorMs);
    }
    const double editorMedian = median(editorTimes);
    const double minimalMedian = median(minimalTimes);
    std::printf("ratio %.2f\n", editorMedian / minimalMedian);
    std::printf(
        "start to window mapped, median of %d alternate runs: editor %.0f ms, minimal Qt Widgets program %.0f ms\n",
        runs, editorMedian, minimalMedian);
    std::printf("processor time to window mapped, medians: editor %.0f ms, minimal %.0f ms (ratio %.2f)\n",
                median(editorProcessor), median(minimalProcessor), median(editorProcessor) / median(minimalProcessor));
    return 0;
}
