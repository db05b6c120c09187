// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times View on the sample kiosk system's root page: from the command to the
// page loaded in the viewer's browser. "cold": the first View of a program
// whose web engine has not started (one figure per run of this program);
// "warm": Views after the engine was started at idle as the desktop program
// starts it (WebEngineWarmUp), each in a new viewer window.
#include "pages/page_types.h"
#include "platform/session.h"
#include "system/open_kiosk_system.h"
#include "viewer/viewer_window.h"
#include "viewer/web_engine_warm_up.h"
#include "workbench/workbench.h"

#include "support/bench_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Milliseconds from View to the page loaded; -1 when it did not load.
double timeView(Workbench& workbench, const QString& page)
{
    QElapsedTimer command;
    command.start();
    ViewerWindow& viewer = workbench.instance<ViewerWindow>();
    viewer.setPage(page);
    viewer.showPage();
    bool loaded = false;
    QObject::connect(viewer.webView(1), &QWebEngineView::loadFinished, &viewer, [&] { loaded = true; });
    if (!waitUntil([&] { return loaded; }))
        return -1;
    const double ms = double(command.nsecsElapsed()) / 1e6;
    viewer.close();
    waitUntil([&] { return !workbench.exists<ViewerWindow>(); });
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const bool warm = argc > 1 && std::strcmp(argv[1], "warm") == 0;
    const int views = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    Session session;
    QTemporaryDir dir;
    const QString top = dir.path() + "/sample/";
    // The sample's pages over the Template folder, as a new kiosk system holds them.
    copyFolder(session.programFolder() + "Template", top);
    copyFolder(QStringLiteral(ZEL_SOURCE_DIR "/examples/sample"), top);
    // 1: made, with problems reported.
    const int made = runQuietly(session.programFolder() + "zel-make", {top});
    if (made < 0 || made > 1) {
        std::fprintf(stderr, "zel-make failed\n");
        return 1;
    }
    const auto kiosk = openKioskSystemHeadless(session, top, false);
    Workbench workbench(session);
    workbench.setKioskSystem(kiosk.get());
    const QString page = PageTypes::pageHtmlPath(top + "root/root.zel");

    std::vector<double> times;
    if (warm) {
        WebEngineWarmUp::start();
        // The author's first View comes seconds after the start.
        QElapsedTimer idle;
        idle.start();
        waitUntil([&] { return idle.elapsed() > 3000; });
    }
    for (int view = 0; view < (warm ? views : 1); ++view) {
        const double ms = timeView(workbench, page);
        if (ms < 0) {
            std::fprintf(stderr, "the viewer did not load the page\n");
            return 1;
        }
        times.push_back(ms);
    }
    for (const double ms : times)
        std::printf("%.0f\n", ms);
    return 0;
}
