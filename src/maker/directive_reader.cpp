// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading page sources: the current line and directive recognition.
#include "maker/directive_reader.h"

#include "maker/line_problem.h"
#include "maker/maker_module.h"

#include "base/blanks.h"
#include "runtime/error_handler.h"

QString DirectiveReader::classifyLine(const QString& line, QString& arguments)
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

DirectiveReader::DirectiveReader(const QString& sourcePath, const QStringList& lines, Session& session)
    : m_lines(lines), m_sourcePath(sourcePath), m_session(session)
{}

PageType DirectiveReader::readPageType()
{
    // An empty page source has no page-type line.
    const PageType type = atEnd() ? PageType::Invalid : PageTypes::pageTypeOfLine(m_lines.at(m_next++));
    m_lineNumber = 1;
    return type;
}

void DirectiveReader::readNextLine()
{
    m_currentLine = m_lines.at(m_next++);
    ++m_lineNumber;
}

bool DirectiveReader::nextLine()
{
    if (m_lineHeld) {
        m_lineHeld = false;
        return true;
    }
    if (atEnd())
        return false;
    readNextLine();
    return true;
}

bool DirectiveReader::nextBlockLine()
{
    if (atEnd()) {
        m_lineHeld = false;
        return false;
    }
    readNextLine();
    m_lineHeld = m_currentLine.startsWith(u'#');
    return !m_lineHeld;
}

QString DirectiveReader::getDirective()
{
    return inProcedure(makerModule(), QStringLiteral("getDirective"),
                       [&] { return classifyLine(m_currentLine, m_directiveArguments); });
}

QString DirectiveReader::errorContext() const { return faultyLineContext(place()); }
