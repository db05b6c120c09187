// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The text directives: #title, #head, #para, #html and #break.
#include "maker/text_blocks.h"

#include "maker/html_escape.h"
#include "maker/maker_module.h"
#include "maker/page_output.h"

#include "base/blanks.h"
#include "runtime/error_handler.h"

namespace {

// The text after the first blank of the line, trimmed; "" without a blank.
QString textAfterFirstBlank(const QString& line)
{
    const qsizetype blank = line.indexOf(u' ');
    return blank < 0 ? QString() : trimBlanks(line.mid(blank + 1));
}

// Copies the following plain lines until a directive line (held) or the end.
void copyBlock(PageOutput& page, bool escape)
{
    DirectiveReader& reader = page.reader();
    while (reader.nextBlockLine())
        page.writeContent(escape ? Html::encode(reader.currentLine()) : reader.currentLine());
}

} // namespace

void copyTitle(PageOutput& page)
{
    inProcedure(makerModule(), QStringLiteral("copyTitle"), [&] {
        const QString title = textAfterFirstBlank(page.reader().currentLine());
        page.setTitle(Html::encode(title));
        if (!page.title().isEmpty()) {
            page.tellUse(PageOutput::Use::TitleText, title);
            page.writeContent(QStringLiteral("<p class=\"title\">") + page.title() + QStringLiteral("</p>"));
        }
    });
}

void copyHead(PageOutput& page, const QString& cssClass)
{
    inProcedure(makerModule(), QStringLiteral("copyHead"), [&] {
        const QString heading = Html::encode(textAfterFirstBlank(page.reader().currentLine()));
        if (!heading.isEmpty())
            page.writeContent(QStringLiteral("<p class=\"") + cssClass + QStringLiteral("_head\">") + heading
                              + QStringLiteral("</p>"));
    });
}

void copyPara(PageOutput& page, const QString& cssClass)
{
    inProcedure(
        makerModule(), [&] { return QStringLiteral("copyPara(") + cssClass + QStringLiteral(")"); },
        [&] {
            page.writeContent(QStringLiteral("<p class=\"") + cssClass + QStringLiteral("\">"));
            copyBlock(page, true);
            page.writeContent(QStringLiteral("</p>"));
        });
}

void copyHTML(PageOutput& page)
{
    inProcedure(makerModule(), QStringLiteral("copyHTML"), [&] { copyBlock(page, false); });
}

void insertBreak(PageOutput& page)
{
    inProcedure(makerModule(), QStringLiteral("insertBreak"),
                [&] { page.writeContent(QStringLiteral("<br clear=all>")); });
}
