// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Root, branch and leaf pages: their builders, #button and #image.
#include "maker/text_pages.h"

#include "maker/html_escape.h"
#include "maker/maker_module.h"
#include "maker/page_frame.h"
#include "maker/page_output.h"
#include "maker/picture_name.h"
#include "maker/text_blocks.h"

#include "config/kiosk_system.h"
#include "pages/support.h"
#include "base/blanks.h"
#include "runtime/error_handler.h"
#include "util/rounding.h"

#include <QCoreApplication>

void TextPageBuilder::setLayout(const QString& pageType)
{
    m_layout = PageLayout::of(m_page.make().kiosk, pageType);
    m_navigation.setLayout(m_layout);
}

void TextPageBuilder::readPage(const QString& pageType, void (NavigationBar::*startNavigation)(), Dispatch dispatch)
{
    setLayout(pageType);
    makeContentHeader(m_page);
    (m_navigation.*startNavigation)();
    m_page.readDirectives([this, dispatch](const QString& directive) { (this->*dispatch)(directive); });
    makeContentFooter(m_page);
}

void TextPageBuilder::makeFrames(const QString& pageType, const QString& scrolling)
{
    makeMainPage(m_page, m_page.item(pageType + QStringLiteral("ContentWidth")),
                 m_page.item(pageType + QStringLiteral("NavigationWidth")), scrolling, false);
}

void TextPageBuilder::makeRoot()
{
    inProcedure(makerModule(), QStringLiteral("makeRoot"), [&] {
        readPage(QStringLiteral("root"), &NavigationBar::start, &TextPageBuilder::dispatchRootOrBranch);
        makeRootPage();
        m_navigation.completeRoot();
    });
}

void TextPageBuilder::makeRootPage()
{
    inProcedure(makerModule(), QStringLiteral("makeRootPage"),
                [&] { makeFrames(QStringLiteral("root"), QStringLiteral("no")); });
}

void TextPageBuilder::makeBranch()
{
    inProcedure(makerModule(), QStringLiteral("makeBranch"), [&] {
        readPage(QStringLiteral("branch"), &NavigationBar::startBranch, &TextPageBuilder::dispatchRootOrBranch);
        makeFrames(QStringLiteral("branch"), QStringLiteral("no"));
        m_navigation.completeBranch();
    });
}

void TextPageBuilder::makeLeaf()
{
    inProcedure(makerModule(), QStringLiteral("makeLeaf"), [&] {
        readPage(QStringLiteral("leaf"), &NavigationBar::start, &TextPageBuilder::dispatchLeaf);
        makeFrames(QStringLiteral("leaf"), QStringLiteral("yes"));
        m_navigation.completeLeaf();
    });
}

bool TextPageBuilder::dispatchText(const QString& directive, const QString& paragraphClass)
{
    if (directive == QLatin1String("para"))
        copyPara(m_page, paragraphClass);
    else if (directive == QLatin1String("title"))
        copyTitle(m_page);
    else if (directive == QLatin1String("image"))
        insertImage();
    else if (directive == QLatin1String("html"))
        copyHTML(m_page);
    else if (directive == QLatin1String("break"))
        insertBreak(m_page);
    else if (!directive.isEmpty() && directive != QLatin1String("IGNORE"))
        return false;
    return true;
}

void TextPageBuilder::dispatchRootOrBranch(const QString& directive)
{
    if (directive == QLatin1String("button"))
        insertButton();
    else if (!dispatchText(directive, QStringLiteral("branch")))
        m_page.makeError(QCoreApplication::translate("PageMaker", "Expected valid directive"));
}

void TextPageBuilder::dispatchLeaf(const QString& directive)
{
    if (directive == QLatin1String("head"))
        copyHead(m_page, QStringLiteral("leaf"));
    else if (directive == QLatin1String("button"))
        m_page.makeError(QCoreApplication::translate("PageMaker", "You can not put buttons on a leaf page"));
    else if (!dispatchText(directive, QStringLiteral("leaf")))
        m_page.makeError(QCoreApplication::translate("PageMaker", "Expected valid directive"));
}

