// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line conventions every program follows: --help and --version
// answer with exit status 0, options stand anywhere, "--" ends them, an unknown
// option is refused with the usage and exit status 2; and each manual page
// documents the options its program's --help lists. Every configurable number
// at the ends of its range, through every tool that opens a kiosk system.
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"
#include "support/program_run.h"
#include "support/qt_printing.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QStringList programs = {"zel-editor", "zel-make", "zel-resample", "zel-makecab", "zel-kiosk"};

// The programs whose usage has several lines and a pointer to --help; the
// helpers keep reason and usage on one line, the line the page maker shows.
bool hasLongUsage(const QString& program) { return program == "zel-make" || program == "zel-kiosk"; }

QString programPath(const QString& program) { return QStringLiteral(ZEL_PROGRAM_DIR "/") + program; }

// The editor reads no command line: an argument it does not know (such as a
// page source from a file manager) neither stops --version nor is refused.
TEST(CommandLine, HelpAndVersionAnswerWithStatusZero)
{
    for (const QString& program : programs) {
        QList<QStringList> lines{{"--help"}, {"-h"}, {"--version"}};
        if (hasLongUsage(program) || program == "zel-editor") // "x" a kiosk folder or ignored; the helpers refuse it
            lines.append(QStringList{"--help", "x"});
        if (program == "zel-editor")
            lines.append(QStringList{"--bogus", "page.zel", "--version"});
        for (const QStringList& arguments : lines) {
            SCOPED_TRACE((program + ' ' + arguments.join(' ')).toStdString());
            const ProgramRun run = runProgram(programPath(program), arguments);
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(run.error, "");
            if (arguments.last() == "--version")
                EXPECT_EQ(run.output, program.toUtf8() + " " ZEL_VERSION "\n");
            else
                EXPECT_TRUE(run.output.startsWith("Usage: " + program.toUtf8() + ' ')
                            && run.output.contains("\nExit status:\n  0  "))
                    << run.output.toStdString();
        }
    }
}

// The usage on standard error, the status 2, nothing on standard output.
TEST(CommandLine, WrongCommandLinesAreRefusedWithTheUsage)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        QString program;
        QString arguments; // blanks between them; "~" stands for a folder, "@" for a picture in it
        QString reason;
    } rows[] = {
        {"unknown long option", "zel-make", "--bogus ~", "Unknown option 'bogus'"},
        {"unknown option after the folder", "zel-make", "~ -x", "Unknown option 'x'"},
        {"unknown option before --help", "zel-make", "--bogus --help", "Unknown option 'bogus'"},
        {"no kiosk folder", "zel-make", "", "no kiosk folder named"},
        {"check with a page source", "zel-make", "--check ~ ~", "exactly one kiosk folder"},
        {"check without a folder", "zel-make", "--check", "no kiosk folder named"},
        {"resample: unknown option", "zel-resample", "--bogus @ /resample=(1,1) /convert=b.jpg",
         "unknown option \"--bogus\""},
        {"resample: second source", "zel-resample", "@ @ /resample=(1,1) /convert=b.jpg", "unexpected argument"},
        {"resample: size twice", "zel-resample", "@ /resample=(1,1) /resample=(2,2) /convert=b.jpg",
         "/resample= given twice"},
        {"resample: no destination", "zel-resample", "@ /resample=(1,1)", "/convert=DEST is missing"},
        {"resample: no source", "zel-resample", "/resample=(1,1) /convert=b.jpg", "no SOURCE picture named"},
        {"resample: nothing", "zel-resample", "", "no SOURCE picture named"},
        {"resample: zero width", "zel-resample", "@ /resample=(0,10) /convert=b.jpg",
         "width and height must be at least 1, got 0x10"},
        {"resample: size too large", "zel-resample", "@ /resample=(20000,20000) /convert=b.jpg",
         "size 20000x20000 is too large"},
        {"makecab: unknown option", "zel-makecab", "--bogus /f x.ddf", "unknown option \"--bogus\""},
        {"makecab: /f without a file", "zel-makecab", "/f", "/f needs a directive file"},
        {"makecab: /f twice", "zel-makecab", "/f a.ddf -F b.ddf", "/f given twice"},
        {"makecab: an operand", "zel-makecab", "a.ddf", "unexpected argument \"a.ddf\""},
        {"makecab: unknown switch", "zel-makecab", "/x a.ddf", "unexpected argument \"/x\""},
        {"makecab: nothing", "zel-makecab", "", "expected /f DIRECTIVE_FILE"},
        {"kiosk: unknown option", "zel-kiosk", "--frobnicate ~", "Unknown option 'frobnicate'"},
        {"kiosk: no kiosk folder", "zel-kiosk", "", "no kiosk folder named"},
        {"kiosk: two kiosk folders", "zel-kiosk", "~ ~", "one kiosk folder only"},
        {"kiosk: status with a folder", "zel-kiosk", "--status ~", "--status takes nothing else"},
        {"kiosk: step back with a folder", "zel-kiosk", "--step-back ~", "--step-back takes nothing else"},
        {"kiosk: json without status", "zel-kiosk", "--json --step-back", "--json goes with --status only"},
        {"kiosk: check and follow", "zel-kiosk", "--check --follow ~ ~", "--check and --follow do not go together"},
        {"kiosk: since without check", "zel-kiosk", "--since ~ ~", "--since goes with --check only"},
        {"kiosk: key without origin", "zel-kiosk", "--key x ~", "--key and --no-display go with --origin"},
        {"kiosk: origin and follow", "zel-kiosk", "--origin ~ --follow ~ k", "--origin does not go with --follow"},
        {"kiosk: origin without key", "zel-kiosk", "--origin ~ k", "--origin needs --key PUBLIC_KEY"},
        {"kiosk: key not one", "zel-kiosk", "--origin ~ --key AAAA k", "\"AAAA\" is not a public key"},
        {"kiosk: no kiosk name", "zel-kiosk", "--origin ~ --key AAAA ../k", "\"../k\" is not a kiosk name"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QStringList arguments = row.arguments.split(' ', Qt::SkipEmptyParts);
        arguments.replaceInStrings(QRegularExpression("^~$"), dir.path())
            .replaceInStrings(QRegularExpression("^@$"), dir.filePath("a.jpg"));
        const ProgramRun run = runProgram(programPath(row.program), arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.output, "");
        EXPECT_TRUE(run.error.startsWith(row.program + ": ") && run.error.contains(row.reason))
            << run.error.toStdString();
        if (hasLongUsage(row.program))
            EXPECT_TRUE(run.error.contains("\nUsage: " + row.program + " ")
                        && run.error.contains("\nTry '" + row.program + " --help' for more information.\n"))
                << run.error.toStdString();
        else
            EXPECT_TRUE(run.error.count('\n') == 1 && run.error.contains(" (usage: " + row.program + " "))
                << run.error.toStdString();
    }
}

