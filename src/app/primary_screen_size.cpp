#include "app/primary_screen_size.h"

#include <QGuiApplication>
#include <QScreen>

QSize PrimaryScreenSize::pixelSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}
