#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Reads the argument list "/f DIRECTIVE_FILE" (switch case-insensitive, "-f"
// accepted too) and returns the directive file's path. The path is one argument
// and may contain blanks. Throws UsageError for anything else.
std::filesystem::path directiveFileFromArguments(const std::vector<std::string>& arguments);

// One line describing how the program is called.
std::string usageText();
