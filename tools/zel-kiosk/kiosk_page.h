// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWebEnginePage>
#include <functional>

class QWebEngineProfile;
class SpeechEngine;

// The page of one kiosk screen: every navigation, in the page or a frame of
// it, is put to the guard first; no window, pop-up, dialog (alert, confirm,
// prompt, file chooser), full-screen request or permission is ever granted;
// text cannot be selected or dragged and no context menu opens. Once a page
// has loaded and two frames have been drawn, the page says so (painted): a
// page that never gets there (a frozen or black screen) stays unreported.
class KioskPage : public QWebEnginePage {
    Q_OBJECT

public:
    // Returns true to let the navigation to the URL go ahead.
    using Guard = std::function<bool(const QUrl& url)>;

    KioskPage(QWebEngineProfile* profile, Guard guard, QObject* parent);

    // The pages speak through speech (none: they stay silent): the kiosk
    // script hands each text to the console as "zel-kiosk-say:" and, queued,
    // "+", then the language, a blank and the text; nothing after the colon
    // stops the speech. Takes effect from the next page loaded.
    void setSpeech(SpeechEngine* speech);

signals:
    void painted(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message, const QString& defaultValue,
                          QString* result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;

private:
    Guard m_guard;
    SpeechEngine* m_speech = nullptr;
};
