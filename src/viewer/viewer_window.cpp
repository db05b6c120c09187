// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/viewer_window.h"

#include "base/int16.h"
#include "config/kiosk_system.h"
#include "platform/messages.h"
#include "platform/session.h"
#include "runtime/error_handler.h"
#include "runtime/log_file.h"
#include "util/rounding.h"
#include "viewer/kiosk_web_page.h"
#include "viewer/mouse.h"
#include "viewer/navigation_guard.h"
#include "viewer/page_check.h"
#include "viewer/viewer_keys.h"
#include "workbench/workbench.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QWindow>
#include <algorithm>

namespace {

const QString kModule = ViewerWindow::moduleName();

const char* const kApologyCaption =
    QT_TRANSLATE_NOOP("ViewerWindow", "Our apologies - a system error has occurred.\r\n\r\n"
                                      "You should shortly be returned to the last page "
                                      "that you were viewing.\r\n\r\n"
                                      "If this problem persists, please inform one of our "
                                      "staff.");

std::int16_t roundToInt16(double value)
{
    const double rounded = util::roundHalfToEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        Errors::raise(Errors::Overflow);
    return static_cast<std::int16_t>(rounded);
}

// Clicks the element "b" + button in the frame named "nav", when both exist.
QString clickScript(std::int16_t button)
{
    return QStringLiteral(R"JS((function (id) {
    var frames = window.frames;
    for (var i = 0; frames && i < frames.length; ++i) {
        try {
            if (frames[i].name !== "nav")
                continue;
            var element = frames[i].document.getElementById(id);
            if (element) {
                element.click();
                return true;
            }
        } catch (e) {
        }
        return false;
    }
    return false;
})("%1"))JS")
        .arg(QStringLiteral("b") + QChar(u'0' + button));
}

} // namespace

ViewerWindow::ViewerWindow(Workbench& workbench)
    : SingleInstanceWindow(workbench, moduleName(), Qt::FramelessWindowHint)
{
    setUpWindow();
}

ViewerWindow::~ViewerWindow() { m_destroying = true; }

void ViewerWindow::setUpWindow()
{
    runCommand(workbench().session(), kModule, QStringLiteral("Form_Load"), [&] {
        const std::int16_t screens = workbench().kioskSystem().integerValue(QStringLiteral("screens"));
        for (std::int16_t index = 1; index <= screens; ++index)
            addScreen(index);

        m_shutdownTimer = new QTimer(this);
        m_shutdownTimer->setObjectName(QStringLiteral("ShutdownTimer"));
        m_shutdownTimer->setInterval(10000);
        connect(m_shutdownTimer, &QTimer::timeout, this, [this] { stopShutdownTimer(); });

        m_focusButton = new QPushButton(QStringLiteral("Command1"), this);
        m_focusButton->setObjectName(QStringLiteral("Command1"));
        m_focusButton->setFocusPolicy(Qt::StrongFocus);
        // Every key of the window passes through here before any control
        // sees it, the browsers included.
        qApp->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (old == m_focusButton && now && now != m_focusButton && now->window() == this)
                keepKeyFocus();
        });

        if (QScreen* shownOn = screen())
            setGeometry(shownOn->availableGeometry());
        setWindowState(Qt::WindowMaximized);

        // Beyond the bottom-right corner: the system leaves the pointer in
        // the screen's corner, out of the visitor's way.
        Mouse::setMousePosition(this, 2.0f * float(width()), 2.0f * float(height()));
    });
}

void ViewerWindow::addScreen(std::int16_t index)
{
    auto* browser = new QWebEngineView(this);
    browser->setObjectName(QStringLiteral("webBrowser%1").arg(index));
    browser->setContextMenuPolicy(Qt::NoContextMenu);
    browser->setPage(new KioskWebPage([this, index](const QUrl& url) { return allowNavigation(index, url); }, browser));
    connect(browser, &QWebEngineView::loadFinished, this,
            [this, index](bool succeeded) { pageLoaded(index, succeeded); });
    m_webViews.push_back(browser);
    m_refusedTarget.emplace_back();

    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("lblMessage%1").arg(index));
    label->setFont(QFont(QStringLiteral("MS Sans Serif"), 24));
    label->setWordWrap(true);
    label->hide();
    m_messageLabel.push_back(label);

    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer%1").arg(index));
    timer->setInterval(0);
    connect(timer, &QTimer::timeout, this, [this, index] { hideMessage(index); });
    m_timer.push_back(timer);
}

