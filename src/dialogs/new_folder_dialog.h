// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/chooser_dialog.h"

class SimpleComboBox;

// "Create New Folder": takes the name of a new page folder, listing the
// existing folders of the open kiosk system. It creates nothing itself.
class NewFolderDialog : public ChooserDialog {
    Q_OBJECT
public:
    // Shows the dialog modally. The folder list is refilled on every show, so
    // a folder made through an earlier use is listed; the typed text stays.
    void showModal(QWidget* owner = nullptr);
    // kioskSystemFolder + the new name (no trailing separator), or empty.
    QString getFolderPath() const { return m_result; }

    SimpleComboBox* folderBox() const { return m_folderBox; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    friend class Workbench;
    explicit NewFolderDialog(Workbench& workbench);
    void loadFolders();
    void confirm() override;

    SimpleComboBox* m_folderBox;
};
