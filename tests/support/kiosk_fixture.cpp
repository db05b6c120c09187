// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/kiosk_fixture.h"

#include "base/screen_size.h"
#include "pages/files.h"
#include "system/open_kiosk_system.h"
#include "text/text_codec.h"
#include "text/text_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ADD_FAILURE() << "cannot write " << path.toStdString();
    file.write(bytes);
}

void writeTextFile(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes.append(line.toUtf8()).append("\r\n");
    writeBytes(path, bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList readLines(const QString& path) { return TextCodec::splitLines(TextCodec::decode(readBytes(path))); }

TemporaryKiosk::TemporaryKiosk(const QStringList& configurationLines, TestSession::Options options)
    : session(std::move(options))
{
    writeTextFile(path(QStringLiteral("configuration.txt")), configurationLines);
}

QString TemporaryKiosk::folder() const { return QDir::toNativeSeparators(m_dir.path()) + QDir::separator(); }

QString TemporaryKiosk::path(const QString& relative) const { return folder() + QDir::toNativeSeparators(relative); }

KioskSystem& TemporaryKiosk::open(QSize screen)
{
    m_system = openKioskSystemRunState(session.session(), folder(), FixedScreenSize(screen));
    return *m_system;
}

KioskSystem& TemporaryKiosk::openHeadless()
{
    m_system = openKioskSystemHeadless(session.session(), folder());
    return *m_system;
}

QStringList TemporaryKiosk::logLines() const
{
    const QStringList logs = QDir(m_dir.path()).entryList({QStringLiteral("log*.txt")}, QDir::Files);
    EXPECT_EQ(logs.size(), 1) << logs.join(u' ').toStdString();
    if (logs.isEmpty())
        return {};
    // Written lines reach the disk only when flushed; the log flushes every line.
    const QByteArray bytes = readBytes(path(logs.first()));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "every line of the log ends with CR LF";
    return TextCodec::splitLines(TextCodec::decode(bytes));
}

void copySampleKiosk(const QString& folder)
{
    const QString source = QStringLiteral(ZEL_SOURCE_DIR);
    QDir().mkpath(folder);
    Files::copyFolderContents(QDir::toNativeSeparators(source + "/template"), folder);
    QFile::remove(QDir(folder).filePath(QStringLiteral("CMakeLists.txt")));
    Files::copyFolderContents(QDir::toNativeSeparators(source + "/examples/sample"), folder);
}
