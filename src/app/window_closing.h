#pragma once

#include <QList>

class QWidget;

// Closing windows the way the program's shutdown and its fatal report do:
// each window's own close handling runs, so an editor may ask about unsaved
// changes and may refuse.
namespace WindowClosing {

// Asks every window of windowsInOrder except keep (and except menus and tool
// tips, visible or hidden) to close, in that order (WindowOrder's: the order
// the windows were opened). True when every one of them closed.
bool closeOtherWindows(const QList<QWidget*>& windowsInOrder, const QWidget* keep);

// Closes every window in the order the main window's workbench recorded, the
// main window (the frmKioskSystem) last. Installed as the program's
// unload-all-windows hook.
void closeAllWindows();

} // namespace WindowClosing
