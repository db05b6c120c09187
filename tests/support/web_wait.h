// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Waiting for the browser engine in tests. Header only: it is used by the
// test programs that link Qt WebEngine, not by the core test support library.
//
// QTest::qWaitFor processes events in short bursts with pauses between them,
// which stretches every page load of the engine to several seconds; a running
// QEventLoop lets the engine work at full speed (a made page loads in a
// fraction of a second).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <functional>
#include <memory>

constexpr int kWebTimeout = 20000;

// Runs the event loop until the condition holds (true) or the time is up (false).
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = kWebTimeout)
{
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        // Objects deleted later are deleted only from the caller's level.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (condition())
            return true;
        if (elapsed.hasExpired(timeoutMs))
            return false;
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (condition() || elapsed.hasExpired(timeoutMs))
                loop.quit();
        });
        poll.start(5);
        loop.exec();
    }
}

// Runs a script in the page (in the given script world) and waits for its
// answer; an invalid QVariant when none came in time.
inline QVariant runScript(QWebEnginePage* page, const QString& script, quint32 world = QWebEngineScript::MainWorld)
{
    auto answer = std::make_shared<std::pair<bool, QVariant>>();
    page->runJavaScript(script, world, [answer](const QVariant& value) { *answer = {true, value}; });
    waitUntil([&] { return answer->first; });
    return answer->second;
}
