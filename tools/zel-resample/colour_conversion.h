// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Turns pixel rows described by an embedded ICC profile (Display P3 from
// phones, Adobe RGB from cameras, a printer's CMYK) into sRGB, as browsers
// show pictures without a profile. Without a profile, or with one lcms2
// cannot use, rows pass unchanged (CMYK by the plain ink formula).
class ColourConversion {
public:
    enum class Input { Rgb, Grey, Cmyk, InvertedCmyk };

    ColourConversion();
    ~ColourConversion();
    ColourConversion(const ColourConversion&) = delete;
    ColourConversion& operator=(const ColourConversion&) = delete;

    // Prepares the conversion for rows of input described by profile; false
    // (and rows stay as they are) when there is nothing to convert: no
    // profile, an sRGB one, a damaged one, or one of another colour space.
    bool prepare(const std::vector<std::uint8_t>& profile, Input input);
    bool active() const { return m_transform != nullptr; }
    // Converts width pixels of input (3, 1 or 4 samples each) into out (3 each).
    void convert(const std::uint8_t* in, std::uint8_t* out, std::size_t width) const;

private:
    void* m_transform = nullptr;
};