void TextPageBuilder::insertButton()
{
    inProcedure(makerModule(), QStringLiteral("insertButton"), [&] {
        const QString& arguments = m_page.reader().directiveArguments();
        if (arguments.isEmpty()) {
            m_navigation.addButton(QString(), QString());
            return;
        }
        const qsizetype blank = arguments.indexOf(u' ');
        if (blank < 0) {
            m_page.makeError(QCoreApplication::translate("PageMaker", "Invalid button directive"));
            return;
        }
        QString show;
        const QString url = m_page.pageRefToURL(arguments.left(blank), &show);
        const QString text = trimBlanks(arguments.mid(blank + 1));
        if (text.isEmpty()) {
            m_page.makeError(QCoreApplication::translate("PageMaker", "Invalid button directive"));
        } else {
            m_page.tellUse(PageOutput::Use::ButtonText, text);
            m_navigation.addButton(url, text, show);
        }
    });
}

void TextPageBuilder::insertImage()
{
    inProcedure(makerModule(), QStringLiteral("insertImage"), [&] {
        const QString& arguments = m_page.reader().directiveArguments();
        const std::optional<QString> text = m_page.takePictureText();
        QString alignment = QStringLiteral("centre");
        std::int16_t percent = 100;
        if (arguments.isEmpty()) {
            m_page.makeError(QStringLiteral("no image specified"));
            return;
        }
        const PictureNameSplit split = splitPictureName(arguments);
        if (split.end == PictureNameEnd::UnmatchedQuote) {
            m_page.makeError(QStringLiteral("unmatched \" in file name"));
            return;
        }
        const QString& fileName = split.name;
        const QString rest = split.rest.toLower();
        if (!text)
            m_page.tellUse(PageOutput::Use::PictureWithoutText, fileName);
        const QString alt = QStringLiteral(" alt=\"") + Html::encodeAttribute(text.value_or(QString())) + u'"';
        if (!rest.isEmpty()) {
            const qsizetype blank = rest.indexOf(u' ');
            if (blank < 0) {
                alignment = rest;
            } else {
                alignment = rest.left(blank);
                QString percentText = rest.mid(blank + 1);
                if (percentText.endsWith(u'%'))
                    percentText.chop(1);
                percent = Support::integerInRange(percentText, 1, 100, 0);
                if (percent == 0) {
                    m_page.makeError(QStringLiteral("invalid image directive"));
                    percent = 100;
                }
            }
        }
        const std::int32_t requiredWidth =
            std::int32_t(util::roundHalfToEven(double(m_layout.maximumImageWidth) * percent / 100.0));
        const bool noScaleUp = false;
        const PlacedPicture scaled = m_images.place(fileName, 0, requiredWidth, noScaleUp);
        const QString size = QStringLiteral(" width=") + QString::number(scaled.width) + QStringLiteral(" height=")
                             + QString::number(scaled.height) + alt + u'>';
        if (alignment == QLatin1String("centre") || alignment == QLatin1String("center")) {
            const std::int32_t hspace = (std::int32_t(m_layout.contentAvailableWidth) - scaled.width) / 2;
            m_page.writeContent(QStringLiteral("<img src=\"") + Html::encodeAttribute(scaled.fileName)
                                + QStringLiteral("\" hspace=") + QString::number(hspace) + size);
            m_page.writeContent(QStringLiteral("<br clear=all>"));
        } else if (alignment == QLatin1String("left") || alignment == QLatin1String("right")) {
            m_page.writeContent(QStringLiteral("<img src=\"") + Html::encodeAttribute(scaled.fileName)
                                + QStringLiteral("\" align=") + alignment + QStringLiteral(" hspace=")
                                + QString::number(m_page.item(QStringLiteral("minimumhorizontalspace"))) + size);
        } else {
            m_page.makeError(QStringLiteral("invalid image directive"));
            m_page.writeContent(QStringLiteral("<img src=\"") + Html::encodeAttribute(fileName) + u'"' + alt + u'>');
        }
    });
}
