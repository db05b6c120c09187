// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workbench/single_instance_window.h"

#include <QString>
#include <cstdint>
#include <vector>

class QDateTime;
class QLabel;
class QPushButton;
class QTimer;
class QUrl;
class QWebEngineView;
class Workbench;

// The kiosk viewer: shows a made page as the kiosk shows it, one browser per
// configured screen side by side in a frameless maximised window, with keys
// standing in for touches on the navigation bars. It always works in edit
// mode.
//
// Use (the page editor's View commands):
//     ViewerWindow& viewer = workbench.instance<ViewerWindow>();
//     viewer.setPage(htmlPath);
//     viewer.showPage();
// The workbench creates the one window on first use (reading "screens" and
// moving the mouse pointer out of the way) and returns the same window until
// it is closed; closing it (the key "z" or "Z", or the program closing every
// window) destroys it, and the next use creates it afresh. Callers must not
// keep the reference across a close.
//
// Pages are laid out one CSS pixel to one device pixel, whatever the
// desktop's scale: the kiosk's screen size in device pixels shows the page as
// the kiosk does.
//
// Every layout (each change of the window's size, including the first show)
// loads the page path into every browser; showing a window that is already
// shown runs no layout, so a new page path shows at the next layout only.
// A key clicks the button "b" + number in the frame "nav" of its screen's
// page; a page without that frame or element ignores the key. Every navigation passes the guard:
// it is logged as "webBrowser_BeforeNavigate2(" + screen + ") " + target, and
// anything other than a "javascript:" link or an existing local file is
// refused with the message target + " does not exist" (shown once the engine
// has been given the refusal). After every completed
// load the page must be a frameset with the two frames "nav" and "con";
// otherwise the reason + " in " + location is shown and the browser steps
// back one page (a browser with no earlier page keeps the page).
//
// Messages go through Messages::show. Unexpected failures go to the error
// path with the module "frmViewPage" and end the program.
class ViewerWindow : public SingleInstanceWindow {
    Q_OBJECT
public:
    // The module its messages report.
    static QString moduleName() { return QStringLiteral("frmViewPage"); }
    ~ViewerWindow() override;

    // Stores the full path of the made HTML file to show. Loads nothing by
    // itself: the browsers load it at the next layout (when the window is shown).
    void setPage(const QString& filePath);
    QString page() const { return m_pagePath; }
    // Shows the window with the page path loaded in every browser. A window
    // that is already shown runs no layout by itself, so it is laid out again:
    // a View from the editor always shows the page asked for.
    void showPage();

    // Refused: there is no shutdown in edit mode. Always a fatal report
    // ("setShutdownTime is invalid in edit mode"); never returns.
    void setShutDownTime(const QDateTime& shutdownTime);

    // The controls by their index, 1 to the number of screens the window was
    // created with.
    int screenCount() const { return int(m_webViews.size()); }
    QWebEngineView* webView(int index) const;
    QLabel* messageLabel(int index) const;
    QTimer* messageTimer(int index) const;
    QTimer* shutdownTimer() const { return m_shutdownTimer; }
    QPushButton* focusButton() const { return m_focusButton; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class Workbench;
    explicit ViewerWindow(Workbench& workbench);

    void setUpWindow();
    void layOutScreens();
    void fitToDevicePixels(QWebEngineView* browser) const;
    void handleKey(int keyCode);
    void keepKeyFocus();
    void navigate(std::int16_t screen, std::int16_t button);
    bool allowNavigation(std::int16_t index, const QUrl& url);
    void pageLoaded(std::int16_t index, bool succeeded);
    void checkNavigate(std::int16_t screen);
    void completeCheck(std::int16_t screen, const QString& location, const QVariant& inspection);
    void errorMessage(std::int16_t screen, const QString& procedureName, const QString& message);
    void hideMessage(std::int16_t index);
    void stopShutdownTimer();

    void addScreen(std::int16_t index);
    // The element at a 1-based index; a missing one raises a failure.
    template <class Control>
    Control* element(const std::vector<Control*>& controls, int index) const;
    bool isViewerKeyEvent(QObject* watched) const;

    QString m_pagePath;
    bool m_destroying = false;
    std::vector<QWebEngineView*> m_webViews;
    // Per screen: the last target the guard refused.
    std::vector<QString> m_refusedTarget;
    std::vector<QLabel*> m_messageLabel;
    std::vector<QTimer*> m_timer;
    QTimer* m_shutdownTimer = nullptr;
    QPushButton* m_focusButton = nullptr;
};
