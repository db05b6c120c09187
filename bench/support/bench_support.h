#pragma once

// Small helpers the benchmarks share. Header only: each benchmark is one
// program built on request.

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <functional>

// Writes the bytes to the path, making its folder first. Benchmarks write
// their own generated input, so a failure shows in the figures, not here.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

// Runs the event loop in steps of a millisecond until the condition holds
// (true) or the time is up (false), so timings keep millisecond resolution.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 30000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.hasExpired(timeoutMs))
            return false;
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}
