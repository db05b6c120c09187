// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/kiosk_listing.h"

#include "pages/files.h"
#include "pages/page_sources.h"

#include <QDir>

namespace KioskListing {

QStringList folderNames(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    Files::sortByName(names);
    return names;
}

QStringList pageNames(const QString& folder)
{
    QStringList names;
    for (const QString& fileName : PageSources::fileNamesIn(folder))
        names.append(PageSources::pageNameOf(fileName));
    return names;
}

} // namespace KioskListing
