// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTimer;
class QWebEngineView;

// One screen of the kiosk: a frameless window over a real screen (or its
// share of one) holding the browser, and a black cover shown over it while
// the kiosk is closed. The window refuses to close (Alt+F4 of a window
// manager, a close request of the session) until the kiosk ends. In a
// desktop session it takes the screen back whenever it is hidden,
// minimised ("show desktop"), taken out of full screen or another program's
// window becomes the active one; only a kiosk session (cage) keeps the rest
// of the desktop out of reach altogether.
class KioskScreen : public QWidget {
    Q_OBJECT

public:
    explicit KioskScreen(int index);

    QWebEngineView* view() const { return m_view; }
    QWidget* cover() const { return m_cover; }
    int index() const { return m_index; }

    // Shows the window on the area, full-screen when it is a whole screen.
    void showOn(const QRect& area, bool wholeScreen);
    void setCovered(bool covered);
    void allowClose() { m_closeAllowed = true; }
    // Whether the window holds its place: shown, not minimised, full-screen
    // when it has a whole screen.
    bool holdsItsPlace() const;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void takeBack();

    int m_index;
    QWebEngineView* m_view;
    QWidget* m_cover;
    QTimer* m_takeBack;
    QRect m_area; // empty until showOn
    bool m_wholeScreen = false;
    bool m_closeAllowed = false;
};
