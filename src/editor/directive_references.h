// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/page_types.h"

#include <QString>
#include <QStringList>

// What a directive line names at a place in it, for completion and for
// going to what a line refers to: `#button PAGE text`, `#image PICTURE ...`,
// `#item PICTURE PAGE text`. Arguments are separated by blanks; a picture
// name with blanks stands in double quotes, as the insert dialog writes it.
namespace DirectiveReferences {

enum class Kind { None, Directive, PageReference, Picture };

// The part of a line a place falls in: its kind, where it starts in the
// line, and its text (a picture without its quotes).
struct Part {
    Kind kind = Kind::None;
    int start = 0;
    int length = 0;
    QString text;
};

// What is being typed when the caret stands at position of line (the text up
// to the caret is what counts): a directive name right after "#" at the start
// of the line (the part starts after the "#"), the page reference of
// #button or #item, the picture of #image or #item. A quoted picture's part
// includes its opening quote.
Part typedAt(const QString& line, int position);

// The page reference or picture the line names at position; on the
// directive's name, its page reference (#button, #item) or picture (#image).
Part namedAt(const QString& line, int position);

// The directive names a page of the type may hold.
QStringList directiveNames(PageType type);

// Every page of the kiosk system as a reference from another folder
// (folder + "\" + page), sorted by folder and page.
QStringList pageReferences(const QString& kioskFolder);

// The pictures a page in pageFolder may show (its JPEG files), as written in
// a directive: quoted when the name holds a blank.
QStringList pictureNames(const QString& pageFolder);

// The page source a reference written in a page of pageFolder names: a
// folder + "\" (or "/") + page of the kiosk system, or a page of the same
// folder. "" when the reference is not well formed.
QString pageSourceOf(const QString& reference, const QString& kioskFolder, const QString& pageFolder);

} // namespace DirectiveReferences
