// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/chooser_dialog.h"

class QListWidget;

// A chooser whose left list holds the folders of the open kiosk system. Picking
// a folder lists its pages, for a chooser that has a page list.
class FolderChooserDialog : public ChooserDialog {
    Q_OBJECT
public:
    QListWidget* folderList() const { return m_folderList; }

protected:
    FolderChooserDialog(Workbench& workbench, const QString& moduleName, const Design& design);

    // Lists the folders and selects the one named wantedFolder (else the
    // first), lists its pages and gives focus the keyboard. With no folder:
    // the pages cleared, the message "No folders have been created in this
    // kiosk system", an empty result and false.
    bool listFolders(QWidget* focus, const QString& wantedFolder = {});
    // The selected folder's name, or empty.
    QString selectedFolder() const;

    // The page list of the selected folder, for a chooser that has one.
    virtual void loadPages() {}
    virtual void clearPages() {}

private:
    void loadFolders();
    void showFolderPages();

    QListWidget* m_folderList;
};
