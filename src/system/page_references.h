// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

// Where pages name other pages: the page references of #button and #item
// lines (directive names in any letter case), found in a page source's bytes
// as the page maker reads its lines (ended by CR LF, LF or CR; line 1 is the
// page-type line). A #button's reference is its first argument word; an
// #item's the word after its picture name (quoted or not). Only blanks,
// quotes and "#" are looked at, so the same bytes are found whether the
// file is UTF-8 or Windows-1252.
namespace PageReferences {

// A page of the kiosk system: its folder's name and its page name.
struct PageId {
    QString folder;
    QString page;
    bool operator==(const PageId&) const = default;
};

// One reference in a page source's bytes.
struct Spot {
    int line = 0;            // 1-based
    qsizetype start = 0;     // byte offset of the reference word
    qsizetype length = 0;    // its length in bytes
    qsizetype lineStart = 0; // byte offset of its line
    qsizetype lineEnd = 0;   // byte offset just past the line, before its line end
};

// Every reference word of every #button and #item line, in file order.
std::vector<Spot> spotsIn(const QByteArray& bytes);

// The page a reference written in a page of referrerFolder names, as the
// maker resolves it: "folder\page" or "folder/page" (the first "\", else the
// first "/"), or "page" alone for a page of referrerFolder. None when a name
// breaks the name rule (the maker links such a reference to missing.html).
std::optional<PageId> resolve(const QByteArray& reference, const QString& referrerFolder);

// One page source of a kiosk system.
struct PageSourceEntry {
    PageId id;
    QString path; // full path, native separators
};
// The page sources of every page folder (the folders directly inside
// kioskFolder, hidden ones left out), by folder and then by page.
QList<PageSourceEntry> pageSourcesOf(const QString& kioskFolder);

// A #button or #item line naming a page; or, with line 0, a page source that
// could not be read and was passed by, its text saying why ("Not read: is
// not a regular file").
struct ReferenceLine {
    QString pageSource; // full path
    int line = 0;       // 1-based, the page-type line being 1
    QString text;       // the whole line, decoded as the maker decodes it
};

// The bytes of a page source (TextFiles::readAuthorFile: never waits on a
// FIFO or device); none when it cannot be read, a line-0 row saying why then
// appended to lines.
std::optional<QByteArray> readPageSource(const PageSourceEntry& source, QList<ReferenceLine>& lines);

// Every #button and #item line of the kiosk system whose reference names
// target, ordered by page source and line. A page source that cannot be read
// gives its line-0 row in its place.
QList<ReferenceLine> linesNaming(const QString& kioskFolder, const PageId& target);

} // namespace PageReferences
