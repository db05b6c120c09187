#pragma once

#include "dialogs/chooser_dialog.h"

class QListWidget;

// "ZEL - Select Folder": picks one folder of the open kiosk system.
class dlgSelectFolder : public ChooserDialog {
    Q_OBJECT
public:
    // Lists the folders and, when there are any, preselects the first and
    // shows the dialog modally (owned by owner). With no folder: the message
    // "No folders have been created in this kiosk system" and an empty result.
    void openFolders(QWidget* owner = nullptr);
    // The chosen folder's name, or empty for Cancel.
    QString getSelectedFolderName() const { return m_result; }

    QListWidget* folderList() const { return m_lstFolder; }

private:
    friend class Workbench;
    explicit dlgSelectFolder(Workbench& workbench);
    void loadFolders();
    void cmdOK_Click() override;

    QListWidget* m_lstFolder;
};
