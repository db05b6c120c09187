// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class PageOutput;

// The text directives every text page knows, written to the content file:
// #title (also the page's title), #head, #para (escaped text lines), #html
// (lines copied as they are) and #break. A text block runs from the line
// after its directive to the next directive line or the end of the source.
void copyTitle(PageOutput& page);
void copyHead(PageOutput& page, const QString& cssClass);
void copyPara(PageOutput& page, const QString& cssClass);
void copyHTML(PageOutput& page);
void insertBreak(PageOutput& page);
