// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/preview_web_page.h"

#include <QUuid>
#include <QWebEngineScript>

PreviewWebPage::PreviewWebPage(Guard guard, QObject* parent)
    : KioskWebPage(std::move(guard), parent),
      m_loadedPrefix(QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(" loaded "))
{}

// The frame element's own src set again (the value the made page holds, not
// a resolved one) makes the engine load the frame's file afresh; the load
// event on the element reports it. The script runs apart from the pages'.
void PreviewWebPage::reloadContent(int serial)
{
    const QString script = QStringLiteral(R"JS((function () {
    var con = document.getElementsByName("con")[0];
    if (!con || !con.getAttribute("src"))
        return false;
    con.addEventListener("load", function () { console.log("%1%2"); }, {once: true});
    con.setAttribute("src", con.getAttribute("src"));
    return true;
})())JS")
                               .arg(m_loadedPrefix)
                               .arg(serial);
    runJavaScript(script, QWebEngineScript::ApplicationWorld, [this, serial](const QVariant& started) {
        if (!started.toBool())
            emit contentNotReloaded(serial);
    });
}

void PreviewWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                              int lineNumber, const QString& sourceId)
{
    if (message.startsWith(m_loadedPrefix)) {
        bool number = false;
        const int serial = message.mid(m_loadedPrefix.size()).toInt(&number);
        if (number)
            emit contentLoaded(serial);
        return;
    }
    KioskWebPage::javaScriptConsoleMessage(level, message, lineNumber, sourceId);
}
