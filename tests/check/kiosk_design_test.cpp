// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The design numbers the kiosk check draws the pages with are the ones the
// kiosk's script scales them by, and the design font size comes from the
// Template's style sheet, which both read.
#include "check/style_sheet.h"
#include "config/kiosk_design.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The number a "var name = number;" line of the Template's script gives name; -1 without one.
int scriptNumber(const QString& script, const QString& name)
{
    const QRegularExpression line(QStringLiteral("^var ") + name + QStringLiteral(" = (\\d+);$"),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(script);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

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
    };
    for (const auto& row : rows)
        EXPECT_EQ(scriptNumber(script, QString::fromLatin1(row.name)), row.value) << row.name;
}

TEST(KioskDesign, TheRootFontSizeComesFromTheStyleSheet)
{
    // The script reads it from the sheet too and keeps no number of its own.
    StyleSheet sheet = StyleSheet::read(ZEL_SOURCE_DIR "/template/stylesheet.css");
    sheet.setScreenScale(1.0, KioskDesign::smallestRootFontSize);
    EXPECT_EQ(sheet.pixels(QStringLiteral("html"), QStringLiteral("font-size"), 0), 28);
    sheet.setScreenScale(0.5, KioskDesign::smallestRootFontSize);
    EXPECT_EQ(sheet.pixels(QStringLiteral("body"), QStringLiteral("font-size"), 0), 14);
}
