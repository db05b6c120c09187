#include "platform/text_files.h"
#include "runtime/error_handler.h"
#include "runtime/log_file.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(FatalReport, ShowsLogsClosesWindowsThenEndsOnce)
{
    QStringList events;
    int logHandle = 0;
    TemporaryKiosk kiosk({}, {.closeAllWindows = [&] {
                             events.append(QStringLiteral("unload, log open: %1").arg(TextFiles::isOpen(logHandle)));
                         }});
    logHandle = kiosk.openHeadless().integerValue(QStringLiteral("logFileNumber"));

    EXPECT_TRUE(endsProgram([] {
        reportRuntimeError(QStringLiteral("frmKioskSystem"), QStringLiteral("Form_Load"), RuntimeError(6, "Overflow"));
    }));

    ASSERT_EQ(kiosk.messages.texts(), QStringList{QStringLiteral("The System has encountered a problem\r\n"
                                                                 "Runtime error 6 in frmKioskSystem.Form_Load\r\n"
                                                                 "Overflow")});
    EXPECT_EQ(kiosk.messages.entries()[0].kind, RecordingMessages::Entry::Exclamation);
    EXPECT_EQ(events, QStringList{QStringLiteral("unload, log open: 1")});
    EXPECT_EQ(kiosk.logLines().mid(kiosk.logLines().size() - 3),
              (QStringList{"Runtime error 6 in frmKioskSystem.Form_Load", "Overflow", "log file closed"}));
    EXPECT_FALSE(TextFiles::isOpen(logHandle));
    EXPECT_EQ(kiosk.session.endCount(), 1);
    EXPECT_TRUE(fatalReportInProgress());
}

TEST(FatalReport, SecondFailureWhileClosingWindowsEndsAtOnce)
{
    TemporaryKiosk kiosk({}, {.closeAllWindows = [] { fatalError(QStringLiteral("editor failed while closing")); }});
    kiosk.openHeadless();

    EXPECT_TRUE(endsProgram([] { fatalError(QStringLiteral("first")); }));

    EXPECT_EQ(kiosk.messages.entries().size(), 1u);
    EXPECT_EQ(kiosk.session.endCount(), 1);
    const QStringList log = kiosk.logLines();
    EXPECT_EQ(log.last(), QStringLiteral("first")); // no closing line: the second failure ended it at once
}

TEST(LogFile, NameIsTheLocalTimeWithoutSeparators)
{
    EXPECT_EQ(logFileName(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))), QStringLiteral("log20260102030405.txt"));
}

TEST(LogFile, MessagesWithLineBreaksBecomeSeveralLinesAndNothingIsWrittenWithoutALog)
{
    TemporaryKiosk kiosk;
    logMessage(QStringLiteral("nowhere")); // no log yet: silently ignored
    kiosk.openHeadless();
    logMessage(QStringLiteral("webBrowser_BeforeNavigate2(0) a\r\nsecond"));
    closeLogFile();
    logMessage(QStringLiteral("after close"));
    const QStringList log = kiosk.logLines();
    EXPECT_EQ(log.mid(log.size() - 3), (QStringList{"webBrowser_BeforeNavigate2(0) a", "second", "log file closed"}));
    EXPECT_FALSE(log.contains(QStringLiteral("nowhere")));
}

// A log name already in use, also by a link, gets a suffix; nothing is written through the link.
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
    openLogFile(kiosk.folder());
    logMessage(QStringLiteral("hello"));
    closeLogFile();
    EXPECT_EQ(readBytes(kiosk.path(QStringLiteral("outside.txt"))), "precious");
    const QStringList made = QDir(kiosk.folder()).entryList({QStringLiteral("log*_3.txt")});
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(readBytes(kiosk.path(made.first())), "hello\r\nlog file closed\r\n");
}

TEST(LogFile, UnwritableFolderIsReportedAsOpenLogFile)
{
    TemporaryKiosk kiosk;
    EXPECT_TRUE(endsProgram([&] { openLogFile(kiosk.path(QStringLiteral("missing/"))); }));
    EXPECT_TRUE(
        kiosk.messages.texts().value(0).startsWith(QStringLiteral("The System has encountered a problem\r\n"
                                                                  "Runtime error 76 in configuration.openLogFile\r\n"
                                                                  "Path not found: ")
                                                   + kiosk.path(QStringLiteral("missing/log"))));
    EXPECT_TRUE(kiosk.messages.texts().value(0).endsWith(QStringLiteral(".txt (No such file or directory)")));
}

} // namespace
