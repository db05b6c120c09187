// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "maker/make_context.h"
#include "maker/page_output.h"
#include "maker/page_position.h"

#include <QString>
#include <QStringList>

namespace fileio {
class DeferredReplacements;
}

// Makes one page. Constructing it takes the page source's lines, read by the
// make once, and opens the page's three HTML files (PageOutput); build()
// reads the page-type line and runs the builder of that page type
// (TextPageBuilder, SelectorPageBuilder); commit() puts the three files in
// place as one step. What is not committed when the builder goes is dropped
// and the page keeps its previous files. A builder lives for one page only,
// so nothing of a page reaches the next.
class PageBuilder {
public:
    // lines are the page source's, read whole before (a file that changes
    // meanwhile cannot change the page halfway).
    PageBuilder(const QString& sourcePath, const QStringList& lines, const MakeContext& make)
        : m_page(sourcePath, lines, make)
    {}

    void build();
    // Writes the three files and puts them in place; with batch, they are
    // staged there and put in place by batch->commit().
    void commit(fileio::DeferredReplacements* batch) { m_page.commit(batch); }

    // After build(): the names of the page's files (main, content,
    // navigation) that do not yet hold what commit() would write. Only reads.
    QStringList filesThatWouldChange() const { return m_page.filesThatWouldChange(); }

    int lineNumber() const { return m_page.reader().lineNumber(); }
    PagePosition position() const { return m_page.position(); }

private:
    PageOutput m_page;
};
