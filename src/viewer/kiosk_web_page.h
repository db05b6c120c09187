// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWebEnginePage>
#include <functional>

// The page of one viewer browser. Every navigation it is asked to make, in
// the main frame or in a frame of it, is first put to the guard, which
// decides alone; the page shows no dialogs of its own and opens no windows.
// Script links ("javascript:"), which the engine runs without asking, are
// reported to the guard by a script of the page's own when they are activated.
class KioskWebPage : public QWebEnginePage {
    Q_OBJECT

public:
    // Returns true to let the navigation to the URL go ahead.
    using Guard = std::function<bool(const QUrl& url)>;

    KioskWebPage(Guard guard, QObject* parent);

    // The moment ("2026-12-24T15:00") the kiosk script's clock shows in the
    // documents loaded from now on, for the pages' #show lines; "" the real one.
    void setShowAt(const QString& moment);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // Script messages of the pages are not the author's business here; only
    // the link reports are taken.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;

private:
    Guard m_guard;
    QString m_linkReportPrefix;
};
