// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "input_lock.h"

#include <QKeyEvent>
#include <QWheelEvent>

InputLock::InputLock(QKeySequence quitKeys, QObject* parent) : QObject(parent), m_quitKeys(std::move(quitKeys)) {}

bool InputLock::isEscapeKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return true;
    switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Menu:
    case Qt::Key_Print:
    case Qt::Key_SysReq:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Control:
        return true;
    default:
        break;
    }
    // Browser, media, launch and power keys lie in one block of key codes.
    return key >= Qt::Key_Back && key < Qt::Key_Select;
}

bool InputLock::isQuitKey(const QKeyEvent& event) const
{
    if (m_quitKeys.isEmpty())
        return false;
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return QKeyCombination(modifiers, Qt::Key(event.key())) == m_quitKeys[0];
}

bool InputLock::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (isQuitKey(key)) {
            if (event->type() == QEvent::KeyPress)
                emit quitRequested();
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress && !m_blocked)
            m_lastInput = QDateTime::currentDateTime();
        if (m_blocked || isEscapeKey(key.key(), key.modifiers())) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::Wheel:
        if (m_blocked || (static_cast<const QWheelEvent*>(event)->modifiers() & Qt::ControlModifier))
            return true;
        m_lastInput = QDateTime::currentDateTime();
        return false;
    case QEvent::NativeGesture:
    case QEvent::Gesture:
    case QEvent::GestureOverride:
    case QEvent::ContextMenu:
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        if (m_blocked)
            return true;
        m_lastInput = QDateTime::currentDateTime();
        return false;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return m_blocked;
    default:
        return false;
    }
}
