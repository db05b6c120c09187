#pragma once

#include <QWebEnginePage>
#include <functional>

// The page of one viewer browser. Every navigation it is asked to make, in
// the main frame or in a frame of it, is first put to the guard, which
// decides alone; the page shows no dialogs of its own and opens no windows.
class KioskWebPage : public QWebEnginePage {
    Q_OBJECT

public:
    // Returns true to let the navigation to the URL go ahead.
    using Guard = std::function<bool(const QUrl& url)>;

    KioskWebPage(Guard guard, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // Script messages of the pages are not the author's business here.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;

private:
    Guard m_guard;
};
