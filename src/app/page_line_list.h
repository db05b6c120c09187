// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/page_references.h"

#include <QTreeWidget>

class Workbench;

// A list of page source lines: page (as a page reference, "news\index"), line
// number and the line's text. openLine opens a row's page source in the page
// editor at that line; the References and Find in Pages windows show their
// lines in one and call it, through their error path, on a double-click.
class PageLineList : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kColumnPageSource = 0;
    static constexpr int kColumnLine = 1;
    static constexpr int kColumnText = 2;

    PageLineList(Workbench& workbench, QWidget* parent);

    // Replaces the rows with lines (a page source not read: its reason, no line
    // number). Returns the number of lines, those rows not counted.
    qsizetype showLines(const QList<PageReferences::ReferenceLine>& lines);
    // Opens the row's page source in the editor at its line.
    void openLine(QTreeWidgetItem* row);

private:
    Workbench& m_workbench;
};
