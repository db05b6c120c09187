// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/single_instance_dialog.h"

class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "ZEL - Choose Directory": picks any directory, and can create one on the
// way. The drive list offers the user's home, the file-system root and every
// mounted volume; the directory list shows the open directory under its
// ancestors with its sub-directories below. A click highlights an entry, a
// double click opens it.
class dlgChoseDir : public SingleInstanceDialog {
    Q_OBJECT
public:
    // Shows the dialog modally; it starts from the directory left open by the previous use.
    void showModal(QWidget* owner = nullptr);
    // The chosen directory ending with the separator, or empty for Cancel and the close box.
    QString getDirectory() const { return m_result; }

    // Opens a directory in the directory list and highlights it.
    void openDirectory(const QString& path);

    QComboBox* driveList() const { return m_driveList; }
    QTreeWidget* dirList() const { return m_dirList; }
    QPushButton* okButton() const { return m_cmdOK; }
    QPushButton* newButton() const { return m_cmdNew; }
    QPushButton* cancelButton() const { return m_cmdCancel; }

private:
    friend class Workbench;
    explicit dlgChoseDir(Workbench& workbench);
    void fillDriveList();
    QString getCurrentDirectory() const;
    void driveList_Change();
    void cmdNew_Click();
    void cmdOK_Click();
    void cancel() override;

    QString m_result;
    QComboBox* m_driveList;
    QTreeWidget* m_dirList;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdNew;
    QPushButton* m_cmdCancel;
};
