#include "command_line.h"

#include "makecab_error.h"

namespace {

bool isDirectiveSwitch(const std::string& argument)
{
    return argument == "/f" || argument == "/F" || argument == "-f" || argument == "-F";
}

} // namespace

std::filesystem::path directiveFileFromArguments(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 2 || !isDirectiveSwitch(arguments[0]))
        throw UsageError("expected exactly: /f DIRECTIVE_FILE");
    if (arguments[1].empty())
        throw UsageError("the directive file name after /f is empty");
    return std::filesystem::path(arguments[1]);
}

std::string usageText() { return "usage: zel-makecab /f DIRECTIVE_FILE"; }
