// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workbench/window_focus.h"
#include "workbench/window_order.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>

class KioskSystem;
class QDialog;
class RecoveryCopies;
class Session;

// What the desktop program's windows share, made before the first window and
// handed by reference to every window and dialog: the session they report
// through (message boxes, log, error path, program folder), how a modal dialog, the
// input box and the image chooser are shown, the one instance of each
// single-instance window, which window the keyboard belongs to, and the order
// in which the windows were opened, and the open kiosk system. It must outlive every window it was
// handed to; when it goes, it deletes the single-instance windows still there.
class Workbench {
public:
    // How the windows ask the author. An empty service is the real Qt one;
    // tests hand in an author who acts on the dialogs without a nested event
    // loop and answers the input box and the image chooser.
    struct Services {
        // Shows the dialog modally and returns when it is hidden (QDialog::exec()).
        std::function<void(QDialog& dialog)> runModal;
        // The one-line input box: the text entered, or "" when cancelled.
        std::function<QString(QWidget* parent, const QString& prompt, const QString& title, const QString& preset)>
            askText;
        // Find Image: the picture's full path, or "" when cancelled.
        std::function<QString(QWidget* parent)> chooseImage;
    };

    // The session must outlive the workbench.
    explicit Workbench(Session& session, Services services = {});
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    Session& session() const { return m_session; }

    void runModal(QDialog& dialog) const { m_services.runModal(dialog); }
    // The input box and the image chooser give the asking window the keyboard back.
    QString askText(QWidget* parent, const QString& prompt, const QString& title, const QString& preset)
    {
        QString answer;
        m_focus.runModal(parent, [&] { answer = m_services.askText(parent, prompt, title, preset); });
        return answer;
    }
    QString chooseImage(QWidget* parent)
    {
        QString chosen;
        m_focus.runModal(parent, [&] { chosen = m_services.chooseImage(parent); });
        return chosen;
    }

    // The one window of class Window: made on first use (Window(Workbench&),
    // which may be private to a friend Workbench), afterwards the same one
    // until it is released or destroyed. Callers must not keep the reference
    // across a close.
    template <class Window>
    Window& instance()
    {
        QPointer<QWidget>& slot = m_instances[&Window::staticMetaObject];
        if (!slot)
            slot = new Window(*this);
        return static_cast<Window&>(*slot);
    }
    // True while the one window of class Window exists and has not been released.
    template <class Window>
    bool exists() const
    {
        const auto found = m_instances.find(&Window::staticMetaObject);
        return found != m_instances.end() && !found->second.isNull();
    }
    // Forgets window as its class's instance (it has been closed and only
    // waits for its deletion), so the next instance() makes a new one.
    void release(QWidget* window);

    // The kiosk system open in the main window, which owns it and tells the
    // workbench on each open (nullptr: none). The choosers, the maker dialog,
    // the viewer and the check window work on it. kioskSystem() raises
    // Invalid argument (5) while none is open.
    void setKioskSystem(KioskSystem* system) { m_kioskSystem = system; }
    KioskSystem& kioskSystem() const;
    bool hasKioskSystem() const { return m_kioskSystem != nullptr; }

    // Where editors keep recovery copies of changed pages (nullptr: nowhere).
    // The program's main sets it; it must outlive every editor.
    void setRecoveryCopies(RecoveryCopies* copies) { m_recoveryCopies = copies; }
    RecoveryCopies* recoveryCopies() const { return m_recoveryCopies; }

    WindowFocus& focus() { return m_focus; }
    const WindowOrder& order() const { return m_order; }

private:
    Session& m_session;
    Services m_services;
    KioskSystem* m_kioskSystem = nullptr;
    RecoveryCopies* m_recoveryCopies = nullptr;
    WindowFocus m_focus;
    WindowOrder m_order;
    std::map<const QMetaObject*, QPointer<QWidget>> m_instances;
};
