// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The text-fit estimate and the style sheet it reads its fonts from (a caption
// too long for its button, and texts that fit, are findings of
// check_window_test.cpp and of zel-make --check in
// zel_make_test.cpp).
#include "check/finding.h"
#include "check/style_sheet.h"
#include "check/text_fit.h"

#include <gtest/gtest.h>

TEST(TextFit, EstimatedLines)
{
    // A 30 px bold font, as the kiosk's buttons use: about 14 characters a line.
    const TextBox box{288, 107, 30, 34.5, true};
    const struct {
        const char* name;
        const char* text;
        int lines;
    } rows[] = {
        {"only markup", "<b></b>", 0},
        {"two words on one line", "Shop Directory", 1},
        {"wraps at the blank", "Visiting Ostervale", 2},
        {"br starts a line", "A<br>B<BR/>C", 3},
        {"entities count as their characters", "Walks&nbsp;&amp;&nbsp;Trails", 1},
        {"a word wider than the box breaks", "Abcdefghijklmnopqrstuvwxyzabcdefghij", 3},
        {"tags take no room", "<b>Market</b> <i>day</i>", 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TextFit::estimatedLines(row.text, box), row.lines) << row.name;
    EXPECT_TRUE(TextFit::mayNotFit("Home", TextBox{0, 100, 30, 34.5, true})) << "no room at all";
}

TEST(StyleSheet, ReadsPlainRules)
{
    const StyleSheet sheet =
        StyleSheet::parse("/* c { font-size: 99px } */ body { font-size: 28px; line-height: 1.4 }\n"
                          "a.nav, p.x { font-size: 30px; padding: 0 8px; line-height: 36px }\n"
                          "@media print { a.nav { font-size: 1px } }\n"
                          "p.x { margin: 1px 2px 3px 4px; line-height: 150%; font-size: 2em }");
    EXPECT_EQ(sheet.pixels("body", "font-size", 0), 28);
    EXPECT_EQ(sheet.lineHeight("body", 28), 28 * 1.4);
    EXPECT_EQ(sheet.pixels("a.nav", "font-size", 0), 30) << "at-rule blocks are passed over";
    EXPECT_EQ(sheet.lineHeight("a.nav", 30), 36);
    EXPECT_EQ(sheet.side("a.nav", "padding", 1), 8);
    EXPECT_EQ(sheet.side("a.nav", "padding", 0), 0);
    EXPECT_EQ(sheet.pixels("p.x", "font-size", 16), 16) << "other units fall back";
    EXPECT_EQ(sheet.lineHeight("p.x", 20), 30);
    EXPECT_EQ(sheet.side("p.x", "margin", 3), 4);
    EXPECT_EQ(sheet.lineHeight("missing", 10), 12);
}

// The plural counts are those of Tools > Check Kiosk System (check_window_test).
TEST(Finding, CountLineOfOnePage) { EXPECT_EQ(countLine(1, {}).toStdString(), "Checked 1 page: no findings"); }
