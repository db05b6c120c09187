#pragma once

class QWidget;

// Closing windows the way the program's shutdown and its fatal report do:
// each window's own close handling runs, so an editor may ask about unsaved
// changes and may refuse.
namespace WindowClosing {

// Asks every window except keep (and except menus and tool tips, visible or
// hidden) to close, in the order the windows were opened. True when every one of them closed.
bool closeOtherWindows(const QWidget* keep);

// Closes every window, the main window (the frmKioskSystem) last. Installed
// as the program's unload-all-windows hook.
void closeAllWindows();

} // namespace WindowClosing
