// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/folder_chooser_dialog.h"

// "ZEL - Select Folder": picks one folder of the open kiosk system.
class SelectFolderDialog : public FolderChooserDialog {
    Q_OBJECT
public:
    // Lists the folders and, when there are any, preselects the first and
    // shows the dialog modally (owned by owner). With no folder: the message
    // "No folders have been created in this kiosk system" and an empty result.
    void openFolders(QWidget* owner = nullptr);
    // The chosen folder's name, or empty for Cancel.
    QString getSelectedFolderName() const { return m_result; }

private:
    friend class Workbench;
    explicit SelectFolderDialog(Workbench& workbench);
    void confirm() override;
};
