// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/directive_highlighter.h"

#include "editor/editor_colours.h"

#include <QColor>
#include <QFont>

DirectiveHighlighter::DirectiveHighlighter(QTextDocument* document, const QColor& background)
    : QSyntaxHighlighter(document)
{
    m_directive.setFontWeight(QFont::Bold);
    setBackground(background);
}

void DirectiveHighlighter::setBackground(const QColor& background)
{
    m_directive.setForeground(EditorColours::directive(background));
    m_comment.setForeground(EditorColours::comment(background));
    rehighlight();
}

// Mirrors how the maker classifies a line: a "#" first, the name up to the
// first blank; "#" followed by a blank (or nothing) is a comment.
int DirectiveHighlighter::directiveLength(const QString& line)
{
    if (!line.startsWith(u'#'))
        return 0;
    qsizetype end = line.indexOf(u' ');
    if (end < 0)
        end = line.size();
    return end == 1 ? -1 : int(end);
}

void DirectiveHighlighter::highlightBlock(const QString& text)
{
    const int length = directiveLength(text);
    if (length < 0)
        setFormat(0, int(text.size()), m_comment);
    else if (length > 0)
        setFormat(0, length, m_directive);
}
