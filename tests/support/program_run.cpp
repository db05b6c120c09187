// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/program_run.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

ProgramRun runProgram(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, program + QStringLiteral(" crashed, or did not end in time")};
    }
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

bool waitUntilNoProgramNames(const QString& text)
{
    const QByteArray wanted = text.toLocal8Bit();
    const auto anyRuns = [&] {
        for (const QString& pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile commandLine("/proc/" + pid + "/cmdline");
            if (pid.front().isDigit() && commandLine.open(QIODevice::ReadOnly)
                && commandLine.readAll().contains(wanted))
                return true;
        }
        return false;
    };
    QElapsedTimer waited;
    waited.start();
    while (anyRuns()) {
        if (waited.hasExpired(60000))
            return false;
        QThread::msleep(20);
    }
    return true;
}
