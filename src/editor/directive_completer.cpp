// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/directive_completer.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>

using DirectiveReferences::Kind;

DirectiveCompleter::DirectiveCompleter(QPlainTextEdit* text, Sources sources)
    : QObject(text), m_text(text), m_sources(std::move(sources)), m_completer(new QCompleter(this)),
      m_model(new QStringListModel(this))
{
    m_completer->setModel(m_model);
    m_completer->setWidget(m_text);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setMaxVisibleItems(12);
    m_completer->popup()->setObjectName(QStringLiteral("completionList"));
    // Installed after the completer's own, so it sees the list's keys first.
    m_completer->popup()->installEventFilter(this);
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this, &DirectiveCompleter::accept);
    // Typing at the caret (not loading, pasting or undoing whole texts) opens or narrows the list.
    connect(m_text->document(), &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
        if (added + removed > 2 || position + added != m_text->textCursor().position())
            return;
        if (!complete())
            m_completer->popup()->hide();
    });
}

QStringList DirectiveCompleter::candidates(Kind kind) const
{
    switch (kind) {
    case Kind::Directive:
        return DirectiveReferences::directiveNames(m_sources.pageType());
    case Kind::PageReference:
        return DirectiveReferences::pageReferences(m_sources.kioskFolder());
    case Kind::Picture:
        return DirectiveReferences::pictureNames(m_sources.pageFolder());
    default:
        return {};
    }
}

bool DirectiveCompleter::complete()
{
    const QTextCursor cursor = m_text->textCursor();
    if (cursor.hasSelection())
        return false;
    const QString line = cursor.block().text();
    const DirectiveReferences::Part part = DirectiveReferences::typedAt(line, cursor.positionInBlock());
    if (part.kind == Kind::None)
        return false;
    const QStringList names = candidates(part.kind);
    if (names.isEmpty())
        return false;
    const QString prefix = line.mid(part.start, cursor.positionInBlock() - part.start);
    // A name typed out in full needs no list.
    if (names.contains(prefix, Qt::CaseInsensitive) && names.filter(prefix, Qt::CaseInsensitive).size() == 1)
        return false;
    m_part = part;
    if (m_model->stringList() != names)
        m_model->setStringList(names);
    m_completer->setCompletionPrefix(prefix);
    if (m_completer->completionCount() == 0)
        return false;
    m_completer->popup()->setCurrentIndex(m_completer->completionModel()->index(0, 0));
    QRect place = m_text->cursorRect();
    place.setWidth(m_completer->popup()->sizeHintForColumn(0)
                   + m_completer->popup()->verticalScrollBar()->sizeHint().width());
    m_completer->complete(place);
    return true;
}

// Replaces what was typed of the part by the chosen entry; a directive name
// gets the blank its arguments follow.
void DirectiveCompleter::accept(const QString& completion)
{
    QTextCursor cursor = m_text->textCursor();
    const int blockStart = cursor.block().position();
    cursor.setPosition(blockStart + m_part.start);
    cursor.setPosition(m_text->textCursor().position(), QTextCursor::KeepAnchor);
    const bool takesArguments =
        m_part.kind != Kind::Directive
        || !QStringList{QStringLiteral("para"), QStringLiteral("html"), QStringLiteral("break")}.contains(completion);
    m_completer->popup()->hide();
    cursor.insertText(completion + (takesArguments ? QStringLiteral(" ") : QString()));
    m_text->setTextCursor(cursor);
    // After a directive's name, what its first argument may be.
    if (takesArguments)
        complete();
}

bool DirectiveCompleter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_completer->popup() || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab: {
        const QModelIndex current = m_completer->popup()->currentIndex();
        if (!current.isValid())
            return false;
        accept(current.data().toString());
        return true;
    }
    case Qt::Key_Escape:
        m_completer->popup()->hide();
        return true;
    default:
        return false;
    }
}
