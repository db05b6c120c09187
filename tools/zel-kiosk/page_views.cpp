// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "page_views.h"

#include "fileio/atomic_file.h"
#include "fileio/regular_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

PageViews::PageViews(QString path) : m_path(std::move(path)) {}

namespace {

constexpr std::size_t kMaximumBytes = 64 * 1024 * 1024;

} // namespace

QString PageViews::load()
{
    m_views.clear();
    std::string bytes;
    const std::string problem = fileio::readRegularFile(QFile::encodeName(m_path).toStdString(), kMaximumBytes, bytes);
    if (!problem.empty())
        return QFileInfo::exists(m_path) || QFileInfo(m_path).isSymLink() ? QString::fromStdString(problem) : QString();
    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")), Qt::SkipEmptyParts)) {
        // The page may itself hold commas: the date is the first field, the count the last.
        const qsizetype first = line.indexOf(u',');
        const qsizetype last = line.lastIndexOf(u',');
        if (first < 0 || last <= first)
            continue;
        const QDate day = QDate::fromString(line.left(first), Qt::ISODate);
        bool ok = false;
        const int views = line.mid(last + 1).toInt(&ok);
        if (day.isValid() && ok && line != QLatin1String("date,page,views"))
            m_views[{day, line.mid(first + 1, last - first - 1)}] += views;
    }
    return {};
}

void PageViews::count(const QDate& day, const QString& page)
{
    ++m_views[{day, page}];
    m_changed = true;
}

int PageViews::views(const QDate& day, const QString& page) const { return m_views.value({day, page}); }

QMap<QString, int> PageViews::day(const QDate& day) const
{
    QMap<QString, int> pages;
    for (auto entry = m_views.lowerBound({day, QString()}); entry != m_views.end() && entry.key().first == day; ++entry)
        pages.insert(entry.key().second, entry.value());
    return pages;
}

void PageViews::save()
{
    if (!m_changed)
        return;
    QString text = QStringLiteral("date,page,views\n");
    for (auto it = m_views.cbegin(); it != m_views.cend(); ++it)
        text +=
            it.key().first.toString(Qt::ISODate) + u',' + it.key().second + u',' + QString::number(it.value()) + u'\n';
    fileio::replaceFile(QFile::encodeName(m_path).toStdString(), text.toUtf8().toStdString());
    m_changed = false;
}
