// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiosk_screen.h"

#include "event_log.h"
#include "viewer/mouse.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

KioskScreen::KioskScreen(int index)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_index(index)
{
    setObjectName(QStringLiteral("kioskScreen%1").arg(index));
    setWindowTitle(QStringLiteral("zel-kiosk"));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    m_view = new QWebEngineView(this);
    m_view->setObjectName(QStringLiteral("webBrowser%1").arg(index));
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->setAcceptDrops(false);

    m_cover = new QWidget(this);
    m_cover->setObjectName(QStringLiteral("cover%1").arg(index));
    m_cover->setPalette(black);
    m_cover->setAutoFillBackground(true);
    m_cover->setCursor(Qt::BlankCursor);
    m_cover->hide();

    // A little later, so that a window manager's change is over first.
    m_takeBack = new QTimer(this);
    m_takeBack->setSingleShot(true);
    m_takeBack->setInterval(250);
    connect(m_takeBack, &QTimer::timeout, this, &KioskScreen::takeBack);
}

void KioskScreen::showOn(const QRect& area, bool wholeScreen)
{
    if (QScreen* screen = QGuiApplication::screenAt(area.center()))
        setScreen(screen);
    setGeometry(area);
    m_area = area;
    m_wholeScreen = wholeScreen;
    if (wholeScreen)
        showFullScreen();
    else
        show();
    // As the viewer does: beyond the bottom-right corner, so the system
    // leaves the pointer in the corner, out of the visitor's way.
    Mouse::setMousePosition(this, 2.0f * float(width()), 2.0f * float(height()));
}

void KioskScreen::setCovered(bool covered)
{
    m_cover->setVisible(covered);
    if (covered)
        m_cover->raise();
}

void KioskScreen::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_view->setGeometry(rect());
    m_cover->setGeometry(rect());
}

bool KioskScreen::holdsItsPlace() const { return isVisible() && !isMinimized() && (!m_wholeScreen || isFullScreen()); }

void KioskScreen::takeBack()
{
    if (m_closeAllowed || m_area.isEmpty())
        return;
    if (!holdsItsPlace()) {
        EventLog::write(QStringLiteral("screen %1: the window was hidden or made smaller: shown again").arg(m_index));
        setWindowState(windowState() & ~Qt::WindowMinimized);
        if (m_wholeScreen) {
            showFullScreen();
        } else {
            setGeometry(m_area);
            showNormal();
        }
    }
    raise();
    activateWindow();
}

void KioskScreen::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (m_closeAllowed || m_area.isEmpty())
        return;
    if (event->type() == QEvent::WindowStateChange && !holdsItsPlace())
        m_takeBack->start();
    // Another program's window became the active one (the kiosk's other screens may be).
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !QApplication::activeWindow())
        m_takeBack->start();
}

void KioskScreen::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!m_closeAllowed && !m_area.isEmpty())
        m_takeBack->start();
}

void KioskScreen::closeEvent(QCloseEvent* event)
{
    if (m_closeAllowed)
        event->accept();
    else
        event->ignore();
}
