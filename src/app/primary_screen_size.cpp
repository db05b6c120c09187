// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/primary_screen_size.h"

#include <QGuiApplication>
#include <QScreen>

// On a scaled desktop the screen's size is in logical pixels; a kiosk page
// shown full screen has the device pixels.
QSize PrimaryScreenSize::pixelSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize();
    const qreal ratio = screen->devicePixelRatio();
    return QSize(qRound(screen->size().width() * ratio), qRound(screen->size().height() * ratio));
}
