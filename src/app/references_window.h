// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/page_line_list.h"
#include "system/page_references.h"
#include "workbench/single_instance_window.h"

class QLabel;
class QTreeWidgetItem;
class Workbench;

// Tools > References: a window (not modal) listing every #button and #item
// line of the open kiosk system that names one page: page source (as a page
// reference, "news\index"), line and the line's text. Double-clicking a row
// opens its page source in the page editor at that line. One window for the
// workbench; showing another page's references replaces the list.
class ReferencesWindow : public SingleInstanceWindow {
    Q_OBJECT
public:
    static constexpr int kColumnPageSource = PageLineList::kColumnPageSource;
    static constexpr int kColumnLine = PageLineList::kColumnLine;
    static constexpr int kColumnText = PageLineList::kColumnText;

    // Lists the lines naming page and shows the window in front.
    void showReferencesTo(const PageReferences::PageId& page);

    PageLineList* referenceList() const { return m_referenceList; }
    QLabel* pageLabel() const { return m_pageLabel; }
    void openReference(QTreeWidgetItem* row);

private:
    explicit ReferencesWindow(Workbench& workbench);
    friend class Workbench;

    QLabel* m_pageLabel = nullptr;
    PageLineList* m_referenceList = nullptr;
};
