// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/session.h"
#include "text/text_files.h"
#include "runtime/error_handler.h"
#include "runtime/log_file.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(FatalReport, ShowsLogsClosesWindowsThenEndsOnce)
{
    QStringList events;
    int logHandle = 0;
    TemporaryKiosk kiosk(
        {}, {.closeAllWindows = [&] {
            events.append(
                QStringLiteral("unload, log open: %1").arg(kiosk.session.session().textFiles().isOpen(logHandle)));
        }});
    logMessage(kiosk.session.session(), "nowhere"); // no log yet: silently ignored
    logHandle = kiosk.openHeadless().integerValue(QStringLiteral("logFileNumber"));

    EXPECT_TRUE(endsProgram([&] {
        reportRuntimeError(kiosk.session.session(), QStringLiteral("frmKioskSystem"), QStringLiteral("Form_Load"),
                           RuntimeError(6, "Overflow"));
    }));
    logMessage(kiosk.session.session(), "after close");

    ASSERT_EQ(
        kiosk.messages.texts(),
        QStringList{"The System has encountered a problem\r\nRuntime error 6 in frmKioskSystem.Form_Load\r\nOverflow"});
    EXPECT_EQ(events, QStringList{QStringLiteral("unload, log open: 1")});
    // The message's line break gives two lines of the log.
    const QStringList log = kiosk.logLines();
    EXPECT_EQ(log.mid(log.size() - 3),
              (QStringList{"Runtime error 6 in frmKioskSystem.Form_Load", "Overflow", "log file closed"}));
    EXPECT_EQ(kiosk.session.endCount(), 1);
}

TEST(FatalReport, SecondFailureWhileClosingWindowsEndsAtOnce)
{
    Session* session = nullptr;
    TemporaryKiosk kiosk(
        {}, {.closeAllWindows = [&] { reportFatalProblem(*session, QStringLiteral("editor failed while closing")); }});
    session = &kiosk.session.session();
    kiosk.openHeadless();

    EXPECT_TRUE(endsProgram([&] { reportFatalProblem(*session, QStringLiteral("first")); }));

    EXPECT_EQ(kiosk.messages.entries().size(), 1u);
    EXPECT_EQ(kiosk.session.endCount(), 1);
    EXPECT_EQ(kiosk.logLines().last(), "first"); // no closing line: the second failure ended it at once
}

// A log is named by the local time without separators; a name already in use,
// also by a link, gets a suffix; nothing is written through the link.
TEST(LogFile, NamesInUseGetASuffixAndLinksAreNotFollowed)
{
    TemporaryKiosk kiosk;
    writeBytes(kiosk.path(QStringLiteral("outside.txt")), "precious");
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = 0; second < 3; ++second) {
        const QString name = kiosk.path(logFileName(now.addSecs(second)));
        ASSERT_TRUE(QFile::link(kiosk.path(QStringLiteral("outside.txt")), name));
        writeBytes(QString(name).replace(QStringLiteral(".txt"), QStringLiteral("_2.txt")), "earlier log");
    }
    openLogFile(kiosk.session.session(), kiosk.folder());
    logMessage(kiosk.session.session(), QStringLiteral("hello"));
    closeLogFile(kiosk.session.session());
    EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("outside.txt"))), "precious");
    EXPECT_EQ(logFileName(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))), "log20260102030405.txt");
    const QStringList made = QDir(kiosk.folder()).entryList({QStringLiteral("log*_3.txt")});
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(readBytes(kiosk.path(made.first())), "hello\r\nlog file closed\r\n");
}

TEST(LogFile, UnwritableFolderIsReportedAsOpenLogFile)
{
    TemporaryKiosk kiosk;
    EXPECT_TRUE(endsProgram([&] { openLogFile(kiosk.session.session(), kiosk.path("missing/")); }));
    const QString text = kiosk.messages.texts().value(0).replace(QRegularExpression("log\\d{14}"), "log~");
    EXPECT_EQ(text, "The System has encountered a problem\r\nRuntime error 76 in configuration.openLogFile\r\n"
                    "Path not found: "
                        + kiosk.path("missing/log~.txt") + " (No such file or directory)");
}

} // namespace
