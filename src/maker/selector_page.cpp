// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Selector pages: a table of items (thumbnail, link, text) that the kiosk
// script scrolls row by row.
#include "maker/selector_page.h"

#include "maker/html_escape.h"
#include "maker/maker_module.h"
#include "maker/page_frame.h"
#include "maker/page_output.h"
#include "maker/picture_name.h"
#include "maker/text_blocks.h"

#include "config/selector_row.h"
#include "base/blanks.h"
#include "runtime/error_handler.h"

#include <QCoreApplication>

void SelectorPageBuilder::makeSelector()
{
    inProcedure(makerModule(), QStringLiteral("makeSelector"), [&] {
        m_layout = PageLayout::of(m_page.make().kiosk, QStringLiteral("selector"));
        m_navigation.setLayout(m_layout);
        makeContentHeader(m_page);
        m_navigation.start();
        m_page.readDirectives([this](const QString& directive) { dispatchSelector(directive); });
        makeSelectorContentFooter();
        makeMainPage(m_page, m_page.item(QStringLiteral("selectorContentWidth")),
                     m_page.item(QStringLiteral("selectorNavigationWidth")), QStringLiteral("no"), true);
        m_navigation.completeSelector();
    });
}

void SelectorPageBuilder::dispatchSelector(const QString& directive)
{
    if (directive == QLatin1String("item")) {
        insertItem();
    } else if (directive == QLatin1String("title")) {
        if (m_itemTableStarted)
            m_page.makeError(QStringLiteral("title directive must occur before any item directives"));
        else
            copyTitle(m_page);
    } else if (!directive.isEmpty() && directive != QLatin1String("IGNORE")) {
        m_page.makeError(QCoreApplication::translate("PageMaker", "Expected valid directive"));
    }
}

void SelectorPageBuilder::insertItem()
{
    inProcedure(makerModule(), QStringLiteral("insertItem"), [&] {
        QString arguments = m_page.reader().directiveArguments();
        const std::optional<QString> alt = m_page.takePictureText();
        QString image;
        QString link;
        QString text;
        QString show;
        const PictureNameSplit split = splitPictureName(arguments);
        if (split.end == PictureNameEnd::UnmatchedQuote) {
            m_page.makeError(QStringLiteral("unmatched \" in file name"));
            return;
        }
        if (split.end == PictureNameEnd::EndOfText) {
            m_page.makeError(QCoreApplication::translate("PageMaker", "Invalid item directive"));
        } else {
            image = split.name;
            arguments = split.rest;
            if (!alt)
                m_page.tellUse(PageOutput::Use::PictureWithoutText, image);
        }
        const qsizetype blank = arguments.indexOf(u' ');
        if (blank < 0) {
            m_page.makeError(QCoreApplication::translate("PageMaker", "Invalid item directive"));
        } else {
            link = m_page.pageRefToURL(arguments.left(blank), &show);
            text = trimBlanks(arguments.mid(blank + 1));
        }
        if (text.isEmpty())
            text = QStringLiteral("&nbsp;");
        else
            m_page.tellUse(PageOutput::Use::ItemText, text);

        const SelectorRow row = SelectorRow::of(m_layout.navigationHeight, m_layout.buttons);
        const std::int16_t requiredHeight = row.pictureHeight;
        const std::int16_t requiredWidth = row.pictureWidth;
        const bool noScaleUp = true;
        const PlacedPicture scaled = m_images.place(image, requiredHeight, requiredWidth, noScaleUp);
        const std::int32_t hspace = (std::int32_t(requiredWidth) - scaled.width) / 2;

        if (!m_itemTableStarted) {
            m_page.writeContent(QStringLiteral("<input type=hidden name=\"row\" value=\"0\">"));
            m_page.writeContent(QStringLiteral("<table border=1 id=\"sTable\" width=\"100%\" cellspacing=0 "
                                               "style=\"position: absolute; top: ")
                                + QString::number(row.tableTop) + QStringLiteral("px; left: 0px\">"));
            m_itemTableStarted = true;
        }
        // Pictures of rows below the first screen load once the browser has
        // drawn the page (a selector of many items opens as fast as a short one).
        const bool onFirstScreen =
            row.tableTop + std::int32_t(m_rowsWritten++) * row.height < m_page.item(QStringLiteral("screenheight"));
        m_page.writeContent(QStringLiteral("<tr>"));
        m_page.writeContent(QStringLiteral("<td height=") + QString::number(row.height) + QStringLiteral(" width=")
                            + QString::number(requiredWidth) + QStringLiteral(">"));
        m_page.writeContent(
            QStringLiteral("<a href=\"") + Html::encodeAttribute(link) + u'"'
            + (show.isEmpty() ? QString() : QStringLiteral(" data-show=\"") + Html::encodeAttribute(show) + u'"')
            + QStringLiteral("><img src=\"") + Html::encodeAttribute(scaled.fileName) + QStringLiteral("\" alt=\"")
            + Html::encodeAttribute(alt.value_or(QString())) + QStringLiteral("\" height=")
            + QString::number(scaled.height) + QStringLiteral(" width=") + QString::number(scaled.width)
            + QStringLiteral(" hspace=") + QString::number(hspace) + QStringLiteral(" style=\"border-style: none\"")
            + (onFirstScreen ? QString() : QStringLiteral(" loading=\"lazy\"")) + QStringLiteral("></a></td>"));
        m_page.writeContent(QStringLiteral("<td><p class=\"item\">") + text + QStringLiteral("</p></td>"));
        m_page.writeContent(QStringLiteral("</tr>"));
    });
}

void SelectorPageBuilder::makeSelectorContentFooter()
{
    inProcedure(makerModule(), QStringLiteral("makeSelectorContentFooter"), [&] {
        m_page.writeContent(QStringLiteral("</table>"));
        makeContentFooter(m_page);
    });
}
