// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/problem.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// One problem the kiosk check found: where (page source, 1-based line), what
// kind, and the text shown to the author.
struct Finding {
    QString pageSource;
    int line = 0;
    QString kind;
    QString text;

    // "PAGE_SOURCE:LINE: KIND: TEXT", the form compilers use.
    QString toLine() const;
    // The form a program reads back: "PAGE_SOURCE<TAB>LINE<TAB>KIND<TAB>TEXT",
    // a backslash, tab, CR or LF inside a field written as \\, \t, \r or \n,
    // any other control character (NUL included) and DEL as \x and two hex
    // digits (\x00).
    QString toRecord() const;
    // A line toRecord wrote (without its line end); none for any other line.
    static std::optional<Finding> fromRecord(QStringView record);
};

// The kinds, in the order the count line lists them: the most serious first,
// a dead end, which strands a visitor on a kiosk.
namespace FindingKind {
inline const QString DeadEnd = QStringLiteral("dead end");
// A page on show whose buttons and items all lead to pages off show at a
// moment: the visitor finds no way on there.
inline const QString Stranded = QStringLiteral("stranded");
inline const QString FaultyLine = QStringLiteral("faulty line");
// A #show line whose dates or times cannot be read (the page is always on show).
inline const QString InvalidTime = QStringLiteral("invalid time");
inline const QString Picture = QStringLiteral("picture");
inline const QString OutOfDate = QStringLiteral("out of date");
// A page whose last "until" has passed, and one on show at no moment at all.
inline const QString Over = QStringLiteral("over");
inline const QString NeverOnShow = QStringLiteral("never on show");
inline const QString Unreachable = QStringLiteral("unreachable");
inline const QString MayNotFit = QStringLiteral("may not fit");
// A file the check reads besides the page sources that is not a regular
// file of a sane size (it is named in the finding).
inline const QString Unreadable = QStringLiteral("unreadable");
// A page or page folder whose name is against the name rule (its pages are
// made all the same, but renaming and references cannot name it).
inline const QString BadName = QStringLiteral("bad name");
// A picture (#image, #item) without an #alt line before it: a screen reader
// or the kiosk's speech cannot tell what it shows.
inline const QString NoTextAlternative = QStringLiteral("no text alternative");
// A text colour of stylesheet.css too close to its background for a visitor
// with poor sight.
inline const QString LowContrast = QStringLiteral("low contrast");
// Navigation buttons the reachable part of the screen (from the screen's
// configured size and mounting height) cannot hold.
inline const QString OutOfReach = QStringLiteral("out of reach");
// A selector's item text or title that fits at the text size the pages are
// made with but is cut off when the visitor enlarges the text to 200 %.
inline const QString CutOffEnlarged = QStringLiteral("cut off at 200 %");
// Navigation buttons or selector rows smaller than a fingertip at the
// configured screen size (pixels, and mm when the screen's size is given).
// The least serious kind.
inline const QString SmallTouchTarget = QStringLiteral("small touch target");
QList<QString> all();
// The kind a problem the maker reports is listed under.
QString of(Problem::Kind kind);
} // namespace FindingKind

// Sorted by page source, then line; findings of one line keep their order.
void sortFindings(QList<Finding>& findings);

// "Checked N pages: no findings" or "Checked N pages: M findings (1 dead end, 2
// faulty line)", kinds with findings only, in the order of all().
QString countLine(int pagesChecked, const QList<Finding>& findings);
