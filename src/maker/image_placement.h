// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

class PageOutput;

// A picture as placed on a page: the size it is shown at and the link to its
// copy ("images\" + page name + five-digit number + ".jpg").
struct PlacedPicture {
    std::int32_t height = 0;
    std::int32_t width = 0;
    QString fileName;
};

// The pictures of one page: each is copied, scaled, into the page folder's
// "images" sub-folder, numbered in the order placed, and that copy is linked.
class ImagePlacement {
public:
    explicit ImagePlacement(PageOutput& page) : m_page(page) {}

    // Places the picture fileName (relative to the page folder) scaled to fit
    // requiredHeight by requiredWidth (0: not bounded; with noScaleUp never
    // larger than the picture). A missing or unusable picture is reported as
    // a faulty line and placed at the required size (100 where none is given).
    PlacedPicture place(const QString& fileName, std::int32_t requiredHeight, std::int32_t requiredWidth,
                        bool noScaleUp);

private:
    void placePicture(const QString& fileName, std::int32_t requiredHeight, std::int32_t requiredWidth, bool noScaleUp,
                      PlacedPicture& placed);
    // The picture file named by fileName relative to the page folder ("\" or
    // "/" between parts, each part matched ignoring letter case); "" when there is none.
    QString findPicture(const QString& fileName) const;

    PageOutput& m_page;
    std::int16_t m_imageCounter = 1;
};
