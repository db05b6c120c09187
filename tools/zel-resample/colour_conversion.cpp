// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "colour_conversion.h"

#include <cstring>
#include <lcms2.h>

namespace {

cmsUInt32Number formatOf(ColourConversion::Input input)
{
    switch (input) {
    case ColourConversion::Input::Grey:
        return TYPE_GRAY_8;
    case ColourConversion::Input::Cmyk:
        return TYPE_CMYK_8;
    case ColourConversion::Input::InvertedCmyk:
        return TYPE_CMYK_8_REV;
    case ColourConversion::Input::Rgb:
        break;
    }
    return TYPE_RGB_8;
}

cmsColorSpaceSignature spaceOf(ColourConversion::Input input)
{
    switch (input) {
    case ColourConversion::Input::Grey:
        return cmsSigGrayData;
    case ColourConversion::Input::Cmyk:
    case ColourConversion::Input::InvertedCmyk:
        return cmsSigCmykData;
    case ColourConversion::Input::Rgb:
        break;
    }
    return cmsSigRgbData;
}

// An sRGB profile needs no work; its description names it.
bool isSrgb(cmsHPROFILE profile)
{
    char description[128] = {};
    cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", description, sizeof description);
    return std::strstr(description, "sRGB") != nullptr;
}

} // namespace

ColourConversion::ColourConversion() = default;

ColourConversion::~ColourConversion()
{
    if (m_transform)
        cmsDeleteTransform(static_cast<cmsHTRANSFORM>(m_transform));
}

bool ColourConversion::prepare(const std::vector<std::uint8_t>& bytes, Input input)
{
    if (bytes.empty())
        return false;
    // A damaged profile is not the picture's fault: lcms2 must not print it.
    cmsSetLogErrorHandler(nullptr);
    cmsHPROFILE source = cmsOpenProfileFromMem(bytes.data(), cmsUInt32Number(bytes.size()));
    if (source == nullptr)
        return false;
    if (cmsGetColorSpace(source) != spaceOf(input) || (input == Input::Rgb && isSrgb(source))) {
        cmsCloseProfile(source);
        return false;
    }
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    m_transform = cmsCreateTransform(source, formatOf(input), srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
    cmsCloseProfile(srgb);
    cmsCloseProfile(source);
    return m_transform != nullptr;
}

void ColourConversion::convert(const std::uint8_t* in, std::uint8_t* out, std::size_t width) const
{
    cmsDoTransform(static_cast<cmsHTRANSFORM>(m_transform), in, out, cmsUInt32Number(width));
}
