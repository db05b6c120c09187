// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-make [OPTION]... KIOSK_FOLDER [PAGE_SOURCE]...
// zel-make --check [--at DATETIME] KIOSK_FOLDER
// zel-make --publish ORIGIN [--note TEXT] [--keep N] KIOSK_FOLDER
// Options stand anywhere on the line; "--" ends them. A wrong command line
// prints the reason and the usage on standard error and exits with 2.
#include "make_command.h"
#include "publish_command.h"

#include "common/tool_command_line.h"
#include "platform/messages.h"
#include "pages/page_schedule.h"
#include "runtime/error_handler.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <csignal>

namespace {

const char usage[] = "Usage: zel-make [OPTION]... KIOSK_FOLDER [PAGE_SOURCE]...\n"
                     "       zel-make --check [--at DATETIME] KIOSK_FOLDER\n"
                     "       zel-make --publish ORIGIN [--note TEXT] [--keep N] KIOSK_FOLDER\n";

const char help[] = "Makes the pages of a kiosk system as Make All Pages does, or only the named\n"
                    "page sources in the order given (each in a page folder of KIOSK_FOLDER).\n"
                    "Messages go to standard error, progress to standard output; every page is\n"
                    "replaced whole. The log is written to logYYYYMMDDhhmmss.txt in KIOSK_FOLDER.\n"
                    "\n"
                    "Options:\n"
                    "      --check    make nothing and write nothing: list the findings of the\n"
                    "                 kiosk check, one a line as PAGE_SOURCE:LINE: KIND: TEXT\n"
                    "      --at=DATETIME\n"
                    "                 with --check: judge the pages' #show lines as at that\n"
                    "                 moment of local time (\"2026-12-24 15:00\"), not now and\n"
                    "                 from now on\n"
                    "      --problems write each problem to standard output instead of as a\n"
                    "                 message, one a line: PAGE_SOURCE, LINE (0 for none), KIND\n"
                    "                 and TEXT separated by tabs, a backslash, tab, CR or LF in\n"
                    "                 a field written as \\\\, \\t, \\r or \\n, any other control\n"
                    "                 character as \\x and two hex digits; no progress lines.\n"
                    "                 Each PAGE_SOURCE named is also checked as a page being\n"
                    "                 written: the check's 'may not fit' and 'out of date'\n"
                    "                 findings for it (its picture copies) come first\n"
                    "      --publish=ORIGIN\n"
                    "                 make every page and check the kiosk system, then publish\n"
                    "                 it to the origin folder ORIGIN for kiosks to pull (a kiosk\n"
                    "                 system with dead ends is not published): the changed\n"
                    "                 files, and a manifest signed with your key\n"
                    "                 (~/.local/share/zel/publish-key, made on the first publish)\n"
                    "      --note=TEXT\n"
                    "                 with --publish: the author's note of the version\n"
                    "      --keep=N   with --publish: keep the newest N versions (5)\n"
                    "  -h, --help     show this help and exit\n"
                    "      --version  show the version and exit\n"
                    "  --             end of options\n"
                    "\n"
                    "Exit status:\n"
                    "  0  nothing was reported (--check: no findings)\n"
                    "  1  at least one message was shown (--check: findings; --problems: problems)\n"
                    "  2  a fatal error, a write failure, a missing file or a wrong command line\n"
                    "--publish: 0 published, 1 not published (dead ends), 2 as above or a key\n"
                    "or origin that cannot be read or written\n";

// A folder or page source whose name starts with "-" came after "--"; made
// absolute, it cannot be taken for an option further on.
QString absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

} // namespace

int main(int argc, char** argv)
{
    // A reader that stops early (zel-make K | head -1) closes standard output:
    // writing to it then fails with EPIPE instead of ending the make.
    std::signal(SIGPIPE, SIG_IGN);
    // The image tool is found beside the program, which needs the application object.
    QCoreApplication application(argc, argv);
    ToolCommandLine commandLine({QStringLiteral("zel-make"), usage, help, true});
    QCommandLineParser& parser = commandLine.parser();
    const QCommandLineOption checkOption(QStringLiteral("check"));
    const QCommandLineOption problemsOption(QStringLiteral("problems"));
    const QCommandLineOption publishOption(QStringLiteral("publish"), QString(), QStringLiteral("ORIGIN"));
    const QCommandLineOption noteOption(QStringLiteral("note"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption keepOption(QStringLiteral("keep"), QString(), QStringLiteral("N"));
    const QCommandLineOption atOption(QStringLiteral("at"), QString(), QStringLiteral("DATETIME"));
    parser.addOptions({checkOption, problemsOption, publishOption, noteOption, keepOption, atOption});
    if (const std::optional<int> answered = commandLine.read(QCoreApplication::arguments()))
        return *answered;
    const QStringList operands = parser.positionalArguments();
    if (operands.isEmpty())
        return commandLine.refuse(QStringLiteral("no kiosk folder named"));
    if (parser.isSet(checkOption) && operands.size() != 1)
        return commandLine.refuse(QStringLiteral("--check takes exactly one kiosk folder"));
    if (parser.isSet(checkOption) && parser.isSet(problemsOption))
        return commandLine.refuse(QStringLiteral("--check and --problems exclude each other"));
    if (parser.isSet(atOption) && !parser.isSet(checkOption))
        return commandLine.refuse(QStringLiteral("--at goes with --check"));
    if (parser.isSet(atOption) && !PageSchedule::parseMoment(parser.value(atOption)).isValid())
        return commandLine.refuse(QStringLiteral("--at takes a date and time such as \"2026-12-24 15:00\""));
    const bool publishing = parser.isSet(publishOption);
    if ((parser.isSet(noteOption) || parser.isSet(keepOption)) && !publishing)
        return commandLine.refuse(QStringLiteral("--note and --keep go with --publish"));
    bool keepNumber = !parser.isSet(keepOption);
    const int keep =
        parser.isSet(keepOption) ? parser.value(keepOption).toInt(&keepNumber) : PublishCommand::Request().keep;
    if (!keepNumber || keep < 1)
        return commandLine.refuse(QStringLiteral("--keep takes a number of versions of at least 1"));
    if (publishing && operands.size() != 1)
        return commandLine.refuse(QStringLiteral("--publish takes exactly one kiosk folder"));
    if (publishing && (parser.isSet(checkOption) || parser.isSet(problemsOption)))
        return commandLine.refuse(QStringLiteral("--publish excludes --check and --problems"));
    QStringList arguments;
    if (parser.isSet(checkOption))
        arguments.append(QStringLiteral("--check"));
    if (parser.isSet(problemsOption))
        arguments.append(QStringLiteral("--problems"));
    for (const QString& operand : operands)
        arguments.append(absolute(operand));
    if (parser.isSet(atOption))
        arguments.append(QStringLiteral("--at=") + parser.value(atOption));
    StandardErrorMessageBoxes messages;
    Session session(MakeCommand::services(messages));
    // A failure no procedure of the make or the check caught is still a
    // report on standard error and exit status 2, never an abort.
    if (publishing) {
        const PublishCommand::Request request{absolute(parser.value(publishOption)), absolute(operands.first()),
                                              parser.value(noteOption), keep};
        return runCommand(session, QStringLiteral("zel-make"), QStringLiteral("main"),
                          [&] { return PublishCommand::run(session, messages, request); });
    }
    return runCommand(session, QStringLiteral("zel-make"), QStringLiteral("main"),
                      [&] { return MakeCommand::run(session, messages, arguments); });
}
