// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/qt_printing.h"
#include "support/test_session.h"

#include "config/kiosk_system.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// Writes a file (creating its folders); lines are joined with CR LF, with a final CR LF.
void writeTextFile(const QString& path, const QStringList& lines);
void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);
// The file's lines (CR LF, LF or CR accepted).
QStringList readLines(const QString& path);

// A kiosk system in a temporary folder, with recorded messages and a caught
// program end. folder() ends with the separator.
class TemporaryKiosk {
    QTemporaryDir m_dir; // first: the session's options may name folders in it

public:
    // configurationLines go into configuration.txt (an empty list gives an empty file).
    explicit TemporaryKiosk(const QStringList& configurationLines = {}, TestSession::Options options = {});
    QString folder() const;
    QString path(const QString& relative) const;
    // Opens the kiosk system as the desktop program would on a screen of this
    // size, and keeps it open (replacing the one opened before).
    KioskSystem& open(QSize screen = QSize(1280, 1024));
    // Opens it as the headless maker does (configured screen, no checks).
    KioskSystem& openHeadless();
    // The lines of the one log file in the folder (fails the test if there is not exactly one, or if a line does
    // not end with CR LF).
    QStringList logLines() const;

    // The kiosk's own session, handed to the kiosk system it opens and to the
    // windows under test.
    TestSession session;
    RecordingMessages& messages = session.messages;

private:
    std::unique_ptr<KioskSystem> m_system; // after the session it was opened in
};

// Copies the Template folder and the bundled sample kiosk system into the
// folder (made if need be), giving a complete kiosk system ready to make.
void copySampleKiosk(const QString& folder);
