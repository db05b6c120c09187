// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "workbench/picture_file_dialog.h"

#include "pages/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>

QString choosePictureFile(QWidget* parent)
{
    QFileDialog dialog(parent, QCoreApplication::translate("PictureFileDialog", "Find Image"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    const QString pictures = QCoreApplication::translate("PictureFileDialog", "Pictures (%1)")
                                 .arg(QStringLiteral("*.") + Files::pictureExtensions().join(QStringLiteral(" *.")));
    const QString jpegs = QCoreApplication::translate("PictureFileDialog", "Jpeg Files (*.jpg)");
    dialog.setNameFilters({pictures, jpegs});
    // The listing matches names in any letter case (cameras write ".JPG").
    auto widen = [&dialog, jpegs](const QString& filter) {
        if (auto* model = dialog.findChild<QFileSystemModel*>())
            model->setNameFilters(filter == jpegs ? QStringList{QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}
                                                  : Files::pictureNamePatterns());
    };
    widen(pictures);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, widen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}
