// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/text_fit.h"

#include <QString>

class StyleSheet;

// The height a root or branch page's content takes at the size the page is
// made for, estimated line by line from the content file's lines as the maker
// writes them: the title, paragraphs, pictures (their written heights) and
// author HTML taken as plain text. Only an estimate: the browser decides.
class ContentHeight {
public:
    // Boxes from the kiosk's style sheet for a content column of that width.
    ContentHeight(const StyleSheet& sheet, double columnWidth);

    // Forgets the page before.
    void startPage();
    // Adds one line of the content file.
    void addLine(const QString& line);
    // Pixels the lines added so far take (a paragraph not yet closed with what
    // it holds so far).
    double height() const;

private:
    double paragraphHeight(const QString& html, const TextBox& box, double margin) const;

    TextBox m_title;
    TextBox m_paragraph;
    TextBox m_plain;
    double m_titleExtra = 0;
    double m_paragraphMargin = 0;
    double m_pictureMargin = 0;

    double m_height = 0;
    bool m_inParagraph = false;
    QString m_paragraphText;
};
