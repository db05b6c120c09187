// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/kiosk_overview.h"

#include "pages/page_sources.h"
#include "base/folder_path.h"
#include "fileio/regular_file.h"
#include "text/text_codec.h"
#include "text/text_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>
#include <vector>

namespace KioskOverview {

namespace {

// The text of the last #title line (directive name in any letter case), blanks
// around it removed.
QString lastTitle(const QStringList& lines)
{
    QString title;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (!line.startsWith(u'#'))
            continue;
        const qsizetype blank = line.indexOf(u' ');
        if (line.mid(1, (blank < 0 ? line.size() : blank) - 1).toLower() == QLatin1String("title"))
            title = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
    }
    return title;
}

QDateTime oldestMadeFile(const QString& folderPath, const QString& page)
{
    QDateTime oldest;
    const QString base = withTrailingSeparator(folderPath) + page;
    for (const QString& suffix : {QStringLiteral(".htm"), QStringLiteral("_con.htm"), QStringLiteral("_nav.htm")}) {
        const QFileInfo made(base + suffix);
        if (!made.isFile())
            return {};
        if (!oldest.isValid() || made.lastModified() < oldest)
            oldest = made.lastModified();
    }
    return oldest;
}

// Page names are short: a longer line of page views is no line of them.
constexpr std::size_t kLongestLine = 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Hands each line of the regular file at path to take, without its end (CR LF, LF or CR: the empty line between
// CR and LF too), a line longer than kLongestLine cut to one byte more. The file is opened without waiting (a FIFO
// opens at once and is then refused) and read in pieces. Returns why it could not be read, "" when it was.
QString forEachLine(const QString& path, const std::function<void(std::string_view)>& take)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    struct stat info {};
    std::string problem =
        ::fstat(descriptor, &info) != 0 ? std::strerror(errno) : fileio::fileKindProblem(info.st_mode);
    std::vector<char> piece(problem.empty() ? 256 * 1024 : 0);
    std::string line; // the start of a line that began in an earlier piece
    while (problem.empty()) {
        const ssize_t got = ::read(descriptor, piece.data(), piece.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            problem = std::strerror(errno);
        if (got <= 0)
            break;
        const char* at = piece.data();
        const char* const end = at + got;
        while (at < end) {
            const char* lineEnd = std::find_if(at, end, [](char c) { return c == '\n' || c == '\r'; });
            const std::string_view part(at, std::size_t(lineEnd - at));
            if (lineEnd == end) {
                line.append(part.substr(0, kLongestLine + 1 - std::min(line.size(), kLongestLine + 1)));
                break;
            }
            if (line.empty()) {
                take(part.substr(0, kLongestLine + 1));
            } else {
                line.append(part.substr(0, kLongestLine + 1 - std::min(line.size(), kLongestLine + 1)));
                take(line);
                line.clear();
            }
            at = lineEnd + 1;
        }
    }
    if (problem.empty() && !line.empty())
        take(line);
    ::close(descriptor);
    return QString::fromLocal8Bit(problem);
}

// The count of a line of page views: digits, blanks around them allowed; a count beyond the largest qint64 stops
// there. nullopt for anything else (a sign, no digit).
std::optional<qint64> countOf(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    qint64 count = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        count = count > (largest - (c - '0')) / 10 ? largest : count * 10 + (c - '0');
    }
    return count;
}

// Looks a page's bytes up without copying them.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

qint64 saturatingSum(qint64 a, qint64 b)
{
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    return a > largest - b ? largest : a + b;
}

} // namespace

QString pageViewsPath(const QString& kioskFolder)
{
    return withTrailingSeparator(kioskFolder) + QStringLiteral("pageviews.csv");
}

PageViews readPageViews(const QString& path)
{
    PageViews read;
    // Counted by the page's bytes, decoded once at the end.
    std::unordered_map<std::string, qint64, TextHash, std::equal_to<>> counts;
    bool first = true;
    read.problem = forEachLine(path, [&](std::string_view line) {
        if (std::exchange(first, false) && line.starts_with(kByteOrderMark))
            line.remove_prefix(kByteOrderMark.size());
        if (line.empty() || line == "date,page,views")
            return;
        // A page may hold commas: the date is the first field, the count the last.
        const std::size_t comma = line.find(',');
        const std::size_t last = line.rfind(',');
        const std::optional<qint64> count =
            comma == std::string_view::npos || last <= comma || line.size() > kLongestLine
                ? std::nullopt
                : countOf(line.substr(last + 1));
        auto found = counts.end();
        if (count) {
            const std::string_view page = line.substr(comma + 1, last - comma - 1);
            found = counts.find(page);
            if (found == counts.end() && counts.size() < std::size_t(kMostPageViewPages))
                found = counts.emplace(page, 0).first;
        }
        if (found == counts.end())
            ++read.linesNotCounted;
        else
            found->second = saturatingSum(found->second, *count);
    });
    if (!read.problem.isEmpty())
        return {{}, 0, read.problem};
    // Taken out one by one, so that the bytes and the text of every page are never held at once.
    read.views.reserve(qsizetype(counts.size()));
    while (!counts.empty()) {
        const auto taken = counts.extract(counts.begin());
        QString page = TextCodec::decode(QByteArray::fromStdString(taken.key()));
        if (page.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive))
            page.chop(4);
        qint64& sum = read.views[page];
        sum = saturatingSum(sum, taken.mapped());
    }
    return read;
}

