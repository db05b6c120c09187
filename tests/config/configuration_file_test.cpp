#include "app/core/open_kiosk_system.h"
#include "config/configuration.h"
#include "config/layout.h"
#include "platform/screen_size.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kProblem = QStringLiteral("The System has encountered a problem\r\n");

QString badLine(const QString& description, const QString& line)
{
    return kProblem + QStringLiteral("Error processing configuration file") + kCrLf + description + kCrLf
           + QStringLiteral("The error occurred in the following line") + kCrLf + kCrLf + line;
}

TEST(ConfigurationFile, AcceptedLinesSetTheirItem)
{
    const struct {
        const char* name;
        QByteArray file;
        const char* item;
        const char* value;
    } rows[] = {
        {"name in capitals", "SCREENWIDTH 1024\r\n", "screenwidth", "1024"},
        {"value trimmed", "screenwidth    1024   \r\n", "screenwidth", "1024"},
        {"comment in first column", "'screenwidth 99\r\nbuttons 9\r\n", "screenwidth", "1280"},
        {"blank and empty lines skipped", "\r\n    \r\nbuttons 9\r\n", "buttons", "9"},
        {"later line wins", "buttons 9\r\nbuttons 12\r\n", "buttons", "12"},
        {"negative adjustment", "navigationwidthadjustment -32000", "navigationwidthadjustment", "-32000"},
        {"a run-state item too", "rootfilepath  /elsewhere/root.htm \r\n", "rootFilePath", "/elsewhere/root.htm"},
        {"Windows-1252, LF and CR line ends", "'caf\xe9\nbuttons 11\rscreens 2\n", "screens", "2"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryKiosk kiosk;
        writeBytes(kiosk.path("configuration.txt"), row.file);
        const KioskSystem& system = kiosk.openHeadless();
        EXPECT_TRUE(kiosk.messages.entries().empty()) << kiosk.messages.texts().join("|").toStdString();
        EXPECT_EQ(system.items().find(row.item)->valueText(), row.value);
    }
}

// Each fault is one report that ends the program.
TEST(ConfigurationFile, FaultsEndTheProgramWithOneReport)
{
    const auto onScreen = [](QSize size) {
        return [size](TemporaryKiosk& kiosk) {
            KioskSystem system(kiosk.session.session());
            configuration::openConfiguration(system, kiosk.folder());
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
    const auto fileProblem = [](const QString& problem) {
        return kProblem + "Configuration File - %Fconfiguration.txt " + problem + "\r\nProgram will stop";
    };
    // A message starting with '!' is the report of a bad last line: the rest is its description.
    const struct {
        const char* name;
        QStringList configuration;
        QString message;
        std::function<void(TemporaryKiosk&)> act = [](TemporaryKiosk& kiosk) { kiosk.open(); };
    } rows[] = {
        {"above the range", {"buttons 9", "screens 7"}, "!Configuration value 7 outside permitted range 1 to 6"},
        {"below 16 bits",
         {"navigationheightadjustment -32768"},
         "!Configuration value -32768 outside permitted range -32767 to 32767"},
        {"not a number", {"screenwidth = 1024"}, "!Type mismatch"},
        {"no value", {"screenwidth"}, "!Invalid procedure call or argument"},
        {"comment after a blank", {"  'screenwidth 1024"}, "! is not configurable"},
        {"derived item", {"navigationHeight 10"}, "!navigationheight is not configurable"},
        {"unknown name", {"colour red"}, "!colour is not configurable"},
        {"overflowing layout",
         {"navigationheightadjustment -32767"},
         kProblem + "Runtime error 6 in frmKioskSystem.openKioskSystem(%F)\r\nOverflow"},
        {"missing configuration file", {}, fileProblem("does NOT exist"), replacedFile('-')},
        {"configuration.txt is a folder", {}, fileProblem("is a folder"), replacedFile('d')},
        {"configuration.txt is a FIFO", {}, fileProblem("is not a regular file"), replacedFile('p')},
        {"missing folder",
         {},
         "Fatal Error - Kiosk System Folder - %Fgone/ does NOT exist\r\nProgram will stop",
         [](TemporaryKiosk& kiosk) { (void)openKioskSystemHeadless(kiosk.path("gone")); }},
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
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryKiosk kiosk(row.configuration);
        EXPECT_TRUE(endsProgram([&] { row.act(kiosk); }));
        const QString message = row.message.startsWith(u'!') ? badLine(row.message.mid(1), row.configuration.last())
                                                             : QString(row.message).replace("%F", kiosk.folder());
        // How a report is shown and logged: fatal_report_test.cpp.
        ASSERT_EQ(kiosk.messages.texts(), QStringList{message});
        EXPECT_EQ(kiosk.messages.entries()[0].kind,
                  message.startsWith(kProblem) ? RecordingMessages::Entry::Exclamation : RecordingMessages::Entry::Ok);
    }
}

} // namespace
