// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workbench/single_instance_dialog.h"

#include <QIcon>

class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "ZEL - Choose Directory": picks any directory, and can create one on the
// way. The drive list offers the user's home, the file-system root and every
// mounted volume; the directory list shows the open directory under its
// ancestors with its sub-directories below. A click highlights an entry, a
// double click opens it.
class DirectoryDialog : public SingleInstanceDialog {
    Q_OBJECT
public:
    // Shows the dialog modally; it starts from the directory left open by the previous use.
    void showModal(QWidget* owner = nullptr);
    // The chosen directory ending with the separator, or empty for Cancel and the close box.
    QString getDirectory() const { return m_result; }

    // Opens a directory in the directory list and highlights it.
    void openDirectory(const QString& path);

    QComboBox* driveList() const { return m_driveList; }
    QTreeWidget* directoryList() const { return m_directoryList; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* newButton() const { return m_newButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

    // The icons of the open folders and of the closed ones: the desktop
    // theme's, else the program's own (drawn from SVG, sharp at any scale).
    static QIcon openFolderIcon();
    static QIcon closedFolderIcon();

private:
    friend class Workbench;
    explicit DirectoryDialog(Workbench& workbench);
    void fillDriveList();
    QString getCurrentDirectory() const;
    void openDrive();
    void createDirectory();
    void confirm();
    void cancel() override;

    QString m_result;
    QComboBox* m_driveList;
    QTreeWidget* m_directoryList;
    QPushButton* m_okButton;
    QPushButton* m_newButton;
    QPushButton* m_cancelButton;
};
