// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;

// A combo box whose list is always open: a text field above a list. Picking
// an entry copies its text into the field and leaves it selected; typing in
// the field clears the selection, so "selected" means "picked from the list".
class SimpleComboBox : public QWidget {
    Q_OBJECT
public:
    explicit SimpleComboBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    // Replaces the entries (already in the wanted order); nothing is selected afterwards.
    void setItems(const QStringList& items);
    QStringList items() const;
    int count() const;

    // The selected entry, -1 for none.
    int currentRow() const;
    // Selects an entry and copies its text into the field, as a click on it does.
    void setCurrentRow(int row);

    QLineEdit* lineEdit() const { return m_edit; }
    QListWidget* listWidget() const { return m_list; }

signals:
    // An entry was double-clicked (its text is in the field by then).
    void itemDoubleClicked();

private:
    QLineEdit* m_edit;
    QListWidget* m_list;
};
