// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The navigation bar of a page, with rows that fill the navigation height.
#include "maker/navigation_bar.h"

#include "maker/html_escape.h"
#include "maker/maker_module.h"
#include "maker/page_frame.h"
#include "maker/page_layout.h"
#include "maker/page_output.h"

#include "pages/support.h"
#include "base/int16.h"
#include "runtime/error_handler.h"

#include <QCoreApplication>

namespace {

QString anchorLine(const QString& url, std::int16_t id, const QString& text, const QString& show = QString())
{
    return QStringLiteral("<a href=\"") + Html::encodeAttribute(url) + QStringLiteral("\" class=\"nav\" id=\"b")
           + QString::number(id) + QStringLiteral("\" target=\"_top\"")
           + (show.isEmpty() ? QString() : QStringLiteral(" data-show=\"") + Html::encodeAttribute(show) + u'"') + u'>'
           + text + QStringLiteral("</a>");
}

} // namespace

void NavigationBar::setLayout(const PageLayout& layout)
{
    m_buttons = layout.buttons;
    m_buttonWidth = layout.buttonWidth;
    m_buttonCount = 0;
    m_remainingHeight = layout.navigationHeight;
}

void NavigationBar::write(const QString& line) { m_page.writeNavigation(line); }

void NavigationBar::start()
{
    inProcedure(makerModule(), QStringLiteral("startNavigationHeader"), [&] {
        makeHeader(m_page, m_page.navigationFile(), QStringLiteral("Navigation"));
        write(QStringLiteral("<body>"));
        write(QStringLiteral("<table class=\"nav\" border=1 cellspacing=0>"));
    });
}

void NavigationBar::complete()
{
    inProcedure(makerModule(), QStringLiteral("completeNavigationFooter"), [&] {
        write(QStringLiteral("</table>"));
        write(QStringLiteral("</body>"));
        write(QStringLiteral("</html>"));
    });
}

void NavigationBar::addButton(const QString& url, const QString& text, const QString& show)
{
    inProcedure(makerModule(), QStringLiteral("makeNavigationButton"), [&] {
        if (m_buttonCount >= m_buttons) {
            m_page.makeError(QCoreApplication::translate("PageMaker", "Too many buttons on page"));
            return;
        }
        // Each row takes an equal share of what is left, so the remainders of
        // the divisions fall on the lower rows and all rows add up exactly.
        const std::int16_t rowHeight = Int16::checked(m_remainingHeight / Int16::subtract(m_buttons, m_buttonCount));
        m_buttonCount = Int16::add(m_buttonCount, 1);
        m_remainingHeight = Int16::subtract(m_remainingHeight, rowHeight);
        write(QStringLiteral("<tr>"));
        write(QStringLiteral("<td valign=middle align=center height=") + QString::number(rowHeight)
              + QStringLiteral(" width=") + QString::number(m_buttonWidth) + QStringLiteral(">"));
        write(url.isEmpty() ? QStringLiteral("&nbsp;") : anchorLine(url, m_buttonCount, text, show));
        write(QStringLiteral("</td>"));
        write(QStringLiteral("</tr>"));
    });
}

void NavigationBar::addDoubleButton(const QString& url, const QString& text)
{
    inProcedure(makerModule(), QStringLiteral("makeNavigationDoubleButton"), [&] {
        if (m_buttonCount >= Int16::subtract(m_buttons, 1)) {
            m_page.makeError(QCoreApplication::translate("PageMaker", "Too many buttons on page"));
            return;
        }
        const std::int16_t rowHeight =
            Int16::checked(Int16::multiply(2, m_remainingHeight) / Int16::subtract(m_buttons, m_buttonCount));
        m_buttonCount = Int16::add(m_buttonCount, 1);
        m_remainingHeight = Int16::subtract(m_remainingHeight, rowHeight);
        write(QStringLiteral("<tr>"));
        write(QStringLiteral("<td valign=middle align=center height=") + QString::number(rowHeight)
              + QStringLiteral(" width=") + QString::number(m_buttonWidth) + QStringLiteral(">"));
        if (url.isEmpty()) {
            write(QStringLiteral("&nbsp;"));
            m_buttonCount = Int16::add(m_buttonCount, 1);
        } else {
            write(anchorLine(url, m_buttonCount, text));
            m_buttonCount = Int16::add(m_buttonCount, 1);
            write(anchorLine(url, m_buttonCount, QString()));
        }
        write(QStringLiteral("</td>"));
        write(QStringLiteral("</tr>"));
    });
}

void NavigationBar::addHomeButton()
{
    inProcedure(makerModule(), QStringLiteral("makeNavigationHomeButton"),
                [&] { addButton(QStringLiteral("../") + PageTypes::rootPageLink(), QStringLiteral("Home")); });
}

void NavigationBar::addBackButton()
{
    inProcedure(makerModule(), QStringLiteral("makeNavigationBackButton"),
                [&] { addButton(QStringLiteral("javascript:goBack()"), QStringLiteral("Back")); });
}

void NavigationBar::startBranch()
{
    start();
    addHomeButton();
}

void NavigationBar::completeRoot()
{
    inProcedure(makerModule(), QStringLiteral("makeRootNavigationFooter"), [&] {
        while (m_buttonCount < m_buttons)
            addButton(QString(), QString());
        complete();
    });
}

void NavigationBar::completeBranch()
{
    inProcedure(makerModule(), QStringLiteral("makeBranchNavigationFooter"), [&] {
        while (m_buttonCount < m_buttons - 1)
            addButton(QString(), QString());
        addBackButton();
        complete();
    });
}

void NavigationBar::completeLeaf()
{
    inProcedure(makerModule(), QStringLiteral("makeLeafNavigationFooter"), [&] {
        addHomeButton();
        addButton(QStringLiteral("javascript:scrollup()"), QStringLiteral("Up"));
        for (int blank = 0; blank < 4; ++blank)
            addButton(QString(), QString());
        addButton(QStringLiteral("javascript:scrolldown()"), QStringLiteral("Down"));
        addBackButton();
        complete();
    });
}

void NavigationBar::completeSelector()
{
    inProcedure(makerModule(), QStringLiteral("makeselectorNavigationFooter"), [&] {
        addHomeButton();
        addDoubleButton(QStringLiteral("javascript:select()"),
                        QStringLiteral("Select The Item CurrentlyDisplayed On The Left"));
        addButton(QStringLiteral("javascript:pageup()"), QStringLiteral("Page Up"));
        addButton(QStringLiteral("javascript:rowup()"), QStringLiteral("Up"));
        addButton(QStringLiteral("javascript:rowdown()"), QStringLiteral("Down"));
        addButton(QStringLiteral("javascript:pagedown()"), QStringLiteral("Page Down"));
        addBackButton();
        complete();
    });
}
