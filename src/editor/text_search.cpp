// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/text_search.h"

#include <QTextDocument>

namespace TextSearch {

namespace {
QTextDocument::FindFlags flags(bool matchCase, bool backward)
{
    QTextDocument::FindFlags result;
    if (matchCase)
        result |= QTextDocument::FindCaseSensitively;
    if (backward)
        result |= QTextDocument::FindBackward;
    return result;
}
} // namespace

Found findWrapping(const QTextDocument& document, const QTextCursor& from, const QString& text, bool matchCase,
                   bool backward)
{
    if (text.isEmpty())
        return {};
    const int start = backward ? from.selectionStart() : from.selectionEnd();
    if (QTextCursor match = document.find(text, start, flags(matchCase, backward)); !match.isNull())
        return {match, false};
    const int end = backward ? document.characterCount() : 0;
    return {document.find(text, end, flags(matchCase, backward)), true};
}

bool selects(const QTextCursor& cursor, const QString& text, bool matchCase)
{
    return !text.isEmpty()
           && cursor.selectedText().compare(text, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

int replaceAll(QTextDocument& document, const QString& text, const QString& replacement, bool matchCase)
{
    if (text.isEmpty())
        return 0;
    int count = 0;
    QTextCursor editing(&document);
    editing.beginEditBlock();
    for (QTextCursor match = document.find(text, 0, flags(matchCase, false)); !match.isNull();
         match = document.find(text, editing.position(), flags(matchCase, false))) {
        editing.setPosition(match.selectionStart());
        editing.setPosition(match.selectionEnd(), QTextCursor::KeepAnchor);
        editing.insertText(replacement);
        ++count;
    }
    editing.endEditBlock();
    return count;
}

} // namespace TextSearch
