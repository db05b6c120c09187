// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/preview_folder.h"

#include "fileio/atomic_file.h"
#include "imaging/copy_record.h"
#include "pages/page_types.h"
#include "base/runtime_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QChar kSeparator = QDir::separator();
const QString kImages = QStringLiteral("images");

QString withSeparator(const QString& folder) { return folder.endsWith(kSeparator) ? folder : folder + kSeparator; }

// Names the path and the system's reason ("Disk full: ..." for a full disk).
[[noreturn]] void raiseFor(const QString& path, int systemError)
{
    Errors::raiseFileError(fileio::FileError(systemError, QFile::encodeName(path).toStdString()));
}

QString withoutSeparator(QString path)
{
    while (path.size() > 1 && path.endsWith(kSeparator))
        path.chop(1);
    return path;
}

// Removes what is at path; a link goes, never what it points to.
void removeEntry(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || info.isFile())
        QFile::remove(path);
    else if (info.isDir())
        QDir(path).removeRecursively();
}

// Makes the folder and the missing folders above it (following links, as
// to a cache folder elsewhere); a failure names the folder that could not be
// made and why.
void makeFolders(const QString& path)
{
    if (QFileInfo(path).isDir())
        return;
    const QString parent = QFileInfo(path).path();
    if (parent != path)
        makeFolders(parent);
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST)
        raiseFor(path, errno);
    if (!QFileInfo(path).isDir())
        raiseFor(path, ENOTDIR);
}

// A real folder at path: a link there is replaced.
void ensureFolder(const QString& folder)
{
    const QString path = withoutSeparator(folder);
    if (QFileInfo(path).isSymLink() && ::unlink(QFile::encodeName(path).constData()) != 0)
        raiseFor(path, errno);
    makeFolders(path);
}

// A link at path to target; an existing link to it is kept, anything else
// at path is replaced.
void link(const QString& target, const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() && info.symLinkTarget() == target)
        return;
    removeEntry(path);
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) != 0)
        raiseFor(path, errno);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaced whole, but not synced to the disk: the preview's files are made
// again whenever they are needed, and a sync would cost the author's wait.
// The preview's own folder holds no links: one there is refused, never followed.
void writeFile(const QString& path, const QByteArray& bytes)
{
    Errors::translatingFileErrors([&] {
        fileio::StagedFile file(QFile::encodeName(path).toStdString(), {.links = fileio::LinkAtTarget::Refuse});
        file.write(std::string_view(bytes.data(), bytes.size()));
        file.commit(fileio::StagedFile::Sync::ByCaller);
    });
}

void writeChangedFile(const QString& path, const QByteArray& bytes)
{
    if (fileBytes(path) != bytes)
        writeFile(path, bytes);
}

QString configurationText(const PreviewPage& page, const QString& kioskFolder)
{
    QString text = QStringLiteral("' The settings of the kiosk system being previewed\r\n");
    for (const auto& [name, value] : page.settings)
        text += name + u' ' + value + QStringLiteral("\r\n");
    text += QStringLiteral("kioskSystemFolder ") + kioskFolder + QStringLiteral("\r\n");
    text += QStringLiteral("rootFilePath ") + kioskFolder + QStringLiteral("root") + kSeparator
            + QStringLiteral("root.htm\r\n");
    return text;
}

QByteArray pageSourceBytes(const PreviewPage& page)
{
    QString text = PageTypes::pageTypeDirective(page.pageType) + QStringLiteral("\r\n");
    QString body = page.body;
    body.replace(u'\n', QStringLiteral("\r\n"));
    text += body + QStringLiteral("\r\n");
    return text.toUtf8();
}

} // namespace

const QString PreviewFolder::NewPageFolder = QStringLiteral("(new page)");

PreviewFolder::PreviewFolder(QString root) : m_root(withSeparator(std::move(root))) {}

QString PreviewFolder::kioskFolder() const { return m_root + QStringLiteral("kiosk") + kSeparator; }

QString PreviewFolder::madePage() const
{
    return m_pageSource.isEmpty() ? QString() : PageTypes::pageHtmlPath(m_pageSource);
}

