// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// What the command line asks for:
//   zel-makecab /f DIRECTIVE_FILE
//   zel-makecab --help | --version
// The switch is "/f" or "-f" in either case and takes the next argument whole
// as the directive file's path (blanks and a leading "-" included). Options may
// stand in any order; "--" ends them (no argument after it is used).
struct MakecabRequest {
    enum class Kind { WriteCabinets, ShowHelp, ShowVersion };
    Kind kind = Kind::WriteCabinets;
    std::filesystem::path directiveFile;
};

// Throws UsageError with a one-line reason for an unknown option, a missing or
// repeated /f, an empty directive file name or an argument that is no option.
// --help and --version are answered only when the rest of the line is well formed.
MakecabRequest requestFromArguments(const std::vector<std::string>& arguments);

// One line describing how the program is called.
std::string usageText();

// What --help prints: usage, options and exit statuses.
std::string helpText();
