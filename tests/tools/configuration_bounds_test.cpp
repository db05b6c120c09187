// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every configurable number at the ends of its range and one past each,
// through every command-line tool that opens a kiosk system.
#include "support/kiosk_fixture.h"
#include "support/program_run.h"

#include <gtest/gtest.h>

namespace {

struct Bound {
    QString item;
    int value;
    bool refused;
};

// The configurable numbers (those after the run-state items, before the derived layout) at minimum - 1, minimum,
// maximum and maximum + 1; a value in the range is refused where the layout cannot hold it with the other
// items at their defaults.
std::vector<Bound> bounds()
{
    const QStringList layoutRefuses = {"screenheight 32767", "navigationheightadjustment -32767",
                                       "navigationheightadjustment 32767", "navigationwidthadjustment -32767",
                                       "minimumhorizontalspace 32767"};
    TemporaryKiosk kiosk;
    std::vector<Bound> bounds;
    bool configurable = false;
    for (const auto& stored : kiosk.openHeadless().items().items()) {
        if (stored->name() == "navigationHeight")
            break;
        const auto* item = dynamic_cast<const IntegerConfigurationItem*>(stored.get());
        if (item && configurable)
            for (int value : {item->minimum() - 1, int(item->minimum()), int(item->maximum()), item->maximum() + 1})
                bounds.push_back({item->name(), value,
                                  value < item->minimum() || value > item->maximum()
                                      || layoutRefuses.contains(item->name() + ' ' + QString::number(value))});
        configurable = configurable || stored->name() == "rootFilePath";
    }
    return bounds;
}

// No tool aborts: a value refused is the configuration report naming the item, with the tool's failure status
// (zel-make 2, zel-kiosk 1); a value accepted opens the kiosk system and its pages are checked and made.
TEST(ConfigurationBounds, NoToolAbortsAndEachRefusalNamesTheItem)
{
    const std::vector<Bound> rows = bounds();
    ASSERT_EQ(rows.size(), 14 * 4);
    const QString make = QStringLiteral(ZEL_PROGRAM_DIR "/zel-make"), kioskTool = ZEL_PROGRAM_DIR "/zel-kiosk";
    for (const Bound& row : rows) {
        const QString setting = row.item + ' ' + QString::number(row.value);
        TemporaryKiosk kiosk({setting});
        // A selector row, a navigation bar and a picture on each page type (the pictures missing, so that
        // nothing is resampled to a 30,000-pixel screen).
        writeTextFile(kiosk.path("root/root.zel"), {"#root", "#image a.jpg", "#button a\\list List"});
        writeTextFile(kiosk.path("a/list.zel"), {"#selector", "#item b.jpg a\\text Text"});
        writeTextFile(kiosk.path("a/text.zel"), {"#leaf", "#para", "Hello", "#image c.jpg left 50%"});
        const struct {
            QString program;
            QStringList arguments;
            int refusedStatus;
        } tools[] = {
            {make, {"--check", kiosk.folder()}, 2},
            {kioskTool, {"--check", kiosk.folder()}, 1},
            {make, {"--problems", kiosk.folder(), kiosk.path("a/list.zel")}, 2},
            {make, {kiosk.folder()}, 2},
        };
        for (const auto& tool : tools) {
            SCOPED_TRACE((setting + ": " + tool.program.section('/', -1) + ' ' + tool.arguments.first()).toStdString());
            const ProgramRun run = runProgram(tool.program, tool.arguments);
            ASSERT_NE(run.exitCode, -1) << run.error.toStdString();
            EXPECT_FALSE(run.error.contains("Runtime error")) << run.error.toStdString();
            const bool reported = run.error.contains("Error processing configuration file");
            EXPECT_EQ(reported, row.refused) << run.error.toStdString();
            if (row.refused) {
                EXPECT_EQ(run.exitCode, tool.refusedStatus);
                EXPECT_TRUE(run.error.contains(row.item)) << run.error.toStdString();
            } else {
                EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode;
            }
        }
    }
}

} // namespace
