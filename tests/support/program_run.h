// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// A program run to its end, started with an argument list. Exit code -1: it crashed, or it had not ended after
// two minutes and was killed (error then says so). The environment is this program's unless given.
struct ProgramRun {
    int exitCode = -1;
    QByteArray output;
    QString error;
};
ProgramRun runProgram(const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// Waits (at most a minute) until no running program's command line holds text, as programs that a killed
// parent left behind end on their own. False when some still run.
bool waitUntilNoProgramNames(const QString& text);
