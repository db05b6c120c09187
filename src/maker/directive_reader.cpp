// Reading page sources: the current line, directive recognition, the text
// block copiers and the faulty-line message.
#include "maker/directive_reader.h"

#include "maker/maker_module.h"
#include "maker/page_maker.h"

#include "platform/blanks.h"
#include "platform/line_end.h"
#include "runtime/error_handler.h"

QString PageMaker::classifyLine(const QString& line, QString& arguments)
{
    arguments.clear();
    if (line.isEmpty())
        return QStringLiteral("IGNORE");
    if (line.at(0) != u'#')
        return QStringLiteral("NOT DIRECTIVE");
    qsizetype blank = line.indexOf(u' ');
    if (blank < 0)
        blank = line.size();
    else
        arguments = trimBlanks(line.mid(blank + 1));
    return line.mid(1, blank - 1).toLower();
}

DirectiveReader::DirectiveReader(const QString& sourcePath) : m_input(sourcePath), m_sourcePath(sourcePath) {}

PageType DirectiveReader::readPageType()
{
    const PageType type = Support::readPageType(m_input.handle());
    m_lineNumber = 1;
    return type;
}

void DirectiveReader::readNextLine()
{
    m_currentLine = m_input.lineInput();
    ++m_lineNumber;
}

bool DirectiveReader::nextLine()
{
    if (m_lineHeld) {
        m_lineHeld = false;
        return true;
    }
    if (m_input.atEnd())
        return false;
    readNextLine();
    return true;
}

bool DirectiveReader::nextBlockLine()
{
    if (m_input.atEnd()) {
        m_lineHeld = false;
        return false;
    }
    readNextLine();
    m_lineHeld = m_currentLine.startsWith(u'#');
    return !m_lineHeld;
}

QString DirectiveReader::getDirective()
{
    return withErrorPath(makerModule(), QStringLiteral("getDirective"),
                         [&] { return PageMaker::classifyLine(m_currentLine, m_directiveArguments); });
}

QString DirectiveReader::errorContext() const { return faultyLineContext(place()); }

QString faultyLineContext(const ProblemPlace& place)
{
    if (place.pageSource.isEmpty())
        return QString();
    return kCrLf + QStringLiteral("In line - ") + place.lineText + kCrLf + QStringLiteral("In file - ")
           + place.pageSource;
}

void reportLineProblem(ProblemSink& problems, Problem::Kind kind, const QString& message, const ProblemPlace& place)
{
    withErrorPath(makerModule(), QStringLiteral("makeError"), [&] {
        problems.report(Problem{.kind = kind, .place = place, .message = message, .showsLine = true});
    });
}
