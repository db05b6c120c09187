// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

class PageOutput;
struct PageLayout;

// The navigation bar of one page: a table of rows that together fill the
// layout's navigation height, each with a button or blank, written to the
// page's navigation file. The footers fill the rows the page type leaves
// free and add its fixed buttons.
class NavigationBar {
public:
    explicit NavigationBar(PageOutput& page) : m_page(page) {}

    // Starts again at the top row with the layout's rows, height and button width.
    void setLayout(const PageLayout& layout);

    // The document header and the start of the table.
    void start();
    // start() and the Home button.
    void startBranch();
    // A row of one button; a blank row for an empty url. A button past the
    // last row is reported as a faulty line. show: when the page it leads
    // to is on show ("" always), for the kiosk script to hide the button.
    void addButton(const QString& url, const QString& text, const QString& show = QString());
    // A button two rows high (two links, the second without text).
    void addDoubleButton(const QString& url, const QString& text);
    void addHomeButton();
    void addBackButton();

    // The rows left blank, then the page type's fixed buttons and the end of the file.
    void completeRoot();
    void completeBranch();
    void completeLeaf();
    void completeSelector();

private:
    // The end of the table and of the file.
    void complete();
    void write(const QString& line);

    PageOutput& m_page;
    std::int16_t m_buttons = 0;
    std::int16_t m_buttonWidth = 0;
    std::int16_t m_buttonCount = 0;
    std::int16_t m_remainingHeight = 0;
};
