// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include "makecab_error.h"

#include <optional>

namespace {

bool isDirectiveSwitch(const std::string& argument)
{
    return argument == "/f" || argument == "/F" || argument == "-f" || argument == "-F";
}

} // namespace

MakecabRequest requestFromArguments(const std::vector<std::string>& arguments)
{
    bool help = false;
    bool version = false;
    std::optional<std::string> directiveFile;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            if (i + 1 < arguments.size())
                throw UsageError("unexpected argument \"" + arguments[i + 1] + "\"");
            break;
        }
        if (argument == "-h" || argument == "--help") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (isDirectiveSwitch(argument)) {
            if (directiveFile)
                throw UsageError("/f given twice");
            if (i + 1 == arguments.size())
                throw UsageError("/f needs a directive file");
            directiveFile = arguments[++i];
            if (directiveFile->empty())
                throw UsageError("the directive file name after /f is empty");
        } else if (argument.size() > 1 && argument.front() == '-') {
            throw UsageError("unknown option \"" + argument + "\"");
        } else {
            throw UsageError("unexpected argument \"" + argument + "\"");
        }
    }
    if (help)
        return {MakecabRequest::Kind::ShowHelp, {}};
    if (version)
        return {MakecabRequest::Kind::ShowVersion, {}};
    if (!directiveFile)
        throw UsageError("expected /f DIRECTIVE_FILE");
    return {MakecabRequest::Kind::WriteCabinets, std::filesystem::path(*directiveFile)};
}

std::string usageText() { return "usage: zel-makecab /f DIRECTIVE_FILE"; }

std::string helpText()
{
    return "Usage: zel-makecab [OPTION]... /f DIRECTIVE_FILE\n"
           "Writes the Microsoft cabinet files (MSZIP or stored) that DIRECTIVE_FILE\n"
           "describes: cabinet 1 of its CabinetNameTemplate, and 2, 3, ... when the files\n"
           "exceed what one cabinet holds. A cabinet is replaced only when it is complete.\n"
           "The export of a page folder calls it.\n"
           "\n"
           "Options:\n"
           "  /f, -f DIRECTIVE_FILE  the directive file (makecab.ddf form)\n"
           "  -h, --help             show this help and exit\n"
           "      --version          show the version and exit\n"
           "  --                     end of options\n"
           "\n"
           "Exit status:\n"
           "  0  every cabinet was written completely\n"
           "  1  a cabinet could not be written (the older cabinets stay as they were)\n"
           "  2  the command line is wrong\n";
}
