// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/page_renaming.h"

#include "base/folder_path.h"
#include "pages/page_sources.h"
#include "pages/support.h"
#include "platform/messages.h"
#include "platform/problem.h"
#include "platform/session.h"
#include "system/reversible_file_group.h"
#include "text/text_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace PageRenaming {

using PageReferences::PageId;

namespace {

// Where a page is after the rename (where it was when it does not move).
using Mover = std::function<PageId(const PageId&)>;

std::string encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }
std::string bytesOf(const QByteArray& bytes) { return std::string(bytes.constData(), std::size_t(bytes.size())); }

const PageId kRootPage{QStringLiteral("root"), QStringLiteral("root")};

// The reference, written in a page of referrerFolder, that names page in the
// form of the reference it replaces.
QByteArray referenceText(const QByteArray& old, const PageId& page, const QString& referrerFolder)
{
    qsizetype separator = old.indexOf('\\');
    if (separator < 0)
        separator = old.indexOf('/');
    if (separator < 0 && page.folder == referrerFolder)
        return page.page.toLatin1();
    const char written = separator < 0 ? '\\' : old[separator];
    return page.folder.toLatin1() + written + page.page.toLatin1();
}

// The page source of referrer with its references rewritten; none when no
// reference changes.
std::optional<QByteArray> rewritten(const QByteArray& bytes, const PageId& referrer, const Mover& move)
{
    const QString folderAfter = move(referrer).folder;
    QByteArray out;
    qsizetype copied = 0;
    for (const PageReferences::Spot& spot : PageReferences::spotsIn(bytes)) {
        const QByteArray old = bytes.mid(spot.start, spot.length);
        const std::optional<PageId> target = PageReferences::resolve(old, referrer.folder);
        if (!target)
            continue;
        const QByteArray text = referenceText(old, move(*target), folderAfter);
        if (text == old)
            continue;
        out += bytes.mid(copied, spot.start - copied);
        out += text;
        copied = spot.start + spot.length;
    }
    if (copied == 0)
        return std::nullopt;
    out += bytes.mid(copied);
    return out;
}

// A page source that cannot be read: its references cannot be rewritten, so
// nothing is renamed.
struct UnreadablePageSource {
    QString path;
    QString reason;
};

QByteArray readWhole(const QString& path)
{
    QByteArray bytes;
    if (const QString reason = TextFiles::readAuthorFile(path, bytes); !reason.isEmpty())
        throw UnreadablePageSource{path, reason};
    return bytes;
}

QString pathAfter(const QString& top, const PageReferences::PageSourceEntry& source, const Mover& move)
{
    const PageId after = move(source.id);
    if (after == source.id)
        return source.path;
    return top + after.folder + QDir::separator() + after.page + u'.' + QFileInfo(source.path).suffix();
}

// Adds every page source whose references change to the group; the page
// sources that move are written at their new places when movesFiles (with
// their modes and owners), and left to the last step (a folder rename)
// otherwise. A read-only page source whose text would change, and a page
// source to move that is a symbolic link (which would become a file), are
// refused before anything is written.
void planRewrites(const QString& top, const Mover& move, bool movesFiles, ReversibleFileGroup& group, Result& result)
{
    for (const PageReferences::PageSourceEntry& source : PageReferences::pageSourcesOf(top)) {
        const QByteArray bytes = readWhole(source.path);
        const std::optional<QByteArray> changed = rewritten(bytes, source.id, move);
        const QString after = pathAfter(top, source, move);
        const bool recreated = after != source.path && movesFiles;
        if (changed && fileio::writeProtected(encoded(source.path)))
            throw fileio::FileError(EACCES, encoded(source.path), "is read-only");
        if (recreated && QFileInfo(source.path).isSymLink())
            throw fileio::FileError(EINVAL, encoded(source.path), "is a symbolic link");
        if (after != source.path)
            result.moved.append({source.path, after});
        if (changed)
            result.rewritten.append(after);
        if (recreated)
            group.add(encoded(after), bytesOf(changed.value_or(bytes)), std::nullopt, encoded(source.path));
        else if (changed)
            group.add(encoded(source.path), bytesOf(*changed), bytesOf(bytes));
    }
}

