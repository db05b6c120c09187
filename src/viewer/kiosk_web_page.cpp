// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/kiosk_web_page.h"

#include "viewer/page_script.h"

#include <QUuid>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

// Script links never reach acceptNavigationRequest: the engine runs them in
// place. This script, in every frame and out of the pages' reach, reports each
// link activated (by a click or a key's click()) before its action runs. The
// report carries a token that the pages cannot know.
QString linkReportScript(const QString& prefix)
{
    return QStringLiteral(R"JS((function () {
    window.addEventListener("click", function (event) {
        var target = event.target;
        var link = target && target.closest ? target.closest("a[href], area[href]") : null;
        if (link && /^javascript:/i.test(link.href))
            console.log("%1" + link.href);
    }, true);
})();)JS")
        .arg(prefix);
}

} // namespace

KioskWebPage::KioskWebPage(Guard guard, QObject* parent)
    : QWebEnginePage(parent), m_guard(std::move(guard)),
      m_linkReportPrefix(QUuid::createUuid().toString(QUuid::WithoutBraces) + u' ')
{
    insertPageScript(*this, QStringLiteral("linkReport"), linkReportScript(m_linkReportPrefix),
                     QWebEngineScript::DocumentCreation, QWebEngineScript::ApplicationWorld, true);

    // The viewer shows the kiosk in its edit mode: the kiosk script then keeps
    // the author's page instead of returning to the root page when idle.
    insertPageScript(*this, QStringLiteral("editMode"), QStringLiteral("window.zelEditMode = true;"),
                     QWebEngineScript::DocumentCreation, QWebEngineScript::MainWorld, true);
}

void KioskWebPage::setShowAt(const QString& moment)
{
    const QString name = QStringLiteral("showAt");
    for (const QWebEngineScript& script : scripts().find(name))
        scripts().remove(script);
    if (!moment.isEmpty())
        insertPageScript(*this, name, QStringLiteral("window.zelShowAt = \"%1\";").arg(moment),
                         QWebEngineScript::DocumentCreation, QWebEngineScript::MainWorld, true);
}

bool KioskWebPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) { return m_guard(url); }

void KioskWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int, const QString&)
{
    // A script link is always allowed; the guard logs it like every navigation.
    if (message.startsWith(m_linkReportPrefix))
        m_guard(QUrl(message.mid(m_linkReportPrefix.size())));
}
