// Root, branch and leaf pages: their builders, #button and #image.
#include "maker/maker_module.h"
#include "maker/page_builder.h"
#include "maker/picture_name.h"

#include "config/kiosk_system.h"
#include "pages/support.h"
#include "platform/blanks.h"
#include "runtime/error_handler.h"

#include <cmath>
#include "util/rounding.h"

namespace {

QString number(std::int32_t value) { return QString::number(value); }

} // namespace

std::int16_t PageBuilder::item(const QString& name) const { return m_make.kiosk.integerValue(name); }

void PageBuilder::setLayout(const QString& pageType)
{
    m_navigationHeight = item(QStringLiteral("navigationHeight"));
    m_buttons = item(QStringLiteral("buttons"));
    m_remainingNavigationHeight = m_navigationHeight;
    m_buttonWidth = item(pageType + QStringLiteral("ButtonWidth"));
    m_maximumImageWidth = item(pageType + QStringLiteral("MaximumImageWidth"));
    m_contentAvailableWidth = item(pageType + QStringLiteral("ContentAvailableWidth"));
}

void PageBuilder::makeRoot()
{
    withErrorPath(makerModule(), QStringLiteral("makeRoot"), [&] {
        setLayout(QStringLiteral("root"));
        makeContentHeader();
        startNavigationHeader();
        directiveLoop(&PageBuilder::dispatchRootOrBranch);
        makeContentFooter();
        makeRootPage();
        makeRootNavigationFooter();
    });
}

void PageBuilder::makeRootPage()
{
    withErrorPath(makerModule(), QStringLiteral("makeRootPage"), [&] {
        makeMainPage(item(QStringLiteral("rootContentWidth")), item(QStringLiteral("rootNavigationWidth")),
                     QStringLiteral("no"), false);
    });
}

void PageBuilder::makeBranch()
{
    withErrorPath(makerModule(), QStringLiteral("makeBranch"), [&] {
        setLayout(QStringLiteral("branch"));
        makeContentHeader();
        makeBranchNavigationHeader();
        directiveLoop(&PageBuilder::dispatchRootOrBranch);
        makeContentFooter();
        makeMainPage(item(QStringLiteral("branchContentWidth")), item(QStringLiteral("branchNavigationWidth")),
                     QStringLiteral("no"), false);
        makeBranchNavigationFooter();
    });
}

void PageBuilder::makeLeaf()
{
    withErrorPath(makerModule(), QStringLiteral("makeLeaf"), [&] {
        setLayout(QStringLiteral("leaf"));
        makeContentHeader();
        startNavigationHeader();
        directiveLoop(&PageBuilder::dispatchLeaf);
        makeContentFooter();
        makeMainPage(item(QStringLiteral("leafContentWidth")), item(QStringLiteral("leafNavigationWidth")),
                     QStringLiteral("yes"), false);
        makeLeafNavigationFooter();
    });
}

void PageBuilder::dispatchRootOrBranch(const QString& directive)
{
    if (directive == QLatin1String("para"))
        copyPara(QStringLiteral("branch"));
    else if (directive == QLatin1String("button"))
        insertButton();
    else if (directive == QLatin1String("title"))
        copyTitle();
    else if (directive == QLatin1String("image"))
        insertImage();
    else if (directive == QLatin1String("html"))
        copyHTML();
    else if (directive == QLatin1String("break"))
        insertBreak();
    else if (directive.isEmpty() || directive == QLatin1String("IGNORE"))
        return;
    else
        makeError(QStringLiteral("Expected valid directive"));
}

void PageBuilder::dispatchLeaf(const QString& directive)
{
    if (directive == QLatin1String("para"))
        copyPara(QStringLiteral("leaf"));
    else if (directive == QLatin1String("head"))
        copyHead(QStringLiteral("leaf"));
    else if (directive == QLatin1String("title"))
        copyTitle();
    else if (directive == QLatin1String("image"))
        insertImage();
    else if (directive == QLatin1String("html"))
        copyHTML();
    else if (directive == QLatin1String("break"))
        insertBreak();
    else if (directive == QLatin1String("button"))
        makeError(QStringLiteral("You can not put buttons on a leaf page"));
    else if (directive.isEmpty() || directive == QLatin1String("IGNORE"))
        return;
    else
        makeError(QStringLiteral("Expected valid directive"));
}

void PageBuilder::insertButton()
{
    withErrorPath(makerModule(), QStringLiteral("insertButton"), [&] {
        const QString& arguments = m_reader.directiveArguments();
        if (arguments.isEmpty()) {
            makeNavigationButton(QString(), QString());
            return;
        }
        const qsizetype blank = arguments.indexOf(u' ');
        if (blank < 0) {
            makeError(QStringLiteral("Invalid button directive"));
            return;
        }
        const QString url = pageRefToURL(arguments.left(blank));
        const QString text = trimBlanks(arguments.mid(blank + 1));
        if (text.isEmpty()) {
            makeError(QStringLiteral("Invalid button directive"));
        } else {
            tellUse(Use::ButtonText, text);
            makeNavigationButton(url, text);
        }
    });
}

void PageBuilder::insertImage()
{
    withErrorPath(makerModule(), QStringLiteral("insertImage"), [&] {
        const QString& arguments = m_reader.directiveArguments();
        QString alignment = QStringLiteral("centre");
        std::int16_t percent = 100;
        if (arguments.isEmpty()) {
            makeError(QStringLiteral("no image specified"));
            return;
        }
        const PictureNameSplit split = splitPictureName(arguments);
        if (split.end == PictureNameEnd::UnmatchedQuote) {
            makeError(QStringLiteral("unmatched \" in file name"));
            return;
        }
        const QString& fileName = split.name;
        const QString rest = split.rest.toLower();
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
                    makeError(QStringLiteral("invalid image directive"));
                    percent = 100;
                }
            }
        }
        const std::int32_t requiredWidth =
            std::int32_t(util::roundHalfToEven(double(m_maximumImageWidth) * percent / 100.0));
        std::int32_t scaledHeight = 0;
        std::int32_t scaledWidth = 0;
        QString scaledFileName;
        const bool noScaleUp = false;
        ScaleImage(fileName, 0, requiredWidth, scaledHeight, scaledWidth, scaledFileName, noScaleUp);
        const QString size = QStringLiteral(" width=") + number(scaledWidth) + QStringLiteral(" height=")
                             + number(scaledHeight) + QStringLiteral(" alt=\"\">");
        if (alignment == QLatin1String("centre") || alignment == QLatin1String("center")) {
            const std::int32_t hspace = (std::int32_t(m_contentAvailableWidth) - scaledWidth) / 2;
            writeContent(QStringLiteral("<img src=\"") + PageMaker::encodeAttribute(scaledFileName)
                         + QStringLiteral("\" hspace=") + number(hspace) + size);
            writeContent(QStringLiteral("<br clear=all>"));
        } else if (alignment == QLatin1String("left") || alignment == QLatin1String("right")) {
            writeContent(QStringLiteral("<img src=\"") + PageMaker::encodeAttribute(scaledFileName)
                         + QStringLiteral("\" align=") + alignment + QStringLiteral(" hspace=")
                         + number(item(QStringLiteral("minimumhorizontalspace"))) + size);
        } else {
            makeError(QStringLiteral("invalid image directive"));
            writeContent(QStringLiteral("<img src=\"") + PageMaker::encodeAttribute(fileName)
                         + QStringLiteral("\" alt=\"\">"));
        }
    });
}
