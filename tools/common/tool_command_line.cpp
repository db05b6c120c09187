#include "tool_command_line.h"

void printText(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

ToolCommandLine::ToolCommandLine(ToolUsage usage)
    : usage_(std::move(usage)), help_(QStringList{QStringLiteral("h"), QStringLiteral("help")}),
      version_(QStringLiteral("version"))
{
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOptions({help_, version_});
}

std::optional<int> ToolCommandLine::read(const QStringList& arguments)
{
    if (!parser_.parse(arguments))
        return refuse(parser_.errorText());
    if (parser_.isSet(help_)) {
        printText(stdout, QLatin1String(usage_.usage) + QLatin1String(usage_.help));
        return kAnswered;
    }
    if (parser_.isSet(version_)) {
        printText(stdout, usage_.program + QStringLiteral(" " ZEL_VERSION "\n"));
        return kAnswered;
    }
    return std::nullopt;
}

int ToolCommandLine::refuse(const QString& reason) const
{
    printText(stderr, usage_.program + QStringLiteral(": ") + reason + u'\n' + QLatin1String(usage_.usage)
                          + QStringLiteral("Try '") + usage_.program
                          + QStringLiteral(" --help' for more information.\n")
                          + (usage_.blankLineAfterMessages ? QStringLiteral("\n") : QString()));
    return kWrongLine;
}
