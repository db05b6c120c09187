// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

class TemporaryKiosk;

// A made kiosk system with one of each thing the kiosk check finds: a faulty
// line, a dead end, missing / non-JPEG / unreadable pictures, a page never
// made, a source and a picture changed since the make, a page nobody
// reaches, and a button and an item text too long for their place. Needs an
// open (headless) kiosk; leaves the kiosk system open.
void writeKioskWithEveryFinding(TemporaryKiosk& kiosk);

// The finding lines zel-make --check prints for it.
QStringList expectedFindingLines(const QString& folder);

// Sets a file's modification time.
void setModified(const QString& path, const QDateTime& when);

// Every file below the folder: relative path -> modification time and contents.
QMap<QString, QPair<QDateTime, QByteArray>> folderSnapshot(const QString& folder);

// zel-make as a script calls it (exit code -1: crashed or hung, see runProgram);
// program names another path to it (a link).
struct MakeRun {
    int exitCode = -1;
    QString out, err;
};
MakeRun runZelMake(const QStringList& arguments, const QString& program = QStringLiteral(ZEL_PROGRAM_DIR "/zel-make"));
