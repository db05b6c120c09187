// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextCursor>

class QTextDocument;

// Finding and replacing plain text (no patterns, within one line) in the
// editor's document.
namespace TextSearch {

struct Found {
    QTextCursor match;    // selects the text found; null when there is none
    bool wrapped = false; // found only after going round the end (or the start, backward)
};

// The next occurrence after the selection of from (backward: the one before
// it), going round the document's end once.
Found findWrapping(const QTextDocument& document, const QTextCursor& from, const QString& text, bool matchCase,
                   bool backward);

// True when the cursor selects exactly text.
bool selects(const QTextCursor& cursor, const QString& text, bool matchCase);

// Replaces every occurrence as one edit step, so that one undo takes all of
// them back; the number replaced.
int replaceAll(QTextDocument& document, const QString& text, const QString& replacement, bool matchCase);

} // namespace TextSearch