// After "--" an argument is an operand even when it looks like an option.
TEST(CommandLine, DoubleDashEndsTheOptions)
{
    const MakeRun make = runZelMake({"--", "--check"});
    EXPECT_EQ(make.exitCode, 2);
    EXPECT_TRUE(make.err.contains("/--check/ does NOT exist")) << make.err.toStdString();

    QTemporaryDir dir;
    const QString source = dir.filePath("-photo.jpg"), copy = dir.filePath("copy.jpg");
    ASSERT_TRUE(QFile::copy(ZEL_SOURCE_DIR "/examples/sample/root/town.jpg", source));
    // The switches of the page maker's call in another order, the source last.
    const ProgramRun resample =
        runProgram(programPath("zel-resample"), {"/convert=" + copy, "/resample=(8,6)", "--", source});
    EXPECT_EQ(resample.exitCode, 0) << resample.error.toStdString();
    EXPECT_TRUE(QFile::exists(copy));
}

// Each option --help lists (in its "Options:" lines, the names before two blanks, each up to "=" or a blank)
// stands in the manual page as roff writes it (\-\-help, /resample=), not as a piece of a longer name.
TEST(ManualPages, DocumentTheOptionsEachProgramLists)
{
    for (const QString& program : programs) {
        SCOPED_TRACE(program.toStdString());
        const QString page = QString::fromUtf8(readBytes(ZEL_SOURCE_DIR "/docs/man/" + program + ".1"));
        int listed = 0;
        bool inOptions = false;
        for (const QString& line : QString::fromUtf8(runProgram(programPath(program), {"--help"}).output).split('\n')) {
            if (!line.startsWith(' '))
                inOptions = line == "Options:";
            if (!inOptions || !line.contains(QRegularExpression("^ +[-/]")))
                continue;
            for (const QString& item : line.trimmed().section("  ", 0, 0).split(", ")) {
                const QString name = item.section(QRegularExpression("[= ]"), 0, 0).replace("-", "\\-");
                const QRegularExpression written("(^|[ \"])" + QRegularExpression::escape(name) + "($|[ \"=])",
                                                 QRegularExpression::MultilineOption);
                EXPECT_TRUE(page.contains(written)) << name.toStdString();
                ++listed;
            }
        }
        EXPECT_GE(listed, 3) << "--help lists -h, --help, --version at least";
    }
}

// Every configurable number at the ends of its range and one past each,
// through every command-line tool that opens a kiosk system.
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
    ASSERT_EQ(rows.size(), 16 * 4);
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
