// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Findings written as records and read back, as the preview reads zel-make's.
#include "check/finding.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

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

} // namespace
