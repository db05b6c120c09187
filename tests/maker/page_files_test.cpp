// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the page sources of tests/maker/pages/<case>/ in a real kiosk folder:
// each case folder is a piece of a kiosk system, holding one page source with
// its three expected page files beside it, the other page sources it refers
// to and its pictures, a text file "WxH" standing for a picture of that size.
// made.txt lists every file the make writes, the page files equal to the
// expected ones byte for byte; messages.txt holds the messages shown in order,
// each ended by a line "----" ("~/" stands for the kiosk folder).
#include "support/recording_problems.h"
#include "maker_test_support.h"

#include "maker/page_maker.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kCases = ZEL_SOURCE_DIR "/tests/maker/pages/";

// A text file as written with CR LF line ends.
QByteArray withCrLf(const QString& path) { return readBytes(path).replace("\r\n", "\n").replace("\n", "\r\n"); }

class PageFiles : public ::testing::TestWithParam<QString> {};

TEST_P(PageFiles, MakesExactlyTheExpectedFilesAndMessages)
{
    const QString caseFolder = kCases + GetParam() + '/';
    TemporaryKiosk kiosk(makerConfiguration());
    SessionProblems problems(kiosk.session.session());
    PageMaker maker(kiosk.openHeadless(), problems);
    const QStringList before = filesUnder(kiosk.folder());
    QStringList given, source;
    for (const QString& file : filesUnder(caseFolder)) {
        if (file.endsWith(".htm") || file.endsWith(".txt"))
            continue;
        given.append(file);
        if (!file.endsWith(".zel", Qt::CaseInsensitive)) {
            const QList<QByteArray> size = readBytes(caseFolder + file).trimmed().split('x');
            makePicture(kiosk.path(file), size.value(0).toInt(), size.value(1).toInt());
            continue;
        }
        writeBytes(kiosk.path(file), withCrLf(caseFolder + file));
        if (QFile::exists(caseFolder + file.chopped(4) + ".htm"))
            source.append(kiosk.path(file));
    }
    ASSERT_EQ(source.size(), 1);

    maker.makeOnePage(source.first());

    QStringList made = filesUnder(kiosk.folder());
    for (const QString& file : before + given)
        made.removeOne(file);
    EXPECT_EQ(made, readLines(caseFolder + "made.txt"));
    for (const QString& file : made.filter(QRegularExpression("\\.htm$")))
        EXPECT_EQ(readBytes(kiosk.path(file)).toStdString(), withCrLf(caseFolder + file).toStdString())
            << file.toStdString();
    QString messages;
    for (const QString& text : kiosk.messages.texts())
        messages += QString(text).replace(kiosk.folder(), "~/") + "\r\n----\r\n";
    EXPECT_EQ(messages.toStdString(), withCrLf(caseFolder + "messages.txt").toStdString());
    EXPECT_EQ(kiosk.session.endCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Pages, PageFiles,
                         ::testing::ValuesIn(QDir(kCases).entryList(QDir::Dirs | QDir::NoDotAndDotDot)),
                         [](const ::testing::TestParamInfo<QString>& info) { return info.param.toStdString(); });

} // namespace
