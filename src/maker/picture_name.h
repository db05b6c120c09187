// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The picture name that #image and #item begin with, and what follows it.
// A name starting with " runs to the next " and may hold blanks; any other
// name ends at the first blank.
enum class PictureNameEnd { Quote, Blank, EndOfText, UnmatchedQuote };

struct PictureNameSplit {
    QString name; // lower case
    QString rest; // blanks trimmed, letter case kept
    PictureNameEnd end = PictureNameEnd::EndOfText;
};

// With UnmatchedQuote, name and rest are empty; with EndOfText the whole text
// is the name.
PictureNameSplit splitPictureName(const QString& arguments);