void failIfInjected(const fileio::FailureHook* faults, const char* operation, const QString& path)
{
    fileio::failIfInjected(faults, operation, encoded(path));
}

void removeFile(const fileio::FailureHook* faults, const QString& path)
{
    failIfInjected(faults, "remove", path);
    if (::unlink(encoded(path).c_str()) != 0)
        throw fileio::FileError(errno, encoded(path));
}

// Raises the FileError that removing path from its folder, or renaming it
// there, would meet: a folder the process may not write, or a sticky folder
// (like /tmp) whose file is another user's. Checked before the first change,
// since the removal or rename is the group's last step.
void checkRemovable(const QString& path)
{
    const std::string file = encoded(path);
    const std::string folder = fileio::folderOf(file);
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        throw fileio::FileError(errno, file);
    struct stat folderInfo {};
    struct stat fileInfo {};
    const uid_t self = ::geteuid();
    if (self != 0 && ::stat(folder.c_str(), &folderInfo) == 0 && (folderInfo.st_mode & S_ISVTX)
        && ::lstat(file.c_str(), &fileInfo) == 0 && fileInfo.st_uid != self && folderInfo.st_uid != self)
        throw fileio::FileError(EPERM, file);
}

void renameFolderOnDisk(const fileio::FailureHook* faults, const QString& from, const QString& to)
{
    failIfInjected(faults, "rename", from);
    if (std::rename(encoded(from).c_str(), encoded(to).c_str()) != 0)
        throw fileio::FileError(errno, encoded(from));
}

Result refused(const QString& problem)
{
    Result result;
    result.problem = problem;
    return result;
}

Result nothingRenamed(const QString& path, const QString& reason)
{
    return refused(QCoreApplication::translate("PageRenaming", "Nothing was renamed: %1: %2").arg(path, reason));
}

Result nothingRenamed(const fileio::FileError& error)
{
    return nothingRenamed(QFile::decodeName(error.path().c_str()), QString::fromStdString(error.reason()));
}

// Checks that removed (the page source or folder that goes) can go and plans
// the rewrites of every page source; a page source that cannot be read
// refuses the whole rename.
std::optional<Result> refusedPlan(const QString& top, const Mover& move, bool movesFiles, const QString& removed,
                                  ReversibleFileGroup& group, Result& planned)
{
    try {
        checkRemovable(removed);
        planRewrites(top, move, movesFiles, group, planned);
    } catch (const fileio::FileError& error) {
        return nothingRenamed(error);
    } catch (const UnreadablePageSource& source) {
        return nothingRenamed(source.path, source.reason);
    }
    return std::nullopt;
}

// Runs the group and its last step; a failure becomes the result's problem,
// which says so when a file could not be put back as it was.
Result carryOut(ReversibleFileGroup& group, Result planned, const std::function<void()>& lastStep)
{
    try {
        group.run(lastStep);
        planned.done = true;
    } catch (const fileio::FileError& error) {
        planned = nothingRenamed(error);
        if (!group.notPutBack().empty()) {
            QStringList paths;
            for (const std::string& path : group.notPutBack())
                paths.append(QFile::decodeName(path.c_str()));
            planned.problem =
                QCoreApplication::translate(
                    "PageRenaming", "Renaming failed: %1: %2. These files could not be put back as they were: %3")
                    .arg(QFile::decodeName(error.path().c_str()), QString::fromStdString(error.reason()),
                         paths.join(QStringLiteral(", ")));
        }
    }
    return planned;
}

void removeMadeFiles(const QString& folderPath, const QString& page)
{
    for (const QString& path : madeFilesOf(folderPath, page))
        QFile::remove(path);
}

bool isFile(const QString& path) { return QFileInfo(path).isFile(); }

// A page of that name in folderPath, or one whose made files that page's would overwrite.
QString clashOf(const QString& folderPath, const QString& page)
{
    for (const QString& name : {page, page + QStringLiteral("_con"), page + QStringLiteral("_nav")}) {
        const QString existing = PageSources::pathOf(folderPath, name);
        if (isFile(existing))
            return existing;
    }
    return PageSources::clashingPageSource(folderPath + QDir::separator() + page + QStringLiteral(".zel"));
}

} // namespace

