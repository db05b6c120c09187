// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/picture_window.h"

#include "text/text_files.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

PictureWindow::PictureWindow(const QString& path) : QWidget(nullptr, Qt::Window), m_path(path)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmShowPicture"));
    setWindowTitle(tr("ZEL (Picture) %1").arg(QDir::toNativeSeparators(path)));
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("pictureLabel"));
    m_picture->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picture);
}

PictureWindow* PictureWindow::showPicture(const QString& path)
{
    // A FIFO or device named like a picture must not block the window.
    QFile file(path);
    if (!TextFiles::openAuthorFile(path, file).isEmpty())
        return nullptr;
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return nullptr;
    auto* window = new PictureWindow(path);
    const QSize most(800, 600);
    const QImage shown = image.width() > most.width() || image.height() > most.height()
                             ? image.scaled(most, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                             : image;
    window->m_picture->setPixmap(QPixmap::fromImage(shown));
    window->resize(shown.size());
    window->show();
    return window;
}
