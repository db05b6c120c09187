#pragma once

#include <QList>

class QWidget;

// The order in which the program's windows were opened. Qt's list of
// top-level widgets has no fixed order, so questions asked window by window
// (Make All, the closings at an open and at shutdown) walk this one instead.
namespace WindowOrder {

// Starts recording each window's first showing; later calls do nothing.
// Windows shown before the first call are not recorded.
void startRecording();

// Every top-level widget: those shown while recording in the order they were
// first shown, then the others in Qt's order.
QList<QWidget*> windowsInOpeningOrder();

} // namespace WindowOrder
