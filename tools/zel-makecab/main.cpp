// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-makecab /f DIRECTIVE_FILE   (or --help, --version)
// Writes the cabinets a directive file describes: cabinet 1 of the name
// template, and 2, 3, ... when the files exceed what one cabinet can hold.
// Exit status 0 only when every cabinet was written completely; otherwise one
// line on stderr naming the file and the reason, status 1 (2 for an unusable
// command line, with the usage on the same line), and the older cabinets stay
// as they were.
#include "cabinet_writer.h"
#include "command_line.h"
#include "directive_file.h"
#include "makecab_error.h"

#include <iostream>

int main(int argc, char** argv)
{
    try {
        const MakecabRequest request = requestFromArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (request.kind == MakecabRequest::Kind::ShowHelp)
            std::cout << helpText();
        else if (request.kind == MakecabRequest::Kind::ShowVersion)
            std::cout << "zel-makecab " ZEL_VERSION "\n";
        else
            writeCabinets(readDirectiveFile(request.directiveFile));
        return 0;
    } catch (const UsageError& error) {
        std::cerr << "zel-makecab: " << error.what() << " (" << usageText() << ")\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "zel-makecab: " << error.what() << '\n';
        return 1;
    }
}
