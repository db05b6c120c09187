// Reading page sources: the current line, directive recognition, the text
// block copiers and the faulty-line message.
#include "maker/maker_module.h"
#include "maker/page_maker.h"

#include "platform/blanks.h"
#include "platform/line_end.h"
#include "platform/messages.h"
#include "platform/text_files.h"
#include "runtime/error_handler.h"

namespace {

// The text after the first blank of the line, trimmed; "" without a blank.
QString textAfterFirstBlank(const QString& line)
{
    const qsizetype blank = line.indexOf(u' ');
    return blank < 0 ? QString() : trimBlanks(line.mid(blank + 1));
}

} // namespace

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

QString PageMaker::getDirective()
{
    return withErrorPath(makerModule(), QStringLiteral("getDirective"),
                         [&] { return classifyLine(m_currentLine, m_directiveArguments); });
}

QString PageMaker::encodeAttribute(const QString& text)
{
    if (!text.contains(u'"') && !text.contains(u'&') && !text.contains(u'<') && !text.contains(u'>'))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"': out += QStringLiteral("&quot;"); break;
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        default: out += c;
        }
    }
    return out;
}

QString PageMaker::encode(const QString& text)
{
    return withErrorPath(makerModule(), [&] { return QStringLiteral("encode(") + text + QStringLiteral(")"); },
                         [&] {
                             // Copies the runs between brackets in one piece each.
                             qsizetype open = text.indexOf(u'<');
                             const qsizetype close = text.indexOf(u'>');
                             if (open < 0 && close < 0)
                                 return text;
                             QString out;
                             out.reserve(text.size() + 16);
                             qsizetype start = 0;
                             const qsizetype n = text.size();
                             for (qsizetype i = 0; i < n; ++i) {
                                 const QChar c = text.at(i);
                                 if (c != u'<' && c != u'>')
                                     continue;
                                 out.append(QStringView(text).mid(start, i - start));
                                 out.append(c == u'<' ? QLatin1String("&lt;") : QLatin1String("&gt;"));
                                 start = i + 1;
                             }
                             out.append(QStringView(text).mid(start));
                             return out;
                         });
}

void PageMaker::readNextLine()
{
    m_currentLine = TextFiles::lineInput(m_inputFile);
    ++m_lineNumber;
}

void PageMaker::writeContent(const QString& line) { TextFiles::printLine(m_contentFile, line); }

void PageMaker::directiveLoop(Dispatch dispatch)
{
    m_lineHeld = false;
    while (!TextFiles::atEnd(m_inputFile) || m_lineHeld) {
        if (!m_lineHeld)
            readNextLine();
        m_lineHeld = false;
        (this->*dispatch)(getDirective());
    }
}

void PageMaker::copyTitle()
{
    withErrorPath(makerModule(), QStringLiteral("copyTitle"), [&] {
        m_pageTitle = encode(textAfterFirstBlank(m_currentLine));
        if (!m_pageTitle.isEmpty())
            writeContent(QStringLiteral("<p class=\"title\">") + m_pageTitle + QStringLiteral("</p>"));
    });
}

void PageMaker::copyHead(const QString& cssClass)
{
    withErrorPath(makerModule(), QStringLiteral("copyHead"), [&] {
        const QString heading = encode(textAfterFirstBlank(m_currentLine));
        if (!heading.isEmpty())
            writeContent(QStringLiteral("<p class=\"") + cssClass + QStringLiteral("_head\">") + heading
                         + QStringLiteral("</p>"));
    });
}

void PageMaker::copyBlock(bool escape)
{
    for (;;) {
        if (TextFiles::atEnd(m_inputFile)) {
            m_lineHeld = false;
            return;
        }
        readNextLine();
        if (m_currentLine.startsWith(u'#')) {
            m_lineHeld = true;
            return;
        }
        writeContent(escape ? encode(m_currentLine) : m_currentLine);
    }
}

void PageMaker::copyPara(const QString& cssClass)
{
    withErrorPath(makerModule(), [&] { return QStringLiteral("copyPara(") + cssClass + QStringLiteral(")"); }, [&] {
        writeContent(QStringLiteral("<p class=\"") + cssClass + QStringLiteral("\">"));
        copyBlock(true);
        writeContent(QStringLiteral("</p>"));
    });
}

void PageMaker::copyHTML()
{
    withErrorPath(makerModule(), QStringLiteral("copyHTML"), [&] { copyBlock(false); });
}

void PageMaker::insertBreak()
{
    withErrorPath(makerModule(), QStringLiteral("insertBreak"), [&] { writeContent(QStringLiteral("<br clear=all>")); });
}

void PageMaker::makeError(const QString& message)
{
    withErrorPath(makerModule(), QStringLiteral("makeError"), [&] {
        Messages::show(message + errorContext());
    });
}

QString PageMaker::errorContext() const
{
    return kCrLf + QStringLiteral("In line - ") + m_currentLine + kCrLf + QStringLiteral("In file - ") + m_sourcePath;
}
