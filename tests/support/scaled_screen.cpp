// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scaled_screen.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

ProgramRun runTestOnScreen(const ScaledScreen& screen, const QString& test, const QProcessEnvironment& extra)
{
    // A screen of its own ratio measures its size in logical pixels.
    QTemporaryDir dir;
    const QString screens = dir.filePath(QStringLiteral("screens.json"));
    QFile file(screens);
    if (!file.open(QIODevice::WriteOnly))
        return {-1, {}, screens + QStringLiteral(" could not be written")};
    file.write(QStringLiteral(R"({"screens": [{"name": "desk", "x": 0, "y": 0, "width": %1, "height": %2,)"
                              R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": %3}]})")
                   .arg(1280 / screen.screenRatio)
                   .arg(1024 / screen.screenRatio)
                   .arg(screen.screenRatio)
                   .toUtf8());
    file.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(extra);
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(screen.scale));
    ProgramRun run =
        runProgram(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=") + test, QStringLiteral("--gtest_also_run_disabled_tests"),
                    QStringLiteral("-platform"), QStringLiteral("offscreen:configfile=") + screens},
                   environment);
    if (run.exitCode == 0 && !run.output.contains("[  PASSED  ] 1 test"))
        run.exitCode = -1;
    return run;
}
