// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>
#include <utility>

// Writes text to a standard stream in the local encoding, at once.
void printText(std::FILE* stream, const QString& text);

// What a command-line tool says about its own command line: its name, the
// usage lines ("Usage: NAME ...\n", one a line) and the help that follows
// them for --help.
struct ToolUsage {
    QString program;
    const char* usage;
    const char* help;
    // True when every message of the tool on standard error ends with an empty line.
    bool blankLineAfterMessages = false;
};

// The command line the tools share: options anywhere on the line, "--" ends
// them, -h/--help and --version answered alike, and a wrong line refused
// with the reason and the usage on standard error (exit status 2).
class ToolCommandLine {
public:
    static constexpr int kAnswered = 0;
    static constexpr int kWrongLine = 2;

    explicit ToolCommandLine(ToolUsage usage);

    // The tool adds its own options here before read().
    QCommandLineParser& parser() { return m_parser; }

    // Reads the arguments (the program's name first). Answers --help and
    // --version on standard output or refuses a wrong line, and then gives
    // the exit status; nothing when the tool goes on.
    std::optional<int> read(const QStringList& arguments);

    // Refuses the command line for the reason given; the exit status.
    int refuse(const QString& reason) const;

private:
    ToolUsage m_usage;
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
};
