// zel-make [OPTION]... KIOSK_FOLDER [PAGE_SOURCE]...
// zel-make --check KIOSK_FOLDER
// Options stand anywhere on the line; "--" ends them. A wrong command line
// prints the reason and the usage on standard error and exits with 2.
#include "make_command.h"

#include "platform/messages.h"
#include "platform/program_session.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <csignal>
#include <cstdio>

namespace {

const char usage[] = "Usage: zel-make [OPTION]... KIOSK_FOLDER [PAGE_SOURCE]...\n"
                     "       zel-make --check KIOSK_FOLDER\n";

const char help[] = "Makes the pages of a kiosk system as Make All Pages does, or only the named\n"
                    "page sources in the order given (each in a page folder of KIOSK_FOLDER).\n"
                    "Messages go to standard error, progress to standard output; every page is\n"
                    "replaced whole. The log is written to logYYYYMMDDhhmmss.txt in KIOSK_FOLDER.\n"
                    "\n"
                    "Options:\n"
                    "      --check    make nothing and write nothing: list the findings of the\n"
                    "                 kiosk check, one a line as PAGE_SOURCE:LINE: KIND: TEXT\n"
                    "  -h, --help     show this help and exit\n"
                    "      --version  show the version and exit\n"
                    "  --             end of options\n"
                    "\n"
                    "Exit status:\n"
                    "  0  nothing was reported (--check: no findings)\n"
                    "  1  at least one message was shown (--check: findings)\n"
                    "  2  a fatal error, a write failure, a missing file or a wrong command line\n";

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// Like every message of zel-make on standard error, ended by an empty line.
int refuse(const QString& reason)
{
    print(stderr, QStringLiteral("zel-make: ") + reason + u'\n' + QLatin1String(usage)
                      + QStringLiteral("Try 'zel-make --help' for more information.\n\n"));
    return MakeCommand::Fatal;
}

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
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption checkOption(QStringLiteral("check"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(QStringLiteral("version"));
    parser.addOptions({checkOption, helpOption, versionOption});
    if (!parser.parse(QCoreApplication::arguments()))
        return refuse(parser.errorText());
    if (parser.isSet(helpOption)) {
        print(stdout, QLatin1String(usage) + QLatin1String(help));
        return MakeCommand::Success;
    }
    if (parser.isSet(versionOption)) {
        print(stdout, QStringLiteral("zel-make " ZEL_VERSION "\n"));
        return MakeCommand::Success;
    }
    const QStringList operands = parser.positionalArguments();
    if (operands.isEmpty())
        return refuse(QStringLiteral("no kiosk folder named"));
    if (parser.isSet(checkOption) && operands.size() != 1)
        return refuse(QStringLiteral("--check takes exactly one kiosk folder"));
    QStringList arguments;
    if (parser.isSet(checkOption))
        arguments.append(QStringLiteral("--check"));
    for (const QString& operand : operands)
        arguments.append(absolute(operand));
    StandardErrorMessageBoxes messages;
    Session session(MakeCommand::services(messages));
    const ProgramSessionInstallation installed(session);
    return MakeCommand::run(session, messages, arguments);
}
