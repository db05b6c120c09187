// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Shows a page's structure at a glance: a directive name at the start of a
// line ("#title", "#para", "#image" ...) in bold blue, a comment line ("# ...")
// in grey, both readable on the text area's background; the directive's
// arguments and the text lines stay plain.
class DirectiveHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    DirectiveHighlighter(QTextDocument* document, const QColor& background);
    // Takes colours for another background (a change of theme).
    void setBackground(const QColor& background);

    // The length of the directive name at the start of line ("#title" gives 6),
    // 0 when the line is no directive. A comment gives -1.
    static int directiveLength(const QString& line);

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat m_directive;
    QTextCharFormat m_comment;
};
