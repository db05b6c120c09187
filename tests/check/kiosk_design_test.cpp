// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The design numbers the kiosk check draws the pages with are the ones the
// kiosk's script scales them by (the font sizes both read from the Template's
// style sheet).
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
