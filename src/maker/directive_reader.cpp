// Reading page sources: the current line, directive recognition, the text
// block copiers and the faulty-line message.
#include "maker/directive_reader.h"

#include "maker/maker_module.h"
#include "maker/page_builder.h"

#include "platform/blanks.h"
#include "platform/line_end.h"
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

QString PageMaker::encodeAttribute(const QString& text)
{
    if (!text.contains(u'"') && !text.contains(u'&') && !text.contains(u'<') && !text.contains(u'>'))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString PageMaker::encode(const QString& text)
{
    return withErrorPath(
        makerModule(), [&] { return QStringLiteral("encode(") + text + QStringLiteral(")"); },
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

DirectiveReader::DirectiveReader(const QString& sourcePath) : m_input(sourcePath), m_sourcePath(sourcePath) {}

PageType DirectiveReader::readPageType()
{
    const PageType type = Support::readPageType(m_input);
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

void PageBuilder::directiveLoop(Dispatch dispatch)
{
    while (m_reader.nextLine())
        (this->*dispatch)(m_reader.getDirective());
}

void PageBuilder::copyTitle()
{
    withErrorPath(makerModule(), QStringLiteral("copyTitle"), [&] {
        const QString title = textAfterFirstBlank(m_reader.currentLine());
        m_pageTitle = PageMaker::encode(title);
        if (!m_pageTitle.isEmpty()) {
            tellUse(Use::TitleText, title);
            writeContent(QStringLiteral("<p class=\"title\">") + m_pageTitle + QStringLiteral("</p>"));
        }
    });
}

void PageBuilder::copyHead(const QString& cssClass)
{
    withErrorPath(makerModule(), QStringLiteral("copyHead"), [&] {
        const QString heading = PageMaker::encode(textAfterFirstBlank(m_reader.currentLine()));
        if (!heading.isEmpty())
            writeContent(QStringLiteral("<p class=\"") + cssClass + QStringLiteral("_head\">") + heading
                         + QStringLiteral("</p>"));
    });
}

void PageBuilder::copyBlock(bool escape)
{
    while (m_reader.nextBlockLine())
        writeContent(escape ? PageMaker::encode(m_reader.currentLine()) : m_reader.currentLine());
}

void PageBuilder::copyPara(const QString& cssClass)
{
    withErrorPath(
        makerModule(), [&] { return QStringLiteral("copyPara(") + cssClass + QStringLiteral(")"); },
        [&] {
            writeContent(QStringLiteral("<p class=\"") + cssClass + QStringLiteral("\">"));
            copyBlock(true);
            writeContent(QStringLiteral("</p>"));
        });
}

void PageBuilder::copyHTML()
{
    withErrorPath(makerModule(), QStringLiteral("copyHTML"), [&] { copyBlock(false); });
}

void PageBuilder::insertBreak()
{
    withErrorPath(makerModule(), QStringLiteral("insertBreak"),
                  [&] { writeContent(QStringLiteral("<br clear=all>")); });
}

void PageBuilder::makeError(const QString& message, Problem::Kind kind)
{
    reportLineProblem(m_make.problems, kind, message, m_reader.place());
}
