// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

// The author's hands in modal windows that the program runs with its own exec(): each step runs once the next
// modal window (a dialog or a message box) is up and active, and is handed the widget that has the keyboard focus.
// A step that ends one window may open the next; the following step waits for it. A modal window that stays open for
// five seconds without a step fails the test and is closed, so a fault cannot hang the test. Header-only: GUI
// tests only.
class ModalKeys {
public:
    using Step = std::function<void(QWidget* focused)>;

    explicit ModalKeys(std::vector<Step> steps) : m_steps(std::move(steps))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
        m_waiting.start();
    }

    bool finished() const { return m_next == m_steps.size(); }

private:
    void poll()
    {
        if (m_handled && !m_handled->isVisible())
            m_handled = nullptr;
        QWidget* modal = QApplication::activeModalWidget();
        QWidget* focused = QApplication::focusWidget();
        if (!m_pending && modal && m_waiting.elapsed() > 5000) {
            ADD_FAILURE() << "after step " << m_next << ": the modal window " << modal->windowTitle().toStdString()
                          << " stayed open";
            m_waiting.restart();
            modal->close();
            return;
        }
        if (m_pending || finished() || !modal || modal == m_handled || !modal->isActiveWindow() || !focused
            || focused->window() != modal)
            return;
        m_handled = modal;
        m_pending = true;
        // Run outside the timer, which does not fire again while its own slot runs a nested event loop.
        QTimer::singleShot(0, [this, focused = QPointer<QWidget>(focused)] {
            m_pending = false;
            m_waiting.restart();
            const Step step = m_steps.at(m_next++);
            step(focused);
        });
    }

    std::vector<Step> m_steps;
    size_t m_next = 0;
    QPointer<QWidget> m_handled;
    bool m_pending = false;
    QElapsedTimer m_waiting;
    QTimer m_timer;
};
