// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-screenshot WIDTH HEIGHT PAGE PNG [PAGE PNG ...]
// Shows each made page in a browser of the given size, as a kiosk screen
// would, and saves what it shows as a PNG file. Runs without a display.
#include "common/event_wait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>
#include <cstdio>
#include <functional>

namespace {

// True once the frameset and both frames have finished loading and the
// engine has painted a frame since.
bool settled(QWebEnginePage* page)
{
    bool answered = false, ready = false;
    page->runJavaScript(
        QStringLiteral("(function () { var all = [document].concat(Array.prototype.map.call(window.frames,"
                       " function (f) { return f.document; }));"
                       " return all.every(function (d) { return d.readyState === 'complete'; }); })()"),
        [&](const QVariant& value) {
            answered = true;
            ready = value.toBool();
        });
    return waitUntil([&] { return answered; }) && ready;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5 || args.size() % 2 == 0) {
        std::fprintf(stderr, "usage: zel-screenshot WIDTH HEIGHT PAGE PNG [PAGE PNG ...]\n");
        return 2;
    }
    QWebEngineView view;
    view.resize(args.at(1).toInt(), args.at(2).toInt());
    view.show();
    waitUntil([&] { return view.windowHandle() && view.windowHandle()->isExposed(); });
    int failures = 0;
    for (int i = 3; i + 1 < args.size(); i += 2) {
        bool loaded = false;
        auto connection = QObject::connect(&view, &QWebEngineView::loadFinished, [&] { loaded = true; });
        view.setUrl(QUrl::fromLocalFile(QFileInfo(args.at(i)).absoluteFilePath()));
        const bool ok = waitUntil([&] { return loaded; }) && waitUntil([&] { return settled(view.page()); });
        QObject::disconnect(connection);
        // Give the compositor a few frames to show the finished layout.
        QEventLoop pause;
        QTimer::singleShot(400, &pause, &QEventLoop::quit);
        pause.exec();
        if (!ok || !view.grab().save(args.at(i + 1))) {
            std::fprintf(stderr, "could not grab %s\n", qPrintable(args.at(i)));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
