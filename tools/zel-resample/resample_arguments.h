// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The request on the command line:
//   zel-resample SOURCE "/resample=(W,H)" "/convert=DEST"
//   zel-resample --help | --version
// W and H are the pixel size of the upright copy. The two switches and the
// options may stand in any order around SOURCE; "--" ends the options, so that
// a SOURCE starting with "-" or "/resample=" can be named after it.
struct ResampleArguments {
    enum class Request { Resample, ShowHelp, ShowVersion };
    Request request = Request::Resample;
    std::string sourcePath;
    std::string destinationPath;
    int width = 0;
    int height = 0;
};

// Largest accepted side and area of the copy; anything above is refused as absurd.
inline constexpr int maximumSide = 20000;
inline constexpr long long maximumArea = 60'000'000;

// Parses the arguments (without the program name). Throws ArgumentError with a
// one-line reason for an unknown option, a missing, repeated or malformed
// switch, a missing or second SOURCE, or a size out of range. --help and
// --version are answered only when the rest of the line is well formed.
ResampleArguments parseResampleArguments(const std::vector<std::string>& arguments);

std::string usageLine();

// What --help prints: usage, options and exit statuses.
std::string helpText();