QStringList madeFilesOf(const QString& folderPath, const QString& page)
{
    QStringList files;
    const QString base = withTrailingSeparator(folderPath) + page;
    for (const QString& suffix : {QStringLiteral(".htm"), QStringLiteral("_con.htm"), QStringLiteral("_nav.htm")})
        if (QFileInfo::exists(base + suffix))
            files.append(base + suffix);
    const QString images = withTrailingSeparator(folderPath) + QStringLiteral("images");
    const QRegularExpression copyName(QStringLiteral("^") + QRegularExpression::escape(page)
                                      + QStringLiteral("[0-9]{5}\\.jpg$"));
    for (const QString& name : QDir(images).entryList({page + QStringLiteral("*.jpg")}, QDir::Files))
        if (copyName.match(name).hasMatch())
            files.append(images + QDir::separator() + name);
    return files;
}

Result renamePage(Session& session, const QString& kioskFolder, const PageId& from, const PageId& to)
{
    ProblemBoxes boxes(session.messages());
    if (!Support::isValidFolderName(to.folder, boxes) || !Support::isValidPageName(to.page, boxes))
        return {};
    const QString top = withTrailingSeparator(kioskFolder);
    if (from == kRootPage)
        return refused(QCoreApplication::translate(
            "PageRenaming", "The root page keeps its name and folder: every Home button leads to root\\root."));
    const QString source = PageSources::pathOf(top + from.folder, from.page);
    if (!isFile(source))
        return refused(QCoreApplication::translate("PageRenaming", "There is no page %1 in folder %2")
                           .arg(from.page, from.folder));
    if (from == to)
        return refused(QCoreApplication::translate("PageRenaming", "The page already has that name."));
    if (!QFileInfo(top + to.folder).isDir())
        return refused(QCoreApplication::translate("PageRenaming", "There is no folder %1").arg(to.folder));
    const QString clash = clashOf(top + to.folder, to.page);
    if (!clash.isEmpty() && clash != source)
        return refused(QCoreApplication::translate("PageRenaming", "Page %1 can not be used in folder %2: %3 is there")
                           .arg(to.page, to.folder, clash));

    const Mover move = [&](const PageId& page) { return page == from ? to : page; };
    ReversibleFileGroup group(session.fileFaults());
    Result planned;
    if (std::optional<Result> refusal = refusedPlan(top, move, true, source, group, planned))
        return *refusal;
    Result result = carryOut(group, planned, [&] { removeFile(session.fileFaults(), source); });
    if (result.done)
        removeMadeFiles(top + from.folder, from.page);
    return result;
}

Result renameFolder(Session& session, const QString& kioskFolder, const QString& from, const QString& to)
{
    if (ProblemBoxes boxes(session.messages()); !Support::isValidFolderName(to, boxes))
        return {};
    const QString top = withTrailingSeparator(kioskFolder);
    if (from == kRootPage.folder)
        return refused(QCoreApplication::translate(
            "PageRenaming", "The root folder keeps its name: every Home button leads to root\\root."));
    if (!QFileInfo(top + from).isDir())
        return refused(QCoreApplication::translate("PageRenaming", "There is no folder %1").arg(from));
    if (from == to)
        return refused(QCoreApplication::translate("PageRenaming", "The folder already has that name."));
    if (QFileInfo::exists(top + to))
        return refused(QCoreApplication::translate("PageRenaming", "There is already a folder %1").arg(to));

    const Mover move = [&](const PageId& page) { return page.folder == from ? PageId{to, page.page} : page; };
    ReversibleFileGroup group(session.fileFaults());
    Result planned;
    if (std::optional<Result> refusal = refusedPlan(top, move, false, top + from, group, planned))
        return *refusal;
    Result result = carryOut(group, planned, [&] { renameFolderOnDisk(session.fileFaults(), top + from, top + to); });
    if (result.done)
        for (const auto& [before, after] : result.moved)
            removeMadeFiles(top + to, PageSources::pageNameOf(QFileInfo(after).fileName()));
    return result;
}

} // namespace PageRenaming
