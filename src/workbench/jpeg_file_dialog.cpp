// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "workbench/jpeg_file_dialog.h"

#include "pages/files.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>

QString chooseJpegFile(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Find Image"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    dialog.setNameFilter(QStringLiteral("Jpeg Files (*.jpg)"));
    auto widen = [&dialog] {
        if (auto* model = dialog.findChild<QFileSystemModel*>())
            model->setNameFilters(Files::jpegNamePatterns());
    };
    widen();
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, widen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}
