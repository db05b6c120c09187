// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One page: its page-type line read and the builder of that page type run.
#include "maker/page_builder.h"

#include "maker/selector_page.h"
#include "maker/text_pages.h"

#include "pages/support.h"

#include <QCoreApplication>

void PageBuilder::build()
{
    const PageType type = m_page.reader().readPageType();
    m_page.tellUse(PageOutput::Use::PageType, PageTypes::pageTypeDirective(std::int16_t(type)));
    switch (type) {
    case PageType::Leaf:
        TextPageBuilder(m_page).makeLeaf();
        break;
    case PageType::Branch:
        TextPageBuilder(m_page).makeBranch();
        break;
    case PageType::Root:
        m_page.setRoot();
        TextPageBuilder(m_page).makeRoot();
        break;
    case PageType::Selector:
        SelectorPageBuilder(m_page).makeSelector();
        break;
    case PageType::Invalid:
        m_page.makeError(QCoreApplication::translate("PageMaker", "Invalid Zel Page"));
        break;
    }
}
