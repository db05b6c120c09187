// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "maker_test_support.h"

#include "support/folder_state.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

QStringList makerConfiguration() { return {"screenheight 706"}; }

void makePicture(const QString& path, int width, int height)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QProcess convert;
    convert.start("convert", {"-size", QString("%1x%2").arg(width).arg(height), "xc:steelblue", path});
    ASSERT_TRUE(convert.waitForFinished(60000)) << "convert did not finish";
    ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
}

QStringList filesUnder(const QString& folder)
{
    QStringList names;
    for (const auto& [name, state] : folderState(folder))
        if (state.starts_with("file"))
            names.append(QString::fromStdString(name));
    return names;
}
