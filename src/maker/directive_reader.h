#pragma once

#include "pages/page_types.h"
#include "platform/open_text_file.h"
#include "platform/problem.h"

#include <QString>

// Reads one page source for a page builder, line by line: the page-type line
// first, then the lines of the directive loop and of the text blocks. Opens
// the page source when constructed and closes it when it goes.
class DirectiveReader {
public:
    explicit DirectiveReader(const QString& sourcePath);

    // Reads the page-type line; the line number is 1 afterwards.
    PageType readPageType();
    // The next line for the directive loop: a held line first, else the next
    // line of the file. False at the end of the file.
    bool nextLine();
    // The next line of a text block. False at the end of the file, or at a
    // directive line, which is held for the directive loop.
    bool nextBlockLine();

    // Classifies the current line (PageMaker::classifyLine) and keeps its
    // arguments in directiveArguments().
    QString getDirective();

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

    TextFiles::InputFile m_input;
    const QString m_sourcePath;
    QString m_currentLine;
    QString m_directiveArguments;
    bool m_lineHeld = false;
    int m_lineNumber = 0;
};

// The lines that follow a faulty-line message about line of the page source
// sourcePath; "" for a place without a page source.
QString faultyLineContext(const ProblemPlace& place);
// Reports a problem of a line that shows the line (makeError) and lets making go on.
void reportLineProblem(ProblemSink& problems, Problem::Kind kind, const QString& message, const ProblemPlace& place);
