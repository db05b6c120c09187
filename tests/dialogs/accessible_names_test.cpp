// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/directory_dialog.h"
#include "dialogs/new_folder_dialog.h"
#include "dialogs/save_file_dialog.h"
#include "dialogs/select_file_dialog.h"
#include "dialogs/select_folder_dialog.h"
#include "editor/find_replace_dialog.h"
#include "editor/insert_dialog.h"
#include "support/window_fixture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>

namespace {

using AccessibleNamesTest = WindowTest;

// Every field of each dialog (a box, a list) is named for screen readers, by its label or a name of its own.
TEST_F(AccessibleNamesTest, EveryFieldOfTheDialogsHasAName)
{
    const struct {
        const char* name;
        QWidget* dialog;
    } rows[] = {
        {"insert", &workbench.instance<InsertDialog>()},
        {"select file", &workbench.instance<SelectFileDialog>()},
        {"save file", &workbench.instance<SaveFileDialog>()},
        {"select folder", &workbench.instance<SelectFolderDialog>()},
        {"new folder", &workbench.instance<NewFolderDialog>()},
        {"directory", &workbench.instance<DirectoryDialog>()},
    };
    for (const auto& row : rows) {
        int fields = 0;
        for (QWidget* field : row.dialog->findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(field) && !qobject_cast<QAbstractItemView*>(field)
                && !qobject_cast<QComboBox*>(field))
                continue;
            bool inComboBox = false; // a combo box's own popup list is named by the combo box
            for (QWidget* up = field->parentWidget(); up && up != row.dialog; up = up->parentWidget())
                inComboBox = inComboBox || qobject_cast<QComboBox*>(up);
            if (inComboBox || qobject_cast<QHeaderView*>(field)) // a tree's header is part of the tree
                continue;
            ++fields;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field);
            ASSERT_TRUE(accessible) << row.name;
            EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
                << row.name << ' ' << field->objectName().toStdString() << ' ' << field->metaObject()->className();
        }
        EXPECT_GT(fields, 0) << row.name;
    }
}

} // namespace
