// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;

// A picture of a page shown in a window of its own, fitted to at most
// 800 x 600 pixels (never enlarged); the title names the file. Deletes
// itself on close.
class PictureWindow : public QWidget {
    Q_OBJECT
public:
    // False (no window) when the file cannot be read as a picture.
    static PictureWindow* showPicture(const QString& path);
    QString picturePath() const { return m_path; }

private:
    explicit PictureWindow(const QString& path);
    QString m_path;
    QLabel* m_picture = nullptr;
};
