#pragma once

#include <QWidget>

class QWebEngineView;

// One screen of the kiosk: a frameless window over a real screen (or its
// share of one) holding the browser, and a black cover shown over it while
// the kiosk is closed. The window refuses to close (Alt+F4 of a window
// manager, a close request of the session) until the kiosk ends.
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

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int m_index;
    QWebEngineView* m_view;
    QWidget* m_cover;
    bool m_closeAllowed = false;
};
