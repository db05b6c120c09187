// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/folder_chooser_dialog.h"

class SimpleComboBox;

// "ZEL - Save Page As": picks a folder of the open kiosk system and a page
// name, typed or picked from the folder's pages.
class SaveFileDialog : public FolderChooserDialog {
    Q_OBJECT
public:
    // filePath is the page source being saved, empty for one never saved.
    // Lists the folders, preselects the page's own folder (else the first)
    // and shows the dialog modally with the keyboard in the name box; for a
    // page never saved the name box starts empty. With no folder: the message "No folders
    // have been created in this kiosk system" and an empty result, not shown.
    void savePage(const QString& filePath, QWidget* owner = nullptr);
    // The page's path in the chosen folder (PageSources::pathOf: an existing
    // page source under its own name on disk, else page + ".zel"), or empty.
    // The page may exist already; the caller asks before replacing it.
    QString getSelectedFilePath() const { return m_result; }

    SimpleComboBox* pageBox() const { return m_pageBox; }

private:
    friend class Workbench;
    explicit SaveFileDialog(Workbench& workbench);
    void loadPages() override;
    void clearPages() override;
    void addToFileList(const QString& fileName);
    void confirm() override;

    SimpleComboBox* m_pageBox;
};
