// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/page_source_watch.h"

#include "base/line_end.h"
#include "platform/messages.h"
#include "text/text_files.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace {
// How long the page source must have been left alone before it is looked at.
constexpr int kDiskSettleMs = 200;

QString changedOutside(const QString& path)
{
    return QCoreApplication::translate("PageSourceWatch", "Page source %1 has been changed by another program.")
               .arg(QDir::toNativeSeparators(path))
           + kCrLf;
}
} // namespace

PageSourceWatch::PageSourceWatch(Session& session, Page page, QObject* parent)
    : QObject(parent), m_session(session), m_page(std::move(page))
{
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &PageSourceWatch::touched);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &PageSourceWatch::touched);
    m_diskSettleTimer = new QTimer(this);
    m_diskSettleTimer->setSingleShot(true);
    m_diskSettleTimer->setInterval(kDiskSettleMs);
    connect(m_diskSettleTimer, &QTimer::timeout, this, &PageSourceWatch::settled);
}

PageSourceWatch::~PageSourceWatch() = default;

// Watches the page source and its folder: a program that replaces the file
// (write a new one, rename it over) ends the watch on the old file, so the
// path is watched anew after every change.
void PageSourceWatch::watch()
{
    if (const QStringList watched = m_watcher->files() + m_watcher->directories(); !watched.isEmpty())
        m_watcher->removePaths(watched);
    const QString path = m_page.path();
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path))
        m_watcher->addPath(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo::exists(folder))
        m_watcher->addPath(folder);
}

void PageSourceWatch::sourceStored()
{
    m_outsideSeen.reset();
    watch();
}

// A program writes a file in several steps (each one a notice); the look
// waits until the notices have stopped for a moment.
void PageSourceWatch::touched()
{
    const QString path = m_page.path();
    if (!path.isEmpty() && !m_watcher->files().contains(path) && QFileInfo::exists(path))
        m_watcher->addPath(path);
    m_diskSettleTimer->start();
}

std::optional<QByteArray> PageSourceWatch::bytesOnDisk() const
{
    QByteArray bytes;
    if (!TextFiles::readAuthorFile(m_page.path(), bytes).isEmpty())
        return std::nullopt;
    return bytes;
}

bool PageSourceWatch::changedOnDisk(const QByteArray& disk) const
{
    const QByteArray* stored = m_page.storedBytes();
    return !stored || disk != *stored;
}

PageSourceWatch::Outcome PageSourceWatch::look(bool changedHere)
{
    const QString path = m_page.path();
    if (path.isEmpty() || m_askingAboutDisk || QApplication::activeModalWidget())
        return Outcome::Nothing;
    const std::optional<QByteArray> disk = bytesOnDisk();
    if (!disk)
        return Outcome::MarkChanged; // gone or unreadable: the text area holds the only copy now
    if (!changedOnDisk(*disk) || disk == m_outsideSeen)
        return Outcome::Nothing;
    m_outsideSeen = disk;
    m_askingAboutDisk = true;
    const Answer answer =
        Messages::askYesNo(m_session,
                           changedOutside(path)
                               + (changedHere ? tr("Do you want to load it and lose the changes made in this editor?")
                                              : tr("Do you want to load it?")),
                           changedHere ? Answer::No : Answer::Yes);
    m_askingAboutDisk = false;
    // A No leaves the editor's text no longer what the disk holds.
    return answer == Answer::Yes ? Outcome::Reload : Outcome::MarkChanged;
}

bool PageSourceWatch::mayReplace()
{
    const std::optional<QByteArray> disk = bytesOnDisk();
    if (!disk || !changedOnDisk(*disk))
        return true;
    m_askingAboutDisk = true;
    const Answer answer = Messages::askYesNo(
        m_session, changedOutside(m_page.path()) + tr("Do you want to replace it with the text in this editor?"),
        Answer::No);
    m_askingAboutDisk = false;
    return answer == Answer::Yes;
}
