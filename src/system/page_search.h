// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/page_references.h"

#include <QList>
#include <QString>

// Plain text in the page sources of a kiosk system.
namespace PageSearch {

// Every line of every page source (the page-type line included) that holds
// text, in the order of PageReferences::pageSourcesOf and then by line; each
// line once however often it holds the text. Lines are decoded as the maker
// decodes them. A page source that cannot be read gives its line-0 row
// (PageReferences::readPageSource) in its place; an empty text finds nothing.
QList<PageReferences::ReferenceLine> linesContaining(const QString& kioskFolder, const QString& text, bool matchCase);

} // namespace PageSearch
