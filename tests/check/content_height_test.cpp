// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The height estimate of root and branch content that the kiosk check holds
// against the screen (the finding itself: zel_make_test.cpp).
#include "check/content_height.h"
#include "check/style_sheet.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(ContentHeight, GrowsWithWhatTheContentFileHolds)
{
    // The template's fonts at 1280 x 1024: 28 px body text, branch paragraphs 1.15rem.
    StyleSheet sheet = StyleSheet::read(ZEL_SOURCE_DIR "/template/stylesheet.css");
    sheet.setScreenScale(1.0, 11);
    QStringList tenLines;
    for (int i = 0; i < 10; ++i)
        tenLines << QStringLiteral("A short line of text %1.").arg(i);
    const struct {
        const char* name;
        QStringList lines;
        double least, most; // pixels
    } rows[] = {
        {"nothing", {}, 0, 0},
        {"a one-line title", {"<p class=\"title\">Visiting</p>"}, 60, 120},
        {"a title of many words takes two lines at most",
         {"<p class=\"title\">" + QString("Every shop and stall of the harbour quarter ").repeated(6) + "</p>"},
         100,
         180},
        {"a paragraph of ten short lines wraps into few lines",
         QStringList{"<p class=\"branch\">"} + tenLines + QStringList{"</p>"}, 80, 500},
        {"a picture counts with its written height",
         {"<img src=\"images\\a00001.jpg\" hspace=10 width=600 height=700 alt=\"\">"},
         700,
         760},
        {"author HTML counts as text", {"<table><tr><td>One</td></tr></table>"}, 30, 80},
    };
    ContentHeight estimate(sheet, 960);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        estimate.startPage();
        for (const QString& line : row.lines)
            estimate.addLine(line);
        EXPECT_GE(estimate.height(), row.least);
        EXPECT_LE(estimate.height(), row.most);
    }
}
