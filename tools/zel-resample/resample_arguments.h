#pragma once

#include <string>
#include <vector>

// The request on the command line:
//   zel-resample SOURCE "/resample=(W,H)" "/convert=DEST"
// W and H are the pixel size of the upright copy.
struct ResampleArguments {
    std::string sourcePath;
    std::string destinationPath;
    int width = 0;
    int height = 0;
};

// Largest accepted side and area of the copy; anything above is refused as absurd.
inline constexpr int maximumSide = 20000;
inline constexpr long long maximumArea = 60'000'000;

// Parses the three arguments (without the program name). Throws ArgumentError
// with a one-line reason when the count, a switch or a size is wrong.
ResampleArguments parseResampleArguments(const std::vector<std::string>& arguments);

std::string usageLine();
