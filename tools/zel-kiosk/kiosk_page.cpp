// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiosk_page.h"

#include "viewer/page_script.h"

#include "speech_engine.h"

#include <QWebEngineFullScreenRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace {

// In every frame, out of the pages' reach: nothing can be selected, dragged,
// zoomed by a pinch or by Ctrl and the wheel, and no context menu opens.
const char kLockScript[] = R"JS((function () {
    var stop = function (event) { event.preventDefault(); };
    document.addEventListener("selectstart", stop, true);
    document.addEventListener("dragstart", stop, true);
    document.addEventListener("contextmenu", stop, true);
    window.addEventListener("wheel", function (event) {
        if (event.ctrlKey)
            event.preventDefault();
    }, {capture: true, passive: false});
    var addStyle = function () {
        var style = document.createElement("style");
        style.textContent = "*, *::before, *::after { -webkit-user-select: none !important; user-select: none !important;"
            + " -webkit-user-drag: none !important; -webkit-touch-callout: none !important; }"
            + " html, body { touch-action: pan-x pan-y !important; }";
        (document.head || document.documentElement).appendChild(style);
    };
    if (document.readyState === "loading")
        document.addEventListener("DOMContentLoaded", addStyle);
    else
        addStyle();
})();)JS";

// The kiosk returns to the root page itself after its idleSeconds (logged,
// and not counted as a visit): the page script's own idle time, read from
// the page's idleSecondsBeforeHome, is set beyond any idleSeconds (at most a
// day), in every kiosk system's copy of the script.
const char kIdleScript[] = R"JS(Object.defineProperty(window, "idleSecondsBeforeHome", {
    get: function () { return 2000000; }, set: function () {}, configurable: false});)JS";

// Out of the pages' reach: after the load, two animation frames (the second
// one runs once the first has been drawn) and a word on the console.
const char kPaintedScript[] = R"JS((function () {
    var report = function () {
        requestAnimationFrame(function () {
            requestAnimationFrame(function () { console.debug("zel-kiosk:painted"); });
        });
    };
    if (document.readyState === "complete")
        report();
    else
        window.addEventListener("load", report);
})();)JS";

} // namespace

KioskPage::KioskPage(QWebEngineProfile* profile, Guard guard, QObject* parent)
    : QWebEnginePage(profile, parent), m_guard(std::move(guard))
{
    insertPageScript(*this, QStringLiteral("kioskLock"), QString::fromLatin1(kLockScript),
                     QWebEngineScript::DocumentCreation, QWebEngineScript::ApplicationWorld, true);
    insertPageScript(*this, QStringLiteral("kioskIdle"), QString::fromLatin1(kIdleScript),
                     QWebEngineScript::DocumentCreation, QWebEngineScript::MainWorld, true);
    insertPageScript(*this, QStringLiteral("kioskPainted"), QString::fromLatin1(kPaintedScript),
                     QWebEngineScript::DocumentReady, QWebEngineScript::ApplicationWorld, false);

    QWebEngineSettings* web = settings();
    web->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    web->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    web->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    web->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    web->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    web->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    web->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    web->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    web->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    web->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    web->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    web->setAttribute(QWebEngineSettings::SpatialNavigationEnabled, false);

    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl& origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
}

bool KioskPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) { return m_guard(url); }

QWebEnginePage* KioskPage::createWindow(WebWindowType) { return nullptr; }

void KioskPage::javaScriptAlert(const QUrl&, const QString&) {}

bool KioskPage::javaScriptConfirm(const QUrl&, const QString&) { return false; }

bool KioskPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) { return false; }

QStringList KioskPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) { return {}; }

void KioskPage::setSpeech(SpeechEngine* speech)
{
    m_speech = speech;
    if (!speech || !scripts().find(QStringLiteral("kioskSpeech")).isEmpty())
        return;
    insertPageScript(*this, QStringLiteral("kioskSpeech"), QStringLiteral("window.zelKioskSpeech = true;"),
                     QWebEngineScript::DocumentCreation, QWebEngineScript::MainWorld, false);
}

void KioskPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int, const QString&)
{
    if (message == QLatin1String("zel-kiosk:painted")) {
        emit painted(url());
        return;
    }
    static const QString kSay = QStringLiteral("zel-kiosk-say:");
    if (!m_speech || !message.startsWith(kSay))
        return;
    QString rest = message.mid(kSay.size());
    if (rest.isEmpty()) {
        m_speech->stop();
        return;
    }
    const bool queued = rest.startsWith(u'+');
    if (queued)
        rest.remove(0, 1);
    const qsizetype blank = rest.indexOf(u' ');
    if (blank > 0)
        m_speech->say(rest.mid(blank + 1), rest.left(blank), queued);
}
