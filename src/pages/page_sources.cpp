// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/page_sources.h"

#include "pages/files.h"
#include "base/folder_path.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kSuffix = QStringLiteral("zel");

QString join(const QString& folder, const QString& name) { return withTrailingSeparator(folder) + name; }

} // namespace

namespace PageSources {

bool isPageSourceName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot >= 0 && QStringView(fileName).mid(dot + 1).compare(kSuffix, Qt::CaseInsensitive) == 0;
}

QStringList fileNamesIn(const QString& folder)
{
    QStringList names;
    // System entries too: a FIFO or device named like a page source is listed,
    // so that making it says why it cannot be made instead of passing it by.
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::System))
        if (isPageSourceName(name))
            names.append(name);
    Files::sortByName(names);
    return names;
}

QString pageNameOf(const QString& fileName) { return fileName.left(fileName.lastIndexOf(u'.')); }

QString pathOf(const QString& folder, const QString& page)
{
    const QString usual = join(folder, page + u'.' + kSuffix);
    if (QFileInfo(usual).isFile())
        return usual;
    for (const QString& name : fileNamesIn(folder))
        if (pageNameOf(name) == page)
            return join(folder, name);
    return usual;
}

QString clashingPageSource(const QString& pageSource)
{
    const QFileInfo source(pageSource);
    const QString page = pageNameOf(source.fileName());
    for (const QLatin1String frame : {QLatin1String("_con"), QLatin1String("_nav")}) {
        if (page.size() <= frame.size() || !page.endsWith(frame))
            continue;
        const QString other = pathOf(QDir::toNativeSeparators(source.path()), page.chopped(frame.size()));
        if (QFileInfo::exists(other) && !QFileInfo(other).isDir())
            return other;
    }
    return QString();
}

} // namespace PageSources
