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
    void setLayout(const QString& pageType);
    void makeRootPage();
    void dispatchRootOrBranch(const QString& directive);
    void dispatchLeaf(const QString& directive);
    void insertButton();
    void insertImage();

    PageOutput& m_page;
    PageLayout m_layout;
    NavigationBar m_navigation;
    ImagePlacement m_images;
};
