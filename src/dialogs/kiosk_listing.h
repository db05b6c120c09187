#pragma once

#include <QString>
#include <QStringList>

// What the chooser dialogs list from the open kiosk system's folder.
namespace KioskListing {

// The names of the folders directly inside folder (hidden ones are not
// enumerated), alphabetically. folder ends with the separator.
QStringList folderNames(const QString& folder);

// The names of the entries matching "*.zel" directly inside folder (a folder
// whose name fits is admitted too), alphabetically, each less its last four
// characters. folder ends with the separator.
QStringList pageNames(const QString& folder);

// Sorts names alphabetically, ignoring case first, then by case.
void sortAlphabetically(QStringList& names);

} // namespace KioskListing
