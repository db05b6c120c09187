// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/screen_size.h"
#include "config/configuration.h"
#include "config/layout.h"
#include "platform/problem.h"
#include "support/kiosk_fixture.h"
#include "system/open_kiosk_system.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace {

const QString kProblem = QStringLiteral("The System has encountered a problem\r\n");

// Configuration files: accepted.txt gives every accepted form of a line; its
// "'= item value" comments name what it sets. Each refused_*.txt has its
// refused line last and, in its first line, the description of the report.
const QString kFiles = QStringLiteral(ZEL_SOURCE_DIR "/tests/config/configurations/");

TEST(ConfigurationFile, AcceptedLinesSetTheirItems)
{
    TemporaryKiosk kiosk;
    writeBytes(kiosk.path("configuration.txt"), readBytes(kFiles + "accepted.txt"));
    const KioskSystem& system = kiosk.openHeadless();
    EXPECT_EQ(kiosk.messages.texts(), QStringList());
    for (const QString& expected : readLines(kFiles + "accepted.txt").filter(QRegularExpression("^'= ")))
        EXPECT_EQ(system.items().find(expected.split(' ')[1])->valueText(), expected.split(' ')[2])
            << expected.toStdString();
}

// Each fault is one report that ends the program.
TEST(ConfigurationFile, FaultsEndTheProgramWithOneReport)
{
    const auto onScreen = [](QSize size) {
        return [size](TemporaryKiosk& kiosk) {
            KioskSystem system(kiosk.session.session());
            ProblemBoxes problems(kiosk.session.messages);
            configuration::openConfiguration(system, kiosk.folder(), problems);
            const FixedScreenSize screen(size);
            deriveLayout(system, &screen);
        };
    };
    // Opens with configuration.txt missing ('-'), a folder ('d') or a FIFO ('p'); the report of that.
    const auto replacedFile = [](char type) {
        return [type](TemporaryKiosk& kiosk) {
            const QString path = kiosk.path("configuration.txt");
            QFile::remove(path);
            EXPECT_TRUE(type == 'd' ? QDir().mkdir(path) : type != 'p' || ::mkfifo(qPrintable(path), 0600) == 0);
            kiosk.open();
        };
    };
    const auto layoutProblem = [](const QString& line, int number, const QString& limit) {
        return kProblem + "Error processing configuration file\r\n" + line
               + QString(" (line %1 of configuration.txt) is outside what the layout can hold: ").arg(number) + limit
               + "\r\nThe error occurred in the following line\r\n\r\n" + line;
    };
    const auto fileProblem = [](const QString& problem) {
        return kProblem + "Configuration File - %Fconfiguration.txt " + problem + "\r\nProgram will stop";
    };
    // %F in a message stands for the kiosk folder.
    struct Row {
        std::string name;
        QStringList configuration;
        QString message;
        std::function<void(TemporaryKiosk&)> act = [](TemporaryKiosk& kiosk) { kiosk.open(); };
    };
    std::vector<Row> rows = {
        // Values the layout cannot hold name the item set last of those the value comes from, and its line.
        {"navigation height beyond 16 bits",
         {"navigationheightadjustment -32767"},
         layoutProblem("navigationheightadjustment -32767", 1,
                       "the navigation height, screenheight 1024 - navigationheightadjustment -32767, is 33791 and "
                       "must lie between -16377 and 16383")},
        {"a selector row twice the navigation height: on a screen that tall",
         {"screenheight 16390"},
         layoutProblem("screenheight 16390", 1,
                       "the navigation height, screenheight 16390 - navigationheightadjustment 6, is 16384 and must "
                       "lie between -16377 and 16383"),
         [](TemporaryKiosk& kiosk) { kiosk.open(QSize(1280, 16390)); }},
        {"a picture's margins wider than a leaf page's content",
         {"scrollbarwidth 32767", "' margins", "minimumhorizontalspace 16383"},
         layoutProblem("minimumhorizontalspace 16383", 3,
                       "the leaf widest picture, screenwidth 1280 - (leafnavigationpercentage 12 * screenwidth 1280 / "
                       "100) - 4 - scrollbarwidth 32767 - 2 * minimumhorizontalspace 16383, is -64410 and must lie "
                       "between -32768 and 32767")},
        {"missing configuration file", {}, fileProblem("does NOT exist"), replacedFile('-')},
        {"configuration.txt is a folder", {}, fileProblem("is a folder"), replacedFile('d')},
        {"configuration.txt is a FIFO", {}, fileProblem("is not a regular file"), replacedFile('p')},
        {"missing folder",
         {},
         "Fatal Error - Kiosk System Folder - %Fgone/ does NOT exist\r\nProgram will stop",
         [](TemporaryKiosk& kiosk) { (void)openKioskSystemHeadless(kiosk.session.session(), kiosk.path("gone")); }},
        {"duplicate item",
         {},
         kProblem
             + "Error No. 457 in configuration.addInteger when adding BUTTONS\r\n"
               "This key is already associated with an element of this collection",
         [](TemporaryKiosk& kiosk) { kiosk.open().addInteger("BUTTONS", 1, 0, 2); }},
        {"screen height differs",
         {},
         kProblem
             + "Configuration File\r\nSpecified screen height = 1024\r\nActual screen height = 768\r\nProgram will stop",
         onScreen(QSize(1280, 768))},
        {"width of all screens differs",
         {"screens 2", "screenwidth 640", "screenheight 768"},
         kProblem
             + "Configuration File\r\nSpecified screen width = 640\r\nNumber of screens = 2\r\n"
               "Requires total screen width = 1280 Total screen width = 1024\r\nProgram will stop",
         onScreen(QSize(1024, 768))}};
    for (const QString& name : QDir(kFiles).entryList({"refused_*.txt"})) {
        const QStringList lines = readLines(kFiles + name);
        rows.push_back({name.toStdString(), lines,
                        kProblem + "Error processing configuration file\r\n" + lines.first().mid(1)
                            + "\r\nThe error occurred in the following line\r\n\r\n" + lines.last()});
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryKiosk kiosk(row.configuration);
        EXPECT_TRUE(endsProgram([&] { row.act(kiosk); }));
        const QString message = QString(row.message).replace("%F", kiosk.folder());
        // How a report is shown and logged: fatal_report_test.cpp.
        ASSERT_EQ(kiosk.messages.texts(), QStringList{message});
        EXPECT_EQ(kiosk.messages.entries()[0].kind,
                  message.startsWith(kProblem) ? RecordingMessages::Entry::Exclamation : RecordingMessages::Entry::Ok);
    }
}

// The open reports through the session it is handed: a refused line opened in another session shows its report
// there and ends that session's run; the kiosk's own session sees nothing.
TEST(ConfigurationFile, TheReportGoesToTheSessionHandedIn)
{
    TemporaryKiosk kiosk({"screens 9"});
    TestSession other;
    EXPECT_TRUE(endsProgram([&] { (void)openKioskSystemHeadless(other.session(), kiosk.folder(), false); }));
    EXPECT_EQ(other.endCount(), 1);
    ASSERT_EQ(other.messages.texts().size(), 1);
    EXPECT_TRUE(other.messages.texts().first().startsWith(kProblem + "Error processing configuration file"));
    EXPECT_EQ(kiosk.messages.texts(), QStringList());
    EXPECT_EQ(kiosk.session.endCount(), 0);
}

} // namespace
