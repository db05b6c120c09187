#include "kiosk_screen.h"

#include "viewer/mouse.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
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
}

void KioskScreen::showOn(const QRect& area, bool wholeScreen)
{
    if (QScreen* screen = QGuiApplication::screenAt(area.center()))
        setScreen(screen);
    setGeometry(area);
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

void KioskScreen::closeEvent(QCloseEvent* event)
{
    if (m_closeAllowed)
        event->accept();
    else
        event->ignore();
}
