#include "viewer/kiosk_web_page.h"

KioskWebPage::KioskWebPage(Guard guard, QObject* parent)
    : QWebEnginePage(parent)
    , m_guard(std::move(guard))
{
}

bool KioskWebPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool)
{
    return m_guard(url);
}

void KioskWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) {}
