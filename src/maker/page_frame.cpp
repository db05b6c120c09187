// The fixed parts of a page's three files: document headers, the frameset of
// the main file and the navigation bar with rows that fill navigationHeight.
#include "maker/maker_module.h"
#include "maker/page_builder.h"

#include "pages/page_types.h"
#include "platform/int16.h"
#include "runtime/error_handler.h"

namespace {

QString number(std::int32_t value) { return QString::number(value); }

QString anchorLine(const QString& url, std::int16_t id, const QString& text)
{
    return QStringLiteral("<a href=\"") + PageMaker::encodeAttribute(url) + QStringLiteral("\" class=\"nav\" id=\"b")
           + number(id) + QStringLiteral("\" target=\"_top\">") + text + QStringLiteral("</a>");
}

} // namespace

void PageBuilder::makeHeader(TextFiles::OutputFile& file, const QString& frameName)
{
    withErrorPath(
        makerModule(),
        [&] {
            return QStringLiteral("makeHeader(") + number(file.handle()) + QStringLiteral(",") + frameName
                   + QStringLiteral(")");
        },
        [&] {
            file.printLine(QStringLiteral("<html>"));
            file.printLine(QStringLiteral("<head>"));
            file.printLine(QStringLiteral("<title>") + m_pageTitle + QStringLiteral(" - ") + frameName
                           + QStringLiteral("</title>"));
            file.printLine(QStringLiteral("<link rel=\"stylesheet\" href=\"../stylesheet.css\">"));
            file.printLine(QStringLiteral("<script language=\"javascript\" type=\"Text/javascript\" "
                                          "src=\"../frame_script.js\"></script>"));
            file.printLine(QStringLiteral("</head>"));
        });
}

void PageBuilder::makeContentHeader()
{
    withErrorPath(makerModule(), QStringLiteral("makeContentHeader"), [&] {
        makeHeader(m_contentFile, QStringLiteral("Content"));
        writeContent(QStringLiteral("<body>"));
    });
}

void PageBuilder::makeContentFooter()
{
    withErrorPath(makerModule(), QStringLiteral("makeContentFooter"), [&] {
        writeContent(QStringLiteral("</body>"));
        writeContent(QStringLiteral("</html>"));
    });
}

void PageBuilder::startNavigationHeader()
{
    withErrorPath(makerModule(), QStringLiteral("startNavigationHeader"), [&] {
        makeHeader(m_navigationFile, QStringLiteral("Navigation"));
        writeNavigation(QStringLiteral("<body>"));
        writeNavigation(QStringLiteral("<table class=\"nav\" border=1 cellspacing=0>"));
    });
}

void PageBuilder::completeNavigationFooter()
{
    withErrorPath(makerModule(), QStringLiteral("completeNavigationFooter"), [&] {
        writeNavigation(QStringLiteral("</table>"));
        writeNavigation(QStringLiteral("</body>"));
        writeNavigation(QStringLiteral("</html>"));
    });
}

void PageBuilder::makeMainPage(std::int16_t contentWidth, std::int16_t navigationWidth, const QString& scrolling,
                               bool withOnload)
{
    withErrorPath(makerModule(), QStringLiteral("makeMainPage"), [&] {
        makeHeader(m_mainFile, QStringLiteral("Main"));
        m_mainFile.print(QStringLiteral("<frameset cols=\"") + number(contentWidth) + QStringLiteral(",")
                         + number(navigationWidth) + QStringLiteral("\" frameBorder=0 frameSpacing=0 border=0"));
        m_mainFile.printLine(withOnload ? QStringLiteral(" onload=\"init()\">") : QStringLiteral(">"));
        m_mainFile.printLine(QStringLiteral("<frame src=\"") + PageMaker::encodeAttribute(m_place.contentFileName)
                             + QStringLiteral("\" name=\"con\" frameborder=0 marginwidth=0 scrolling=") + scrolling
                             + QStringLiteral(">"));
        m_mainFile.printLine(QStringLiteral("<frame src=\"") + PageMaker::encodeAttribute(m_place.navigationFileName)
                             + QStringLiteral("\" name=\"nav\" frameborder=0 marginwidth=0 scrolling=no>"));
        m_mainFile.printLine(QStringLiteral("</frameset>"));
        m_mainFile.printLine(QStringLiteral("</html>"));
    });
}

