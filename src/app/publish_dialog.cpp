// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/publish_dialog.h"

#include "platform/user_settings.h"
#include "publish/origin_writer.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {
const QString kOriginKey = QStringLiteral("Publish/origin");
const QString kKeepKey = QStringLiteral("Publish/keep");
} // namespace

PublishDialog::PublishDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("publishDialog"));
    setWindowTitle(tr("Publish"));
    const std::unique_ptr<QSettings> settings = openUserSettings();

    m_origin = new QLineEdit(settings->value(kOriginKey).toString(), this);
    m_origin->setObjectName(QStringLiteral("originEdit"));
    auto* browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->setAccessibleName(tr("Choose the origin folder"));
    connect(browse, &QPushButton::clicked, this, &PublishDialog::chooseOrigin);
    auto* originRow = new QHBoxLayout;
    originRow->addWidget(m_origin, 1);
    originRow->addWidget(browse);

    m_note = new QLineEdit(this);
    m_note->setObjectName(QStringLiteral("noteEdit"));
    m_keep = new QSpinBox(this);
    m_keep->setObjectName(QStringLiteral("keepSpin"));
    m_keep->setRange(1, 999);
    m_keep->setValue(settings->value(kKeepKey, OriginWriter::kDefaultKeep).toInt());

    auto* form = new QFormLayout(this);
    form->addRow(tr("&Origin folder:"), originRow);
    form->addRow(tr("&Note:"), m_note);
    form->addRow(tr("&Versions kept:"), m_keep);
    // QFormLayout gives a row of a layout no buddy: the origin's label gets it here.
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(originRow)))
        label->setBuddy(m_origin);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(tr("&Publish"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PublishDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PublishDialog::reject);
    form->addRow(buttons);
}

QString PublishDialog::origin() const { return QDir::cleanPath(m_origin->text().trimmed()); }

QString PublishDialog::note() const { return m_note->text(); }

int PublishDialog::keep() const { return m_keep->value(); }

void PublishDialog::setOrigin(const QString& folder) { m_origin->setText(folder); }

void PublishDialog::setNote(const QString& note) { m_note->setText(note); }

void PublishDialog::chooseOrigin()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Origin folder"), origin());
    if (!folder.isEmpty())
        m_origin->setText(QDir::toNativeSeparators(folder));
}

// An empty origin is no answer: the dialog stays.
void PublishDialog::accept()
{
    if (m_origin->text().trimmed().isEmpty()) {
        m_origin->setFocus();
        return;
    }
    const std::unique_ptr<QSettings> settings = openUserSettings();
    settings->setValue(kOriginKey, origin());
    settings->setValue(kKeepKey, keep());
    QDialog::accept();
}
