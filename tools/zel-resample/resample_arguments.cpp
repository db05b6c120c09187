// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "resample_arguments.h"

#include "resample_error.h"

#include <string_view>

namespace {

constexpr std::string_view resamplePrefix = "/resample=(";
constexpr std::string_view convertPrefix = "/convert=";

// Reads a run of decimal digits at text[pos...]; at most 9 digits so the value fits an int.
bool readNumber(std::string_view text, std::size_t& pos, int& value)
{
    const std::size_t begin = pos;
    long long result = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (pos - begin >= 9)
            return false;
        result = result * 10 + (text[pos] - '0');
        ++pos;
    }
    value = static_cast<int>(result);
    return pos > begin;
}

void parseSize(std::string_view text, ResampleArguments& result)
{
    const std::string shown(text);
    std::size_t pos = resamplePrefix.size();
    int width = 0;
    int height = 0;
    if (!readNumber(text, pos, width) || pos >= text.size() || text[pos] != ',')
        throw ArgumentError("bad width in \"" + shown + "\"");
    ++pos;
    if (!readNumber(text, pos, height) || pos + 1 != text.size() || text[pos] != ')')
        throw ArgumentError("bad height in \"" + shown + "\"");
    if (width < 1 || height < 1)
        throw ArgumentError("width and height must be at least 1, got " + std::to_string(width) + "x"
                            + std::to_string(height));
    if (width > maximumSide || height > maximumSide || static_cast<long long>(width) * height > maximumArea)
        throw ArgumentError("size " + std::to_string(width) + "x" + std::to_string(height) + " is too large");
    result.width = width;
    result.height = height;
}

// What each argument before "--" may be besides SOURCE.
struct Seen {
    bool size = false;
    bool convert = false;
    bool help = false;
    bool version = false;
};

// Takes one option; false when the argument is no option (it is then SOURCE).
bool takeOption(const std::string& argument, Seen& seen, ResampleArguments& result)
{
    const std::string_view text = argument;
    if (text == "-h" || text == "--help") {
        seen.help = true;
    } else if (text == "--version") {
        seen.version = true;
    } else if (text.starts_with(resamplePrefix)) {
        if (seen.size)
            throw ArgumentError("/resample= given twice");
        parseSize(text, result);
        seen.size = true;
    } else if (text.starts_with(convertPrefix)) {
        if (seen.convert)
            throw ArgumentError("/convert= given twice");
        result.destinationPath = std::string(text.substr(convertPrefix.size()));
        if (result.destinationPath.empty())
            throw ArgumentError("destination path is empty");
        seen.convert = true;
    } else if (text.size() > 1 && text.front() == '-') {
        throw ArgumentError("unknown option \"" + argument + "\"");
    } else {
        return false;
    }
    return true;
}

} // namespace

ResampleArguments parseResampleArguments(const std::vector<std::string>& arguments)
{
    ResampleArguments result;
    Seen seen;
    bool optionsEnded = false;
    int sources = 0;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && takeOption(argument, seen, result))
            continue;
        if (++sources > 1)
            throw ArgumentError("unexpected argument \"" + argument + "\" after SOURCE");
        result.sourcePath = argument;
    }
    if (seen.help) {
        result.request = ResampleArguments::Request::ShowHelp;
        return result;
    }
    if (seen.version) {
        result.request = ResampleArguments::Request::ShowVersion;
        return result;
    }
    if (sources == 0)
        throw ArgumentError("no SOURCE picture named");
    if (result.sourcePath.empty())
        throw ArgumentError("source path is empty");
    if (!seen.size)
        throw ArgumentError("/resample=(W,H) is missing");
    if (!seen.convert)
        throw ArgumentError("/convert=DEST is missing");
    return result;
}

std::string usageLine() { return "usage: zel-resample SOURCE \"/resample=(W,H)\" \"/convert=DEST\""; }

std::string helpText()
{
    return "Usage: zel-resample [OPTION]... SOURCE \"/resample=(W,H)\" \"/convert=DEST\"\n"
           "Writes an upright W x H baseline JPEG copy (sRGB, no metadata) of the picture\n"
           "SOURCE (JPEG, PNG, GIF, WebP, HEIC, AVIF, TIFF or BMP) to DEST, replacing DEST\n"
           "only when the copy is complete. The page maker calls it for every picture of\n"
           "a page. Transparent parts are laid on ZEL_PICTURE_BACKGROUND (#RRGGBB);\n"
           "ZEL_MAX_PICTURE_PIXELS sets the largest picture decoded (250000000).\n"
           "\n"
           "Options:\n"
           "  /resample=(W,H)  the size of the copy in pixels (1 to 20000 each, at most\n"
           "                   60000000 pixels)\n"
           "  /convert=DEST    the file the copy is written to\n"
           "  -h, --help       show this help and exit\n"
           "      --version    show the version and exit\n"
           "  --               end of options: the next argument is SOURCE\n"
           "\n"
           "Exit status:\n"
           "  0  the copy was written\n"
           "  1  the copy could not be written (DEST's folder missing or full, out of memory)\n"
           "  2  the command line is wrong\n"
           "  3  SOURCE cannot be read (missing, no known picture, damaged, too large)\n"
           "  4  DEST's disk or quota is full\n";
}
