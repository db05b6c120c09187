// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed parts of a page's files: document headers, the content body and
// the frameset of the main file.
#include "maker/page_frame.h"

#include "config/kiosk_system.h"
#include "config/screen_reach.h"
#include "maker/html_escape.h"
#include "maker/maker_module.h"
#include "maker/page_output.h"

#include "runtime/error_handler.h"

void makeHeader(const PageOutput& page, TextFiles::OutputFile& file, const QString& frameName)
{
    inProcedure(
        makerModule(),
        [&] {
            return QStringLiteral("makeHeader(") + QString::number(file.handle()) + QStringLiteral(",") + frameName
                   + QStringLiteral(")");
        },
        [&] {
            const QString language = page.make().kiosk.stringValue(QStringLiteral("language"));
            file.printLine(language.isEmpty() ? QStringLiteral("<html>")
                                              : QStringLiteral("<html lang=\"") + Html::encodeAttribute(language)
                                                    + QStringLiteral("\">"));
            file.printLine(QStringLiteral("<head>"));
            file.printLine(QStringLiteral("<title>") + page.title() + QStringLiteral(" - ") + frameName
                           + QStringLiteral("</title>"));
            file.printLine(QStringLiteral("<link rel=\"stylesheet\" href=\"../stylesheet.css\">"));
            file.printLine(QStringLiteral("<script language=\"javascript\" type=\"Text/javascript\" "
                                          "src=\"../frame_script.js\"></script>"));
            // When the page is on show, for the kiosk script to leave it.
            if (frameName == QLatin1String("Main") && !page.schedule().always())
                file.printLine(QStringLiteral("<meta name=\"kiosk-show\" content=\"")
                               + Html::encodeAttribute(page.schedule().toAttribute()) + QStringLiteral("\">"));
            // The screen's size and height on the wall, for the kiosk script
            // to keep every touch target within reach.
            if (const ScreenReach reach = ScreenReach::of(page.make().kiosk);
                frameName == QLatin1String("Main") && reach.known())
                file.printLine(QStringLiteral("<meta name=\"kiosk-reach\" content=\"") + reach.attribute()
                               + QStringLiteral("\">"));
            file.printLine(QStringLiteral("</head>"));
        });
}

void makeContentHeader(PageOutput& page)
{
    inProcedure(makerModule(), QStringLiteral("makeContentHeader"), [&] {
        makeHeader(page, page.contentFile(), QStringLiteral("Content"));
        page.writeContent(QStringLiteral("<body>"));
    });
}

void makeContentFooter(PageOutput& page)
{
    inProcedure(makerModule(), QStringLiteral("makeContentFooter"), [&] {
        page.writeContent(QStringLiteral("</body>"));
        page.writeContent(QStringLiteral("</html>"));
    });
}

void makeMainPage(PageOutput& page, std::int16_t contentWidth, std::int16_t navigationWidth, const QString& scrolling,
                  bool withOnload)
{
    inProcedure(makerModule(), QStringLiteral("makeMainPage"), [&] {
        TextFiles::OutputFile& mainFile = page.mainFile();
        makeHeader(page, mainFile, QStringLiteral("Main"));
        mainFile.print(QStringLiteral("<frameset cols=\"") + QString::number(contentWidth) + QStringLiteral(",")
                       + QString::number(navigationWidth) + QStringLiteral("\" frameBorder=0 frameSpacing=0 border=0"));
        mainFile.printLine(withOnload ? QStringLiteral(" onload=\"init()\">") : QStringLiteral(">"));
        mainFile.printLine(QStringLiteral("<frame src=\"") + Html::encodeAttribute(page.place().contentFileName)
                           + QStringLiteral("\" name=\"con\" frameborder=0 marginwidth=0 scrolling=") + scrolling
                           + QStringLiteral(">"));
        mainFile.printLine(QStringLiteral("<frame src=\"") + Html::encodeAttribute(page.place().navigationFileName)
                           + QStringLiteral("\" name=\"nav\" frameborder=0 marginwidth=0 scrolling=no>"));
        mainFile.printLine(QStringLiteral("</frameset>"));
        mainFile.printLine(QStringLiteral("</html>"));
    });
}
