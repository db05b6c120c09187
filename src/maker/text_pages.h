// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "maker/image_placement.h"
#include "maker/navigation_bar.h"
#include "maker/page_layout.h"

#include <QString>

class PageOutput;

// Builds a root, branch or leaf page from the lines after its page-type
// line: text directives and pictures in the content, #button rows in the
// navigation bar of a root or branch page, the fixed buttons of each type.
class TextPageBuilder {
public:
    explicit TextPageBuilder(PageOutput& page) : m_page(page), m_navigation(page), m_images(page) {}

    void makeRoot();
    void makeBranch();
    void makeLeaf();

private:
    using Dispatch = void (TextPageBuilder::*)(const QString& directive);

    void setLayout(const QString& pageType);
    // The page type's layout, the content file's header, the navigation bar's
    // start, every directive handed to dispatch, the content file's footer.
    void readPage(const QString& pageType, void (NavigationBar::*startNavigation)(), Dispatch dispatch);
    // The main file's frameset with the page type's widths.
    void makeFrames(const QString& pageType, const QString& scrolling);
    void makeRootPage();
    // The directives of every text page (#para in paragraphClass, #title,
    // #image, #html, #break) and empty lines; false for any other.
    bool dispatchText(const QString& directive, const QString& paragraphClass);
    void dispatchRootOrBranch(const QString& directive);
    void dispatchLeaf(const QString& directive);
    void insertButton();
    void insertImage();

    PageOutput& m_page;
    PageLayout m_layout;
    NavigationBar m_navigation;
    ImagePlacement m_images;
};
