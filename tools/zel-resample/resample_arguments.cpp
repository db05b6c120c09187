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
    if (!text.starts_with(resamplePrefix))
        throw ArgumentError("second argument must be /resample=(W,H), got \"" + shown + "\"");
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

} // namespace

ResampleArguments parseResampleArguments(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 3)
        throw ArgumentError("expected 3 arguments, got " + std::to_string(arguments.size()));
    ResampleArguments result;
    result.sourcePath = arguments[0];
    if (result.sourcePath.empty())
        throw ArgumentError("source path is empty");
    parseSize(arguments[1], result);
    const std::string_view convert = arguments[2];
    if (!convert.starts_with(convertPrefix))
        throw ArgumentError("third argument must be /convert=DEST, got \"" + arguments[2] + "\"");
    result.destinationPath = std::string(convert.substr(convertPrefix.size()));
    if (result.destinationPath.empty())
        throw ArgumentError("destination path is empty");
    return result;
}

std::string usageLine() { return "usage: zel-resample SOURCE \"/resample=(W,H)\" \"/convert=DEST\""; }
