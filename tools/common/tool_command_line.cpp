// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool_command_line.h"

void printText(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

ToolCommandLine::ToolCommandLine(ToolUsage usage)
    : m_usage(std::move(usage)), m_help(QStringList{QStringLiteral("h"), QStringLiteral("help")}),
      m_version(QStringLiteral("version"))
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOptions({m_help, m_version});
}

std::optional<int> ToolCommandLine::read(const QStringList& arguments)
{
    if (!m_parser.parse(arguments))
        return refuse(m_parser.errorText());
    if (m_parser.isSet(m_help)) {
        printText(stdout, QLatin1String(m_usage.usage) + QLatin1String(m_usage.help));
        return kAnswered;
    }
    if (m_parser.isSet(m_version)) {
        printText(stdout, m_usage.program + QStringLiteral(" " ZEL_VERSION "\n"));
        return kAnswered;
    }
    return std::nullopt;
}

int ToolCommandLine::refuse(const QString& reason) const
{
    printText(stderr, m_usage.program + QStringLiteral(": ") + reason + u'\n' + QLatin1String(m_usage.usage)
                          + QStringLiteral("Try '") + m_usage.program
                          + QStringLiteral(" --help' for more information.\n")
                          + (m_usage.blankLineAfterMessages ? QStringLiteral("\n") : QString()));
    return kWrongLine;
}
