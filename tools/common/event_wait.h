// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>

// Runs the event loop in steps of stepMs until the condition holds (true) or
// timeoutMs have passed (false): the screenshot tools wait for pages to load
// with it, and the benchmarks, whose timings keep millisecond resolution.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 30000, int stepMs = 1)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.hasExpired(timeoutMs))
            return false;
        QEventLoop loop;
        QTimer::singleShot(stepMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}
