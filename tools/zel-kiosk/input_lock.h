// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QKeySequence>
#include <QObject>

class QKeyEvent;

// Watches every event of the application before any window or page sees it.
// Keys that would do something beyond the page are swallowed: every
// combination with Ctrl, Alt or Meta (Alt+F4, Ctrl+W, Ctrl+L, Alt+Left,
// Ctrl+Plus...), the function keys (F5, F11...), Escape, Menu, Print and the
// browser, media and launch keys; plain typing, arrows and Enter still reach
// the page. Ctrl with the wheel and touchpad pinches (zoom) are swallowed
// too. While input is blocked (outside the opening hours) every key, mouse,
// touch and wheel event is swallowed. The operator's quit keys always work.
class InputLock : public QObject {
    Q_OBJECT

public:
    InputLock(QKeySequence quitKeys, QObject* parent);

    void setBlocked(bool blocked) { m_blocked = blocked; }
    bool blocked() const { return m_blocked; }
    // When a visitor last pressed, touched or typed.
    QDateTime lastInput() const { return m_lastInput; }
    void setLastInput(const QDateTime& when) { m_lastInput = when; }

    // Whether a key (with its modifiers) is one the lock swallows.
    static bool isEscapeKey(int key, Qt::KeyboardModifiers modifiers);

signals:
    void quitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isQuitKey(const QKeyEvent& event) const;

    QKeySequence m_quitKeys;
    bool m_blocked = false;
    QDateTime m_lastInput = QDateTime::currentDateTime();
};