QString PreviewFolder::prepare(const PreviewPage& page)
{
    const QString kiosk = kioskFolder();
    ensureFolder(kiosk);
    const QFileInfo source(page.pageSource);
    const bool saved = !page.pageSource.isEmpty();
    const QString folderName = saved ? source.absoluteDir().dirName() : NewPageFolder;
    const QString pageName = saved ? source.completeBaseName() : QStringLiteral("page");
    const QString kioskPageFolder = withSeparator(page.kioskFolder) + folderName;
    if (page.kioskFolder != m_kioskFolder || kioskPageFolder != m_pageFolder) {
        // Another kiosk system or page folder: its copies are seeded afresh.
        m_seeded = false;
        removeEntry(kiosk + folderName);
    }
    m_kioskFolder = page.kioskFolder;
    m_pageFolder = kioskPageFolder;

    // Everything at the top but the configuration and the logs; the page's
    // own folder is made below.
    QStringList except{QStringLiteral("configuration.txt"), folderName};
    for (const QString& log : QDir(page.kioskFolder).entryList({QStringLiteral("log*.txt")}, QDir::Files))
        except.append(log);
    linkEntries(page.kioskFolder, kiosk, except);
    writeChangedFile(kiosk + QStringLiteral("configuration.txt"), configurationText(page, kiosk).toUtf8());

    const QString pageFolder = kiosk + folderName + kSeparator;
    ensureFolder(pageFolder);
    QStringList pageFiles{kImages};
    for (const QString& suffix :
         {QStringLiteral(".zel"), QStringLiteral(".htm"), QStringLiteral("_con.htm"), QStringLiteral("_nav.htm")})
        pageFiles.append(pageName + suffix);
    if (saved)
        linkEntries(kioskPageFolder, pageFolder, pageFiles);
    // A link left at one of this page's own names (made while another page of
    // the folder was previewed) would lead the preview's writes into the
    // kiosk system itself: it goes.
    for (const QString& name : pageFiles)
        if (QFileInfo(pageFolder + name).isSymLink())
            removeEntry(pageFolder + name);
    ensureFolder(pageFolder + kImages);
    seedCopies(withSeparator(kioskPageFolder) + kImages, pageFolder + kImages);

    m_pageSource = pageFolder + pageName + QStringLiteral(".zel");
    writeFile(m_pageSource, pageSourceBytes(page));
    return m_pageSource;
}

// Links every entry of from (but the excepted names and temporaries) into
// to, and removes links in to whose entry has gone.
void PreviewFolder::linkEntries(const QString& from, const QString& to, const QStringList& except) const
{
    const QDir source(from);
    const QStringList names = source.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        if (!except.contains(name) && !name.startsWith(QStringLiteral(".zel-")))
            link(source.absoluteFilePath(name), withSeparator(to) + name);
    const QDir mirror(to);
    for (const QFileInfo& entry :
         mirror.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        if (entry.isSymLink() && !names.contains(entry.fileName()))
            QFile::remove(entry.filePath());
}

// The copies are seeded again when the kiosk system's record changed since
// the last seeding, or when a make here made or removed a copy (the folder
// no longer holds just the links seeded): the check of the page judges the
// copies as a make in the kiosk system would find them. A make that only
// wrote its record again leaves the folder as it is.
void PreviewFolder::seedCopies(const QString& kioskImages, const QString& images)
{
    const QString recordPath = withSeparator(kioskImages) + Jpeg::CopyRecord::FileName;
    const QByteArray record = fileBytes(recordPath);
    if (m_seeded && record == m_seededRecord && onlySeededLinks(images))
        return;
    QDir folder(images);
    for (const QFileInfo& entry :
         folder.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        removeEntry(entry.filePath());
    const QDir kioskCopies(kioskImages);
    m_seededCopies.clear();
    for (const QString& name : kioskCopies.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (name != Jpeg::CopyRecord::FileName && !name.startsWith(QStringLiteral(".zel-"))) {
            link(kioskCopies.absoluteFilePath(name), withSeparator(images) + name);
            m_seededCopies.append(name);
        }
    if (!record.isEmpty())
        writeFile(withSeparator(images) + Jpeg::CopyRecord::FileName, record);
    m_seededRecord = record;
    m_seeded = true;
}

bool PreviewFolder::onlySeededLinks(const QString& images) const
{
    QStringList links;
    for (const QFileInfo& entry : QDir(images).entryInfoList(
             QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name)) {
        if (entry.fileName() == Jpeg::CopyRecord::FileName)
            continue;
        if (!entry.isSymLink())
            return false;
        links.append(entry.fileName());
    }
    return links == m_seededCopies;
}

QString PreviewFolder::inKioskTerms(const QString& text) const
{
    if (m_kioskFolder.isEmpty())
        return text;
    QString result = text;
    result.replace(kioskFolder(), withSeparator(m_kioskFolder));
    return result;
}

void PreviewFolder::removeLogs() const
{
    const QDir kiosk(kioskFolder());
    for (const QString& log : kiosk.entryList({QStringLiteral("log*.txt")}, QDir::Files))
        QFile::remove(kiosk.absoluteFilePath(log));
}

void PreviewFolder::clear()
{
    QDir(m_root).removeRecursively();
    m_kioskFolder.clear();
    m_pageFolder.clear();
    m_pageSource.clear();
    m_seeded = false;
}

void PreviewFolder::removeFoldersOfDeadRuns(const QString& previews)
{
    const QDir folder(previews);
    for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden)) {
        bool number = false;
        const long pid = name.toLong(&number);
        struct stat info {};
        const QString path = folder.filePath(name);
        if (!number || pid <= 0 || name != QString::number(pid)
            || ::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
            continue;
        // A process number taken over by a later program does not keep the folder.
        if (!fileio::processRunsSince(pid, info.st_mtime))
            QDir(path).removeRecursively();
    }
}
