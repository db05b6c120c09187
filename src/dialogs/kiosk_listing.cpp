#include "dialogs/kiosk_listing.h"

#include <QDir>
#include <algorithm>

namespace KioskListing {

void sortAlphabetically(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
}

QStringList folderNames(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    sortAlphabetically(names);
    return names;
}

QStringList pageNames(const QString& folder)
{
    QStringList names;
    for (const QString& entry : QDir(folder).entryList({QStringLiteral("*.zel")},
                                                      QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        names.append(entry.left(entry.size() - 4));
    sortAlphabetically(names);
    return names;
}

} // namespace KioskListing
