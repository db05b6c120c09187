// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/folder_chooser_dialog.h"

class QListWidget;

// "ZEL - Select Page": picks an existing page source of the open kiosk system.
class SelectFileDialog : public FolderChooserDialog {
    Q_OBJECT
public:
    // Lists the folders, preselects the first folder and its first page and
    // shows the dialog modally. With no folder: the message "No folders have
    // been created in this kiosk system" and an empty result, not shown.
    void openPage(QWidget* owner = nullptr);
    // The chosen page source's path under its own name on disk
    // (PageSources::pathOf), or empty.
    QString getSelectedFilePath() const { return m_result; }
    // The selected folder and page names as the lists show them.
    QString getFolder() const;
    QString getPage() const;

    QListWidget* pageList() const { return m_pageList; }

private:
    friend class Workbench;
    explicit SelectFileDialog(Workbench& workbench);
    void loadPages() override;
    void clearPages() override;
    void addToFileList(const QString& fileName);
    void confirm() override;

    QListWidget* m_pageList;
};
