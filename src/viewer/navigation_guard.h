// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QUrl;
class Session;

// The rule that keeps the kiosk viewer inside the kiosk system: only script
// links and existing local files may be opened.
namespace NavigationGuard {

// True when the first characters of text (as many as prefix has), lower-cased,
// equal prefix. prefix is given in lower case, so the letter case of text does
// not count. Runs on the viewer's error path ("startsWith( text,prefix)").
bool startsWith(Session& session, const QString& text, const QString& prefix);

// The target as the guard tests, logs and reports it: a file URL as its local
// path with native separators (the browser has already resolved the
// backslash links of made pages, "..\news\today.htm", into it), anything
// else as the URL's text ("javascript:goBack()", "http://example.com/").
QString targetText(const QUrl& url);

// True for "javascript:" in any letter case and for the path of an existing
// file (not a folder).
bool allows(Session& session, const QString& target);

} // namespace NavigationGuard
