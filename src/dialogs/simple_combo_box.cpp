// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/simple_combo_box.h"

#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

SimpleComboBox::SimpleComboBox(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_list(new QListWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    layout->addWidget(m_list, 1);
    setFocusProxy(m_edit);

    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { m_edit->setText(item->text()); });
    // Only a pick copies the entry: Tab into the list makes its first entry
    // current without selecting it, and must not replace the typed name.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        if (const int row = currentRow(); row >= 0)
            m_edit->setText(m_list->item(row)->text());
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_edit->setText(item->text());
        emit itemDoubleClicked();
    });
    connect(m_edit, &QLineEdit::textEdited, this, [this] { setCurrentRow(-1); });
}

QString SimpleComboBox::text() const { return m_edit->text(); }

void SimpleComboBox::setText(const QString& text) { m_edit->setText(text); }

void SimpleComboBox::setItems(const QStringList& items)
{
    const QString typed = m_edit->text();
    m_list->clear();
    m_list->addItems(items);
    m_list->setCurrentRow(-1);
    m_edit->setText(typed);
}

QStringList SimpleComboBox::items() const
{
    QStringList result;
    for (int i = 0; i < m_list->count(); ++i)
        result.append(m_list->item(i)->text());
    return result;
}

int SimpleComboBox::count() const { return m_list->count(); }

int SimpleComboBox::currentRow() const
{
    // A current row without a selection (keyboard focus only) is not a pick.
    const auto selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void SimpleComboBox::setCurrentRow(int row)
{
    m_list->setCurrentRow(row);
    if (row < 0)
        m_list->clearSelection();
}
