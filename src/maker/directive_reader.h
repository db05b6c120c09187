// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/page_types.h"
#include "platform/problem.h"

#include <QString>
#include <QStringList>

// Reads one page source for a page builder, line by line: the page-type line
// first, then the lines of the directive loop and of the text blocks. The
// lines are the page source's, read whole by the make before.
class Session;

class DirectiveReader {
public:
    // session is the make's, which the error path reports through.
    DirectiveReader(const QString& sourcePath, const QStringList& lines, Session& session);

    // Reads the page-type line; the line number is 1 afterwards.
    PageType readPageType();
    // The next line for the directive loop: a held line first, else the next
    // line of the file. False at the end of the file.
    bool nextLine();
    // The next line of a text block. False at the end of the file, or at a
    // directive line, which is held for the directive loop.
    bool nextBlockLine();

    // Classifies the current line (classifyLine) and keeps its arguments in
    // directiveArguments().
    QString getDirective();

    // Classifies a page source line: "IGNORE" for an empty line, "NOT DIRECTIVE"
    // when it does not start with "#", otherwise the lower-cased name between
    // "#" and the first blank ("" for a comment). arguments receives the text
    // after the first blank, trimmed of blanks.
    static QString classifyLine(const QString& line, QString& arguments);

    const QString& currentLine() const { return m_currentLine; }
    const QString& directiveArguments() const { return m_directiveArguments; }
    const QString& sourcePath() const { return m_sourcePath; }
    // The 1-based number of the line read last; 0 before the page-type line.
    int lineNumber() const { return m_lineNumber; }
    // Where a problem with the current line lies.
    ProblemPlace place() const { return ProblemPlace{m_sourcePath, m_lineNumber, m_currentLine}; }
    // The lines that follow a faulty-line message: the current line and the page source.
    QString errorContext() const;

private:
    void readNextLine();

    bool atEnd() const { return m_next >= m_lines.size(); }

    const QStringList m_lines;
    qsizetype m_next = 0;
    const QString m_sourcePath;
    Session& m_session;
    QString m_currentLine;
    QString m_directiveArguments;
    bool m_lineHeld = false;
    int m_lineNumber = 0;
};
