// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the kiosk check: the height estimate of root and branch
// content that it holds against the screen (the finding itself:
// zel_make_test.cpp), findings written as records and read back as the
// preview reads zel-make's, the design numbers the check draws the pages with
// (the ones the kiosk's script scales them by; the font sizes both read from
// the Template's style sheet), and the text-fit estimate with the style sheet
// it reads its fonts from (a caption too long for its button, and texts that
// fit, are findings of check_window_test.cpp and of zel-make --check in
// zel_make_test.cpp).
#include "check/colour_contrast.h"
#include "check/content_height.h"
#include "check/finding.h"
#include "check/style_sheet.h"
#include "check/text_fit.h"
#include "check/kiosk_check.h"
#include "config/kiosk_design.h"
#include "support/kiosk_fixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

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

TEST(FindingRecord, ReadsBackWhatItWroteAndRefusesOtherLines)
{
    const Finding written[] = {
        {"/k/news/today.zel", 3, "faulty line", "Expected valid directive"},
        {"/k/a\tb\\c.zel", 0, "out of date", "Picture copy images\\today00001.jpg would be made again"},
        {"/k/x.zel", 12, "may not fit", "Line one\r\nline two\nthree\r"},
        {"", 1, "dead end", ""},
        {"/k/x.zel", 2, "faulty line",
         QString("a") + QChar(0)
             + "b\x01"
               "c\x1b[2J\x7f\\x00 is not a valid page name"},
    };
    for (const Finding& finding : written) {
        SCOPED_TRACE(finding.text.toStdString());
        const QString record = finding.toRecord();
        EXPECT_EQ(record.count(u'\t'), 3);
        EXPECT_FALSE(std::any_of(record.begin(), record.end(),
                                 [](QChar c) { return (c < u' ' && c != u'\t') || c == u'\x7f'; }));
        const std::optional<Finding> read = Finding::fromRecord(record);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->pageSource, finding.pageSource);
        EXPECT_EQ(read->line, finding.line);
        EXPECT_EQ(read->kind, finding.kind);
        EXPECT_EQ(read->text, finding.text);
    }
    const struct {
        const char* name;
        const char* record;
    } refused[] = {
        {"progress line", "Making page today in folder news"},
        {"three fields", "/k/a.zel\t3\tfaulty line"},
        {"five fields", "/k/a.zel\t3\tfaulty line\ttext\tmore"},
        {"line not a number", "/k/a.zel\tx\tfaulty line\ttext"},
        {"negative line", "/k/a.zel\t-1\tfaulty line\ttext"},
        {"no kind", "/k/a.zel\t3\t\ttext"},
        {"unknown escape", "/k/a.zel\t3\tfaulty line\tte\\qt"},
        {"escape of a character not two hex digits", "/k/a.zel\t3\tfaulty line\tte\\xt"},
        {"escape of a character cut short", "/k/a.zel\t3\tfaulty line\ttext\\x0"},
        {"lone backslash at the end", "/k/a.zel\t3\tfaulty line\ttext\\"},
    };
    for (const auto& row : refused)
        EXPECT_FALSE(Finding::fromRecord(QString::fromUtf8(row.record))) << row.name;
}

