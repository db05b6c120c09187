// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/reference_navigation.h"

#include "editor/directive_references.h"
#include "editor/picture_window.h"
#include "pages/files.h"
#include "platform/messages.h"

#include <QDir>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>

using DirectiveReferences::Kind;

ReferenceNavigation::ReferenceNavigation(Session& session, QPlainTextEdit* text, Places places)
    : QObject(text), m_session(session), m_text(text), m_places(std::move(places))
{
    m_text->viewport()->installEventFilter(this);
}

bool ReferenceNavigation::openAtCursor() { return openAt(m_text->textCursor().position()); }

bool ReferenceNavigation::openAt(int position)
{
    const QTextBlock block = m_text->document()->findBlock(position);
    if (!block.isValid())
        return false;
    const DirectiveReferences::Part part = DirectiveReferences::namedAt(block.text(), position - block.position());
    if (part.kind == Kind::PageReference) {
        const QString source =
            DirectiveReferences::pageSourceOf(part.text, m_places.kioskFolder(), m_places.pageFolder());
        if (source.isEmpty() || !Files::fileExists(source)) {
            Messages::show(m_session, tr("Page %1 does not exist").arg(part.text));
            return true;
        }
        m_places.openPage(source);
        return true;
    }
    if (part.kind == Kind::Picture) {
        const QString folder = m_places.pageFolder();
        const QString path = folder.isEmpty() ? QString() : QDir(folder).absoluteFilePath(part.text);
        if (path.isEmpty() || !Files::fileExists(path)) {
            Messages::show(
                m_session,
                tr("Picture %1 does not exist").arg(path.isEmpty() ? part.text : QDir::toNativeSeparators(path)));
            return true;
        }
        QWidget* window = PictureWindow::showPicture(path);
        if (!window)
            Messages::show(m_session, tr("Picture %1 can not be shown").arg(QDir::toNativeSeparators(path)));
        m_lastPicture = window;
        return true;
    }
    return false;
}

bool ReferenceNavigation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_text->viewport() || event->type() != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !(mouse->modifiers() & Qt::ControlModifier))
        return false;
    const int position = m_text->cursorForPosition(mouse->position().toPoint()).position();
    return openAt(position);
}
