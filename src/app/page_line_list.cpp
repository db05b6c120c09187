// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/page_line_list.h"

#include "app/page_opening.h"
#include "pages/page_paths.h"

#include <QHeaderView>

PageLineList::PageLineList(Workbench& workbench, QWidget* parent) : QTreeWidget(parent), m_workbench(workbench)
{
    setHeaderLabels({tr("Page"), tr("Line"), tr("Text")});
    setRootIsDecorated(false);
    header()->setStretchLastSection(true);
}

qsizetype PageLineList::showLines(const QList<PageReferences::ReferenceLine>& lines)
{
    clear();
    qsizetype count = 0;
    for (const PageReferences::ReferenceLine& line : lines) {
        QString folder;
        QString name;
        PagePaths::splitPageSourcePath(line.pageSource, folder, name);
        count += line.line > 0 ? 1 : 0;
        auto* row = new QTreeWidgetItem(
            this, {folder + u'\\' + name, line.line > 0 ? QString::number(line.line) : QString(), line.text});
        row->setData(kColumnPageSource, Qt::UserRole, line.pageSource);
        row->setData(kColumnLine, Qt::UserRole, line.line);
    }
    resizeColumnToContents(kColumnPageSource);
    resizeColumnToContents(kColumnLine);
    return count;
}

void PageLineList::openLine(QTreeWidgetItem* row)
{
    if (row)
        openPageAtLine(m_workbench, row->data(kColumnPageSource, Qt::UserRole).toString(),
                       row->data(kColumnLine, Qt::UserRole).toInt());
}
