// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "maker/image_placement.h"
#include "maker/navigation_bar.h"
#include "maker/page_layout.h"

#include <QString>

class PageOutput;

// Builds a selector page: a table of #item rows (thumbnail, link, text) that
// the kiosk script scrolls row by row, and the navigation bar that scrolls
// and selects.
class SelectorPageBuilder {
public:
    explicit SelectorPageBuilder(PageOutput& page) : m_page(page), m_navigation(page), m_images(page) {}

    void makeSelector();

private:
    void dispatchSelector(const QString& directive);
    void insertItem();
    void makeSelectorContentFooter();

    PageOutput& m_page;
    PageLayout m_layout;
    NavigationBar m_navigation;
    ImagePlacement m_images;
    bool m_itemTableStarted = false;
    int m_rowsWritten = 0;
};
