// Selector pages: a table of items (thumbnail, link, text) that the kiosk
// script scrolls row by row.
#include "maker/maker_module.h"
#include "maker/page_builder.h"
#include "maker/picture_name.h"

#include "platform/blanks.h"
#include "platform/int16.h"
#include "runtime/error_handler.h"

namespace {

QString number(std::int32_t value) { return QString::number(value); }

} // namespace

void PageBuilder::makeSelector()
{
    withErrorPath(makerModule(), QStringLiteral("makeSelector"), [&] {
        setLayout(QStringLiteral("selector"));
        makeContentHeader();
        startNavigationHeader();
        directiveLoop(&PageBuilder::dispatchSelector);
        makeSelectorContentFooter();
        makeMainPage(item(QStringLiteral("selectorContentWidth")), item(QStringLiteral("selectorNavigationWidth")),
                     QStringLiteral("no"), true);
        makeselectorNavigationFooter();
    });
}

void PageBuilder::dispatchSelector(const QString& directive)
{
    if (directive == QLatin1String("item")) {
        insertItem();
    } else if (directive == QLatin1String("title")) {
        if (m_itemTableStarted)
            makeError(QStringLiteral("title directive must occur before any item directives"));
        else
            copyTitle();
    } else if (!directive.isEmpty() && directive != QLatin1String("IGNORE")) {
        makeError(QStringLiteral("Expected valid directive"));
    }
}

void PageBuilder::insertItem()
{
    withErrorPath(makerModule(), QStringLiteral("insertItem"), [&] {
        QString arguments = m_reader.directiveArguments();
        QString image;
        QString link;
        QString text;
        const PictureNameSplit split = splitPictureName(arguments);
        if (split.end == PictureNameEnd::UnmatchedQuote) {
            makeError(QStringLiteral("unmatched \" in file name"));
            return;
        }
        if (split.end == PictureNameEnd::EndOfText) {
            makeError(QStringLiteral("Invalid item directive"));
        } else {
            image = split.name;
            arguments = split.rest;
        }
        const qsizetype blank = arguments.indexOf(u' ');
        if (blank < 0) {
            makeError(QStringLiteral("Invalid item directive"));
        } else {
            link = pageRefToURL(arguments.left(blank));
            text = trimBlanks(arguments.mid(blank + 1));
        }
        if (text.isEmpty())
            text = QStringLiteral("&nbsp;");
        else
            tellUse(Use::ItemText, text);

        const std::int16_t rowHeight = Int16::checked(m_navigationHeight / m_buttons);
        const std::int16_t itemHeight = Int16::checked(Int16::multiply(2, m_navigationHeight) / m_buttons);
        const std::int16_t requiredHeight = Int16::subtract(itemHeight, 4);
        const std::int16_t requiredWidth = Int16::checked(Int16::multiply(4, requiredHeight) / 3);
        std::int32_t scaledHeight = 0;
        std::int32_t scaledWidth = 0;
        QString scaledFileName;
        const bool noScaleUp = true;
        ScaleImage(image, requiredHeight, requiredWidth, scaledHeight, scaledWidth, scaledFileName, noScaleUp);
        const std::int32_t hspace = (std::int32_t(requiredWidth) - scaledWidth) / 2;

        if (!m_itemTableStarted) {
            writeContent(QStringLiteral("<input type=hidden name=\"row\" value=\"0\">"));
            writeContent(QStringLiteral("<table border=1 id=\"sTable\" width=\"100%\" cellspacing=0 "
                                        "style=\"position: absolute; top: ")
                         + number(rowHeight) + QStringLiteral("px; left: 0px\">"));
            m_itemTableStarted = true;
        }
        writeContent(QStringLiteral("<tr>"));
        writeContent(QStringLiteral("<td height=") + number(itemHeight) + QStringLiteral(" width=")
                     + number(requiredWidth) + QStringLiteral(">"));
        writeContent(QStringLiteral("<a href=\"") + PageMaker::encodeAttribute(link) + QStringLiteral("\"><img src=\"")
                     + PageMaker::encodeAttribute(scaledFileName) + QStringLiteral("\" alt=\"\" height=")
                     + number(scaledHeight) + QStringLiteral(" width=") + number(scaledWidth)
                     + QStringLiteral(" hspace=") + number(hspace)
                     + QStringLiteral(" style=\"border-style: none\"></a></td>"));
        writeContent(QStringLiteral("<td><p class=\"item\">") + text + QStringLiteral("</p></td>"));
        writeContent(QStringLiteral("</tr>"));
    });
}

void PageBuilder::makeSelectorContentFooter()
{
    withErrorPath(makerModule(), QStringLiteral("makeSelectorContentFooter"), [&] {
        writeContent(QStringLiteral("</table>"));
        makeContentFooter();
    });
}
