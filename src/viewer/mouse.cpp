#include "viewer/mouse.h"

#include "platform/runtime_error.h"

#include <QCursor>
#include <QPoint>
#include <QWidget>
#include <cmath>
#include <cstdint>

namespace {

int roundToInt32(float value)
{
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double rounded = std::nearbyint(double(value));
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        Errors::raise(Errors::Overflow);
    return static_cast<int>(rounded);
}

} // namespace

namespace Mouse {

void setMousePosition(QWidget* window, float x, float y)
{
    const QPoint client(roundToInt32(x), roundToInt32(y));
    QCursor::setPos(window->screen(), window->mapToGlobal(client));
}

} // namespace Mouse
