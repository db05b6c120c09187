// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

// As closeOtherWindows, but every editor is asked about its unsaved changes
// (its own question, in the same order) before any window closes: when one
// refuses (Cancel, or a save that does not happen), no window is closed.
// The shutdown's way (File, Exit).
bool closeOtherWindowsOrNone(const QList<QWidget*>& windowsInOrder, const QWidget* keep);

// Closes every window in the order the main window's workbench recorded, the
// main window (the MainWindow) last. Installed as the program's
// unload-all-windows hook.
void closeAllWindows();

} // namespace WindowClosing