void PageBuilder::makeNavigationButton(const QString& url, const QString& text)
{
    withErrorPath(makerModule(), QStringLiteral("makeNavigationButton"), [&] {
        if (m_buttonCount >= m_buttons) {
            makeError(QStringLiteral("Too many buttons on page"));
            return;
        }
        // Each row takes an equal share of what is left, so the remainders of
        // the divisions fall on the lower rows and all rows add up exactly.
        const std::int16_t rowHeight =
            Int16::checked(m_remainingNavigationHeight / Int16::subtract(m_buttons, m_buttonCount));
        m_buttonCount = Int16::add(m_buttonCount, 1);
        m_remainingNavigationHeight = Int16::subtract(m_remainingNavigationHeight, rowHeight);
        writeNavigation(QStringLiteral("<tr>"));
        writeNavigation(QStringLiteral("<td valign=middle align=center height=") + number(rowHeight)
                        + QStringLiteral(" width=") + number(m_buttonWidth) + QStringLiteral(">"));
        writeNavigation(url.isEmpty() ? QStringLiteral("&nbsp;") : anchorLine(url, m_buttonCount, text));
        writeNavigation(QStringLiteral("</td>"));
        writeNavigation(QStringLiteral("</tr>"));
    });
}

void PageBuilder::makeNavigationDoubleButton(const QString& url, const QString& text)
{
    withErrorPath(makerModule(), QStringLiteral("makeNavigationDoubleButton"), [&] {
        if (m_buttonCount >= Int16::subtract(m_buttons, 1)) {
            makeError(QStringLiteral("Too many buttons on page"));
            return;
        }
        const std::int16_t rowHeight =
            Int16::checked(Int16::multiply(2, m_remainingNavigationHeight) / Int16::subtract(m_buttons, m_buttonCount));
        m_buttonCount = Int16::add(m_buttonCount, 1);
        m_remainingNavigationHeight = Int16::subtract(m_remainingNavigationHeight, rowHeight);
        writeNavigation(QStringLiteral("<tr>"));
        writeNavigation(QStringLiteral("<td valign=middle align=center height=") + number(rowHeight)
                        + QStringLiteral(" width=") + number(m_buttonWidth) + QStringLiteral(">"));
        if (url.isEmpty()) {
            writeNavigation(QStringLiteral("&nbsp;"));
            m_buttonCount = Int16::add(m_buttonCount, 1);
        } else {
            writeNavigation(anchorLine(url, m_buttonCount, text));
            m_buttonCount = Int16::add(m_buttonCount, 1);
            writeNavigation(anchorLine(url, m_buttonCount, QString()));
        }
        writeNavigation(QStringLiteral("</td>"));
        writeNavigation(QStringLiteral("</tr>"));
    });
}

void PageBuilder::makeNavigationHomeButton()
{
    withErrorPath(makerModule(), QStringLiteral("makeNavigationHomeButton"), [&] {
        makeNavigationButton(QStringLiteral("../") + Support::rootPageLink(), QStringLiteral("Home"));
    });
}

void PageBuilder::makeNavigationBackButton()
{
    withErrorPath(makerModule(), QStringLiteral("makeNavigationBackButton"),
                  [&] { makeNavigationButton(QStringLiteral("javascript:goBack()"), QStringLiteral("Back")); });
}

void PageBuilder::makeBranchNavigationHeader()
{
    startNavigationHeader();
    makeNavigationHomeButton();
}

void PageBuilder::makeRootNavigationFooter()
{
    withErrorPath(makerModule(), QStringLiteral("makeRootNavigationFooter"), [&] {
        while (m_buttonCount < m_buttons)
            makeNavigationButton(QString(), QString());
        completeNavigationFooter();
    });
}

void PageBuilder::makeBranchNavigationFooter()
{
    withErrorPath(makerModule(), QStringLiteral("makeBranchNavigationFooter"), [&] {
        while (m_buttonCount < m_buttons - 1)
            makeNavigationButton(QString(), QString());
        makeNavigationBackButton();
        completeNavigationFooter();
    });
}

void PageBuilder::makeLeafNavigationFooter()
{
    withErrorPath(makerModule(), QStringLiteral("makeLeafNavigationFooter"), [&] {
        makeNavigationHomeButton();
        makeNavigationButton(QStringLiteral("javascript:scrollup()"), QStringLiteral("Up"));
        for (int blank = 0; blank < 4; ++blank)
            makeNavigationButton(QString(), QString());
        makeNavigationButton(QStringLiteral("javascript:scrolldown()"), QStringLiteral("Down"));
        makeNavigationBackButton();
        completeNavigationFooter();
    });
}

void PageBuilder::makeselectorNavigationFooter()
{
    withErrorPath(makerModule(), QStringLiteral("makeselectorNavigationFooter"), [&] {
        makeNavigationHomeButton();
        makeNavigationDoubleButton(QStringLiteral("javascript:select()"),
                                   QStringLiteral("Select The Item CurrentlyDisplayed On The Left"));
        makeNavigationButton(QStringLiteral("javascript:pageup()"), QStringLiteral("Page Up"));
        makeNavigationButton(QStringLiteral("javascript:rowup()"), QStringLiteral("Up"));
        makeNavigationButton(QStringLiteral("javascript:rowdown()"), QStringLiteral("Down"));
        makeNavigationButton(QStringLiteral("javascript:pagedown()"), QStringLiteral("Page Down"));
        makeNavigationBackButton();
        completeNavigationFooter();
    });
}
