// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QSpinBox;

// File > Publish...: asks where the kiosk system is published (the origin
// folder a web server serves to the kiosks), the version's note and how many
// versions the origin keeps. The origin and the count are remembered in the
// settings store (Publish/origin, Publish/keep) for the next publish.
class PublishDialog : public QDialog {
    Q_OBJECT
public:
    explicit PublishDialog(QWidget* parent = nullptr);

    QString origin() const;
    QString note() const;
    int keep() const;
    void setOrigin(const QString& folder);
    void setNote(const QString& note);
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    void chooseOrigin();

    QLineEdit* m_origin = nullptr;
    QLineEdit* m_note = nullptr;
    QSpinBox* m_keep = nullptr;
    QPushButton* m_ok = nullptr;
};