PageSummary summarize(const PageReferences::PageId& id, const QString& path)
{
    PageSummary summary;
    summary.id = id;
    summary.path = path;
    const QFileInfo info(path);
    summary.size = info.size();
    summary.modified = info.lastModified();
    // Never waited on nor read without end: a FIFO or a link to a device stands where a page source was listed.
    std::string bytes;
    summary.unreadable = QString::fromStdString(fileio::readRegularFile(
        QFile::encodeName(path).toStdString(), std::size_t(TextFiles::kMaximumInputSize), bytes));
    if (summary.unreadable.isEmpty()) {
        const QStringList lines = TextCodec::splitLines(TextCodec::decode(QByteArray::fromStdString(bytes)));
        summary.type = lines.isEmpty() ? PageType::Invalid : PageTypes::pageTypeOfLine(lines.first());
        summary.title = lastTitle(lines);
        if (summary.type != PageType::Root)
            summary.schedule = PageSchedule::ofLines(lines);
    }
    summary.madeAt = oldestMadeFile(info.path(), id.page);
    summary.made = summary.madeAt.isValid();
    summary.upToDate = summary.made && summary.madeAt >= summary.modified;
    return summary;
}

void Overview::fill()
{
    m_pages.clear();
    m_folders = QDir(m_folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const PageReferences::PageSourceEntry& source : PageReferences::pageSourcesOf(m_folder))
        m_pages.insert(source.path, summarize(source.id, source.path));
    m_viewsStamp = QDateTime();
    m_viewsSize = -1;
    m_views = {};
    refreshPageViews();
}

qint64 Overview::views(const PageReferences::PageId& id) const
{
    return m_views.views.value(id.folder + u'\\' + id.page);
}

bool Overview::refreshPageViews()
{
    // Anything at the name is read, so that a FIFO or a folder there is said, not passed by.
    const QFileInfo info(pageViewsPath(m_folder));
    const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (stamp == m_viewsStamp && size == m_viewsSize)
        return false;
    m_viewsStamp = stamp;
    m_viewsSize = size;
    m_views = stamp.isValid() ? readPageViews(info.filePath()) : PageViews();
    return true;
}

QStringList Overview::refresh(const QStringList& onlyFolders)
{
    QStringList changed;
    m_folders = QDir(m_folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const QStringList folders = onlyFolders.isEmpty() ? m_folders : onlyFolders;
    const QString top = withTrailingSeparator(m_folder);
    QSet<QString> seen;
    for (const QString& folder : folders) {
        for (const QString& fileName : PageSources::fileNamesIn(top + folder)) {
            const QString path = top + folder + QDir::separator() + fileName;
            const PageReferences::PageId id{folder, PageSources::pageNameOf(fileName)};
            seen.insert(path);
            const auto old = m_pages.find(path);
            const QFileInfo info(path);
            if (old != m_pages.end() && old->size == info.size() && old->modified == info.lastModified()
                && old->madeAt == oldestMadeFile(info.path(), id.page))
                continue;
            PageSummary summary = summarize(id, path);
            if (old != m_pages.end())
                summary.problems = old->problems;
            m_pages.insert(path, summary);
            changed.append(path);
        }
    }
    // Pages gone: in the folders looked at, or with their folder.
    for (auto it = m_pages.begin(); it != m_pages.end();) {
        const bool lookedAt = folders.contains(it->id.folder);
        if ((lookedAt && !seen.contains(it.key())) || !m_folders.contains(it->id.folder)) {
            changed.append(it.key());
            it = m_pages.erase(it);
        } else {
            ++it;
        }
    }
    return changed;
}

QList<PageSummary> Overview::pages() const
{
    QList<PageSummary> pages = m_pages.values();
    std::sort(pages.begin(), pages.end(), [](const PageSummary& a, const PageSummary& b) {
        return a.id.folder != b.id.folder ? a.id.folder < b.id.folder : a.path < b.path;
    });
    return pages;
}

const PageSummary* Overview::page(const QString& path) const
{
    const auto found = m_pages.constFind(path);
    return found == m_pages.constEnd() ? nullptr : &*found;
}

void Overview::setProblemCounts(const QHash<QString, int>& counts)
{
    for (PageSummary& page : m_pages)
        page.problems = counts.value(QDir::cleanPath(page.path), 0);
}

} // namespace KioskOverview