template <class Control>
Control* ViewerWindow::element(const std::vector<Control*>& controls, int index) const
{
    if (index < 1 || index > int(controls.size()))
        Errors::raise(Errors::ControlArrayElementMissing,
                      QStringLiteral("Control array element '%1' doesn't exist").arg(index));
    return controls[size_t(index - 1)];
}

QWebEngineView* ViewerWindow::webView(int index) const { return element(m_webViews, index); }
QLabel* ViewerWindow::messageLabel(int index) const { return element(m_messageLabel, index); }
QTimer* ViewerWindow::messageTimer(int index) const { return element(m_timer, index); }

void ViewerWindow::setPage(const QString& filePath)
{
    runCommand(workbench().session(), kModule, QStringLiteral("setPage(") + filePath + u')',
               [&] { m_pagePath = filePath; });
}

void ViewerWindow::showPage()
{
    const bool alreadyShown = isVisible();
    show();
    raise();
    activateWindow();
    if (alreadyShown)
        layOutScreens();
}

void ViewerWindow::setShutDownTime(const QDateTime& shutdownTime)
{
    runCommand(
        workbench().session(), kModule,
        [&] {
            return QStringLiteral("setShutdownTime (") + shutdownTime.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                   + u')';
        },
        [&] { raiseFatalProblem(QStringLiteral("setShutdownTime is invalid in edit mode")); });
}

void ViewerWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOutScreens();
}

void ViewerWindow::layOutScreens()
{
    runCommand(workbench().session(), kModule, QStringLiteral("Form_Resize"), [&] {
        const std::int16_t windowWidth = Int16::checked(width());
        const std::int16_t windowHeight = Int16::checked(height());
        const std::int16_t screens = workbench().kioskSystem().integerValue(QStringLiteral("screens"));
        if (screens == 0)
            Errors::raise(Errors::DivisionByZero);
        const std::int16_t screenWidth = roundToInt16(double(windowWidth) / double(screens));
        for (std::int16_t index = 1; index <= screens; ++index) {
            QWebEngineView* browser = webView(index);
            const std::int16_t left = Int16::multiply(std::int16_t(index - 1), screenWidth);
            browser->setGeometry(left, 0, screenWidth, windowHeight);
            fitToDevicePixels(browser);
            if (!m_pagePath.isEmpty()) {
                // Busy until the page has loaded (pageLoaded).
                setCursor(Qt::BusyCursor);
                browser->setUrl(QUrl::fromLocalFile(m_pagePath));
            }

            QLabel* label = messageLabel(index);
            label->hide();
            const double labelLeft = left + screenWidth / 4.0;
            const double labelTop = height() / 4.0;
            label->setGeometry(qRound(labelLeft), qRound(labelTop), qRound(screenWidth / 2.0), qRound(height() / 2.0));
            label->setText(tr(kApologyCaption));
        }
        m_focusButton->setFocus();
        m_focusButton->move(Int16::add(windowWidth, 100), 0);
    });
}

// One CSS pixel to one device pixel, as on the kiosk's own screen: a desktop
// scaled to 200 % would otherwise lay the page out in half the kiosk's width.
void ViewerWindow::fitToDevicePixels(QWebEngineView* browser) const
{
    browser->setZoomFactor(std::clamp(1.0 / devicePixelRatioF(), 0.25, 5.0));
}

bool ViewerWindow::event(QEvent* event)
{
    // Moved to a screen of another scale.
    if (event->type() == QEvent::ScreenChangeInternal)
        for (QWebEngineView* browser : m_webViews)
            fitToDevicePixels(browser);
    return SingleInstanceWindow::event(event);
}

bool ViewerWindow::isViewerKeyEvent(QObject* watched) const
{
    if (watched == windowHandle())
        return true;
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget && widget->window() == this;
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        break;
    default:
        return false;
    }
    if (!isViewerKeyEvent(watched))
        return false;
    // Every key of the window is consumed here; no control ever receives one.
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1)
            handleKey(text.at(0).unicode());
    }
    return true;
}

void ViewerWindow::handleKey(int keyCode)
{
    runCommand(
        workbench().session(), kModule,
        [&] { return QStringLiteral("Form_KeyPress(") + QString::number(keyCode) + u')'; },
        [&] {
            const ViewerKeys::KeyCommand command =
                ViewerKeys::keyCommand(keyCode, workbench().kioskSystem().integerValue(QStringLiteral("remotescreen")));
            if (command.closesViewer)
                close();
            const std::int16_t screens = workbench().kioskSystem().integerValue(QStringLiteral("screens"));
            if (command.screen >= 1 && command.screen <= screens)
                navigate(command.screen, command.button);
        });
}

