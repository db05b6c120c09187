// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the chooser dialogs list from the open kiosk system's folder.
namespace KioskListing {

// The names of the folders directly inside folder (hidden ones are not
// enumerated), alphabetically. folder ends with the separator.
QStringList folderNames(const QString& folder);

// The page names of the page sources in folder (PageSources), alphabetically.
QStringList pageNames(const QString& folder);

} // namespace KioskListing
