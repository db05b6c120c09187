#include "app/core/kiosk_overview.h"

#include "pages/page_sources.h"
#include "base/folder_path.h"
#include "text/text_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

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

} // namespace

QString pageViewsPath(const QString& kioskFolder)
{
    return withTrailingSeparator(kioskFolder) + QStringLiteral("pageviews.csv");
}

QHash<QString, int> readPageViews(const QString& path)
{
    QHash<QString, int> views;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return views;
    for (const QString& line : TextCodec::splitLines(TextCodec::decode(file.readAll()))) {
        // A page may hold commas: the date is the first field, the count the last.
        const qsizetype first = line.indexOf(u',');
        const qsizetype last = line.lastIndexOf(u',');
        bool counted = false;
        const int count = line.mid(last + 1).toInt(&counted);
        if (first < 0 || last <= first || !counted)
            continue;
        QString page = line.mid(first + 1, last - first - 1);
        if (page.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive))
            page.chop(4);
        views[page] += count;
    }
    return views;
}

PageSummary summarize(const PageReferences::PageId& id, const QString& path)
{
    PageSummary summary;
    summary.id = id;
    summary.path = path;
    const QFileInfo info(path);
    summary.size = info.size();
    summary.modified = info.lastModified();
    QFile file(path);
    if (info.isFile() && file.open(QIODevice::ReadOnly)) {
        const QStringList lines = TextCodec::splitLines(TextCodec::decode(file.readAll()));
        summary.type = lines.isEmpty() ? PageType::Invalid : PageTypes::pageTypeOfLine(lines.first());
        summary.title = lastTitle(lines);
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
    refreshPageViews();
}

int Overview::views(const PageReferences::PageId& id) const { return m_views.value(id.folder + u'\\' + id.page); }

bool Overview::refreshPageViews()
{
    const QFileInfo info(pageViewsPath(m_folder));
    const QDateTime stamp = info.isFile() ? info.lastModified() : QDateTime();
    const qint64 size = info.isFile() ? info.size() : -1;
    if (stamp == m_viewsStamp && size == m_viewsSize)
        return false;
    m_viewsStamp = stamp;
    m_viewsSize = size;
    m_views = readPageViews(info.filePath());
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