void ViewerWindow::keepKeyFocus()
{
    runCommand(workbench().session(), kModule, QStringLiteral("Command1_LostFocus"),
               [&] { m_focusButton->setFocus(); });
}

void ViewerWindow::navigate(std::int16_t screen, std::int16_t button)
{
    runCommand(
        workbench().session(), kModule,
        [&] { return QStringLiteral("navigate(browser?,") + QString::number(button) + u')'; },
        [&] { webView(screen)->page()->runJavaScript(clickScript(button), QWebEngineScript::ApplicationWorld); });
}

bool ViewerWindow::allowNavigation(std::int16_t index, const QUrl& url)
{
    return runCommand(
        workbench().session(), kModule,
        [&] { return QStringLiteral("webBrowser_BeforeNavigate2(") + QString::number(index) + u')'; },
        [&] {
            const QString target = NavigationGuard::targetText(url);
            logMessage(workbench().session(), QStringLiteral("webBrowser_BeforeNavigate2(") + QString::number(index)
                                                  + QStringLiteral(") ") + target);
            if (NavigationGuard::allows(workbench().session(), target))
                return true;
            m_refusedTarget[size_t(index - 1)] = target;
            // The browser is in the middle of its navigation: the modal box
            // waits until the refusal has been returned to it.
            QMetaObject::invokeMethod(
                this,
                [this, index, target] {
                    errorMessage(index, QStringLiteral("webBrowser_BeforeNavigate2"),
                                 tr("%1 does not exist").arg(target));
                },
                Qt::QueuedConnection);
            return false;
        });
}

void ViewerWindow::pageLoaded(std::int16_t index, bool succeeded)
{
    runCommand(
        workbench().session(), kModule,
        [&] { return QStringLiteral("webBrowser_DownloadComplete(") + QString::number(index) + u')'; },
        [&] {
            unsetCursor();
            // A load the guard refused ends unsuccessfully; the engine
            // then reports the refused target as the location of a
            // browser that had no page yet. Nothing new is shown.
            if (!succeeded && NavigationGuard::targetText(webView(index)->url()) == m_refusedTarget[size_t(index - 1)])
                return;
            checkNavigate(index);
        });
}

void ViewerWindow::checkNavigate(std::int16_t screen)
{
    runCommand(
        workbench().session(), kModule,
        [&] { return QStringLiteral("checkNavigate(") + QString::number(screen) + u')'; },
        [&] {
            const QString location = NavigationGuard::targetText(webView(screen)->url());
            if (location.isEmpty())
                return;
            QPointer<ViewerWindow> self(this);
            webView(screen)->page()->runJavaScript(PageCheck::inspectionScript(), QWebEngineScript::ApplicationWorld,
                                                   [self, screen, location](const QVariant& inspection) {
                                                       if (self && !self->m_destroying)
                                                           self->completeCheck(screen, location, inspection);
                                                   });
        });
}

void ViewerWindow::completeCheck(std::int16_t screen, const QString& location, const QVariant& inspection)
{
    runCommand(
        workbench().session(), kModule,
        [&] { return QStringLiteral("checkNavigate(") + QString::number(screen) + u')'; },
        [&] {
            const QString reason = PageCheck::failureReason(inspection);
            if (reason.isEmpty())
                return;
            errorMessage(screen, QStringLiteral("checkNavigate"), tr("%1 in %2").arg(reason, location));
            // One entry back, by index: the engine's own back command passes over
            // pages left without a user gesture, which is how keys click buttons
            // here. Without an earlier page the page stays as it is.
            QWebEngineHistory* history = webView(screen)->history();
            const int current = history->currentItemIndex();
            if (current > 0)
                history->goToItem(history->itemAt(current - 1));
        });
}

void ViewerWindow::errorMessage(std::int16_t, const QString&, const QString& message)
{
    runCommand(workbench().session(), kModule, QStringLiteral("errorMessage"),
               [&] { Messages::show(workbench().session(), message); });
}

void ViewerWindow::hideMessage(std::int16_t index)
{
    runCommand(workbench().session(), kModule, QStringLiteral("Timer_Timer"), [&] {
        messageLabel(index)->hide();
        webView(index)->show();
        messageTimer(index)->stop();
    });
}

void ViewerWindow::stopShutdownTimer()
{
    runCommand(workbench().session(), kModule, QStringLiteral("ShutdownTimer_Timer"), [&] {
        m_shutdownTimer->stop();
        logMessage(workbench().session(), QStringLiteral("ShutdownTimer should not tick in edit mode"));
    });
}
