// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/template_folder.h"
#include "support/test_session.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A program folder laid out as in a build (Template beside the programs) or as
// installed (programs in lib/zel, the Template folder in share/zel).
TEST(TemplateFolder, BesideTheProgramInABuildInTheDataFolderWhenInstalled)
{
    const struct {
        const char* name;
        QStringList folders; // made under a fresh prefix
        QString expected;    // relative to the prefix
    } rows[] = {
        {"build: beside the program", {"bin/Template"}, "bin/Template"},
        {"installed: the data folder", {"lib/zel", "share/zel/Template"}, "share/zel/Template"},
        {"both: the one beside wins", {"lib/zel/Template", "share/zel/Template"}, "lib/zel/Template"},
        {"neither: named beside the program", {"lib/zel"}, "lib/zel/Template"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir prefix;
        for (const QString& folder : row.folders)
            ASSERT_TRUE(QDir(prefix.path()).mkpath(folder));
        const QString programs = prefix.filePath(row.folders.first().startsWith("bin") ? "bin/" : "lib/zel/");
        TestSession session({.programFolder = programs});
        EXPECT_EQ(templateFolder(session.session()).toStdString(),
                  QDir::toNativeSeparators(prefix.filePath(row.expected)).toStdString());
    }
}

} // namespace
