// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/check_window.h"
#include "app/find_in_pages_window.h"
#include "app/kiosks_window.h"
#include "app/overview_window.h"
#include "app/references_window.h"
#include "dialogs/directory_dialog.h"
#include "dialogs/new_folder_dialog.h"
#include "dialogs/save_file_dialog.h"
#include "dialogs/select_file_dialog.h"
#include "dialogs/select_folder_dialog.h"
#include "editor/find_replace_dialog.h"
#include "editor/insert_dialog.h"
#include "preview/preview_window.h"
#include "support/window_fixture.h"
#include "viewer/viewer_window.h"

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QWebEngineView>
#include <algorithm>

namespace {

// The controls a screen reader announces by name: fields, lists and buttons. Labels name the fields they are
// buddies of; items of a list are named by their own text.
bool needsName(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::SpinBox:
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ProgressBar:
    case QAccessible::Slider:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return false;
    }
}

// Walks the shown controls under node as a screen reader does, counting the ones that need a name and listing
// those without one. A page in the browser engine is a document of its own.
void walk(QAccessibleInterface* node, int& controls, QStringList& unnamed)
{
    if (!node || !node->isValid() || node->state().invisible || qobject_cast<QWebEngineView*>(node->object()))
        return;
    const QAccessible::Role role = node->role();
    if (needsName(role)) {
        ++controls;
        if (node->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 %2").arg(node->object() ? node->object()->metaObject()->className() : "?",
                                                   node->object() ? node->object()->objectName() : QString());
    }
    if (role == QAccessible::List || role == QAccessible::Tree || role == QAccessible::Table
        || role == QAccessible::ComboBox)
        return;
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), controls, unnamed);
}

// The steps of the Tab order through the window's controls that go back against the reading order: to a control
// wholly above and not to the right of the one before (a new column to the right may start higher up).
QStringList stepsBack(QWidget* window)
{
    QList<QWidget*> chain;
    for (QWidget* widget = window->nextInFocusChain(); widget && widget != window; widget = widget->nextInFocusChain())
        if (widget->isVisibleTo(window) && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)
            && widget->window() == window && !widget->focusProxy())
            chain.append(widget);
    // The order is a ring: it starts at the control nearest the top left.
    const auto place = [window](QWidget* widget) { return widget->mapTo(window, QPoint()); };
    const auto first = std::min_element(chain.begin(), chain.end(), [&](QWidget* a, QWidget* b) {
        return std::pair(place(a).y(), place(a).x()) < std::pair(place(b).y(), place(b).x());
    });
    std::rotate(chain.begin(), first, chain.end());
    QStringList back;
    for (qsizetype i = 1; i < chain.size(); ++i) {
        const QRect before(chain[i - 1]->mapTo(window, QPoint()), chain[i - 1]->size());
        const QRect now(chain[i]->mapTo(window, QPoint()), chain[i]->size());
        if (now.bottom() < before.top() && now.left() <= before.left())
            back << chain[i - 1]->objectName() + QStringLiteral(" -> ") + chain[i]->objectName();
    }
    return back;
}

using AccessibilityWalkTest = WindowTest;

// Every window and dialog, shown as the author meets it, walked with the accessibility interface: every field, list
// and button has a name (its text, its label as buddy, or a name of its own), and Tab goes through them in reading
// order.
TEST_F(AccessibilityWalkTest, EveryControlOfEveryWindowHasAName)
{
    mainWindow();
    const auto shown = [](QWidget* window) {
        window->show();
        return window;
    };
    EditorWindow* editor = editorOn("news/today.zel", "#leaf\r\n#title Today\r\n");
    const struct {
        const char* name;
        std::function<QWidget*()> open;
    } rows[] = {
        {"main window", [&] { return main.get(); }},
        {"main window with a kiosk system open",
         [&] {
             main->openKioskSystem(kiosk.folder());
             return main.get();
         }},
        {"editor", [&] { return shown(editor); }},
        {"find and replace", [&] { return shown(&editor->findDialog()); }},
        {"insert", [&] { return shown(&workbench.instance<InsertDialog>()); }},
        {"make all",
         [&] {
             MakeDialog& maker = workbench.instance<MakeDialog>();
             maker.show();
             maker.progressBar()->show(); // as Make All shows it
             return &maker;
         }},
        {"select file", [&] { return shown(&workbench.instance<SelectFileDialog>()); }},
        {"save file", [&] { return shown(&workbench.instance<SaveFileDialog>()); }},
        {"select folder", [&] { return shown(&workbench.instance<SelectFolderDialog>()); }},
        {"new folder", [&] { return shown(&workbench.instance<NewFolderDialog>()); }},
        {"directory", [&] { return shown(&workbench.instance<DirectoryDialog>()); }},
        {"preview", [&] { return shown(&workbench.instance<PreviewWindow>()); }},
        {"viewer", [&] { return shown(&workbench.instance<ViewerWindow>()); }},
        {"overview", [&] { return shown(&workbench.instance<OverviewWindow>()); }},
        {"check", [&] { return shown(new CheckWindow(workbench)); }},
        {"references", [&] { return shown(&workbench.instance<ReferencesWindow>()); }},
        {"find in pages", [&] { return shown(&workbench.instance<FindInPagesWindow>()); }},
        {"kiosks", [&] { return shown(&workbench.instance<KiosksWindow>()); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* window = row.open();
        int controls = 0;
        QStringList unnamed;
        walk(QAccessible::queryAccessibleInterface(window), controls, unnamed);
        EXPECT_GT(controls, 0);
        EXPECT_EQ(unnamed, QStringList());
        EXPECT_EQ(stepsBack(window), QStringList()) << "the Tab order";
        if (window != main.get() && window != editor)
            window->close();
    }
}

} // namespace