// The number a "var name = number;" line of the Template's script gives name; -1 without one.
int scriptNumber(const QString& script, const QString& name)
{
    const QRegularExpression line(QStringLiteral("^var ") + name + QStringLiteral(" = (\\d+);$"),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(script);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

TEST(KioskDesign, TheScriptScalesByTheNumbersTheCheckDrawsWith)
{
    QFile file(ZEL_SOURCE_DIR "/template/frame_script.js");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString script = QString::fromUtf8(file.readAll());
    const struct {
        const char* name;
        int value;
    } rows[] = {
        {"designScreenWidth", KioskDesign::screenWidth},
        {"designScreenHeight", KioskDesign::screenHeight},
        {"smallestRootFontSize", KioskDesign::smallestRootFontSize},
        {"captionLines", KioskDesign::captionLines},
        {"lowestReachMm", KioskDesign::lowestReachMm},
        {"highestReachMm", KioskDesign::highestReachMm},
        {"smallestTargetPixels", KioskDesign::smallestTargetPixels},
        {"smallestTargetMm", KioskDesign::smallestTargetMm},
    };
    for (const auto& row : rows)
        EXPECT_EQ(scriptNumber(script, QString::fromLatin1(row.name)), row.value) << row.name;
}

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

TEST(ColourContrast, ReadsCssColours)
{
    const struct {
        const char* text;
        const char* read; // "" when refused
    } rows[] = {
        {"white", "#ffffff"},
        {" Navy ", "#000080"},
        {"#abc", "#aabbcc"},
        {"#1D5F8A", "#1d5f8a"},
        {"rgb(255, 0, 10)", "#ff000a"},
        {"rgb(100% 0% 50%)", "#ff0080"},
        {"rgba(1,2,3,1)", "#010203"},
        {"transparent", ""},
        {"rgba(0, 0, 0, 0.5)", ""},
        {"#ff000080", ""},
        {"#12", ""},
        {"rgb(1, 2)", ""},
        {"rgb(a, b, c)", ""},
        {"nocolour", ""},
        {"", ""},
    };
    for (const auto& row : rows) {
        const std::optional<Colour> colour = ColourContrast::parse(row.text);
        EXPECT_EQ(colour ? colour->name().toStdString() : "", row.read) << row.text;
    }
    EXPECT_DOUBLE_EQ(ColourContrast::ratio(Colour{0, 0, 0}, Colour{255, 255, 255}), 21);
    EXPECT_DOUBLE_EQ(ColourContrast::ratio(Colour{255, 255, 255}, Colour{0, 0, 0}), 21);
    EXPECT_DOUBLE_EQ(ColourContrast::ratio(Colour{119, 119, 119}, Colour{119, 119, 119}), 1);
}

TEST(ColourContrast, FindsTextTooCloseToItsBackground)
{
    const struct {
        const char* name;
        const char* sheet;
        QStringList found;
    } rows[] = {
        {"grey on white, shown rounded down",
         "body { color: #777777; background: #ffffff; font-size: 16px }",
         {"Contrast 4.4:1 of #777777 on #ffffff in body, below 4.5:1"}},
        {"large text needs 3:1", "body { color: #777777; background: white; font-size: 24px }", {}},
        {"bold from 18.66 px is large", "p.leaf_head { color: #949494; font-size: 19px; font-weight: bold }", {}},
        {"bold below 18.66 px is not",
         "p.leaf_head { color: #949494; font-size: 18px; font-weight: 700 }",
         {"Contrast 3.0:1 of #949494 on #ffffff in p.leaf_head, below 4.5:1"}},
        {"a button's caption on the column, its own background first",
         "table.nav td { background: #d9e1e8 } a.nav { color: white; font-size: 10px }\n"
         "a.nav.disabled { background: url(x.png) #eeeeee no-repeat }",
         {"Contrast 1.3:1 of #ffffff on #d9e1e8 in a.nav, below 4.5:1",
          "Contrast 1.1:1 of #ffffff on #eeeeee in a.nav.disabled, below 4.5:1"}},
        {"the current row on the list",
         "#sTable { background: rgb(0, 0, 0) } #sTable tr.current td { color: #333 }",
         {"Contrast 1.6:1 of #333333 on #000000 in #sTable tr.current td, below 4.5:1"}},
        {"links on the body",
         "body { background: #000 } a { color: navy }",
         {"Contrast 1.0:1 of #000000 on #000000 in body, below 4.5:1",
          "Contrast 1.3:1 of #000080 on #000000 in a, below 4.5:1"}},
        {"colours that cannot be read are passed over",
         "body { color: var(--ink); background: #fff } p.title { color: #fff; background: rgba(0,0,0,.4) }"
         "p.leaf { color: red; background: transparent }",
         {"Contrast 3.9:1 of #ff0000 on #ffffff in p.leaf, below 4.5:1"}},
        {"rules the pages do not use", "div.other { color: #fff; background: #fff }", {}},
        {"the high-contrast scheme",
         "html.contrast body { color: #333; background: #000 } html.contrast a.nav { color: #fff; background: #000 } "
         "html.contrast a.nav.disabled { color: #444 }",
         {"Contrast 1.6:1 of #333333 on #000000 in html.contrast body, below 4.5:1",
          "Contrast 2.1:1 of #444444 on #000000 in html.contrast a.nav.disabled, below 4.5:1"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ColourContrast::lowContrasts(StyleSheet::parse(row.sheet)).join(u'\n'), row.found.join(u'\n'));
    }
    // The Template's colours, at the smallest screen's font sizes too.
    for (const double scale : {1.0, 0.4}) {
        StyleSheet sheet = StyleSheet::read(ZEL_SOURCE_DIR "/template/stylesheet.css");
        sheet.setScreenScale(scale, KioskDesign::smallestRootFontSize);
        EXPECT_EQ(ColourContrast::lowContrasts(sheet).join(u'\n'), QString()) << scale;
    }
}

// The findings of the kiosk's own style sheet and layout, once for the kiosk
// system, beside configuration.txt and stylesheet.css.
TEST(KioskCheck, FindsLowContrastSmallTouchTargetsAndTargetsOutOfReach)
{
    const struct {
        const char* name;
        QStringList configuration;
        const char* sheet; // nullptr: the sample's, with the Template's style sheet
        QStringList found;
    } rows[] = {
        {"the sample has none", {}, nullptr, {}},
        {"grey body text",
         {"buttons 8", "screenwidth 1280", "screenheight 1024"},
         "body { color: #999; background: #fff; font-size: 16px }",
         {"S:1: low contrast: Contrast 2.8:1 of #999999 on #ffffff in body, below 4.5:1"}},
        {"many buttons on a low screen",
         {"buttons 24", "screenwidth 640", "screenheight 480"},
         "a.nav { top: 5px; bottom: 5px; left: 6px; right: 6px }",
         {"C:1: small touch target: Navigation buttons are 144 x 9 px, smaller than 44 x 44 px",
          "C:1: small touch target: Selector rows are 39 px high, smaller than 44 px"}},
        {"a small screen in mm",
         {"screenwidth 640", "screenheight 480", "screenheightmm 60"},
         nullptr,
         {"C:1: small touch target: Navigation buttons are 18.0 x 6.1 mm on the screen, smaller than 9 x 9 mm"}},
        {"a tall screen within reach",
         {"screenwidth 1080", "screenheight 1920", "screenheightmm 1210", "mountingheightmm 300"},
         nullptr,
         {}},
        {"a tall screen mounted high",
         {"screenwidth 1080", "screenheight 1920", "screenheightmm 1210", "mountingheightmm 1000"},
         nullptr,
         {"C:1: out of reach: Only 349 px of the screen are within reach (380 to 1220 mm above the floor), too few "
          "for 8 buttons of at least 54 px: some are out of reach"}},
        {"a screen above every hand",
         {"screenwidth 1080", "screenheight 1920", "screenheightmm 1210", "mountingheightmm 1300"},
         nullptr,
         {"C:1: out of reach: The screen shows from 1300 to 2510 mm above the floor, none of it within reach (380 to "
          "1220 mm): no button can be reached"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryKiosk kiosk(row.configuration);
        if (row.sheet) {
            writeTextFile(kiosk.path("root/root.zel"), {"#root", "#title Start"});
            writeTextFile(kiosk.path("stylesheet.css"), {row.sheet});
        } else {
            copySampleKiosk(kiosk.folder());
            writeTextFile(kiosk.path("configuration.txt"),
                          readLines(kiosk.path("configuration.txt")) + row.configuration);
        }
        KioskCheck check(kiosk.openHeadless());
        check.run();
        QStringList found;
        for (const Finding& finding : check.findings())
            if (finding.kind == FindingKind::LowContrast || finding.kind == FindingKind::OutOfReach
                || finding.kind == FindingKind::SmallTouchTarget)
                found << finding.toLine()
                             .replace(kiosk.path("stylesheet.css"), "S")
                             .replace(kiosk.path("configuration.txt"), "C");
        EXPECT_EQ(found.join(u'\n'), row.found.join(u'\n'));
    }
}

// The plural counts are those of Tools > Check Kiosk System (check_window_test).
TEST(Finding, CountLineOfOnePage) { EXPECT_EQ(countLine(1, {}).toStdString(), "Checked 1 page: no findings"); }

} // namespace
