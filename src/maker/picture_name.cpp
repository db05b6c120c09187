// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "maker/picture_name.h"

#include "base/blanks.h"

PictureNameSplit splitPictureName(const QString& arguments)
{
    if (arguments.startsWith(u'"')) {
        const qsizetype closing = arguments.indexOf(u'"', 1);
        if (closing < 0)
            return {{}, {}, PictureNameEnd::UnmatchedQuote};
        return {arguments.mid(1, closing - 1).toLower(), trimBlanks(arguments.mid(closing + 1)), PictureNameEnd::Quote};
    }
    const qsizetype blank = arguments.indexOf(u' ');
    if (blank < 0)
        return {arguments.toLower(), {}, PictureNameEnd::EndOfText};
    return {arguments.left(blank).toLower(), trimBlanks(arguments.mid(blank + 1)), PictureNameEnd::Blank};
}
