// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/dlg_find_replace.h"

#include "editor/text_search.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString notFound(const QString& text) { return u'"' + text + QStringLiteral("\" was not found in this page"); }
} // namespace

dlgFindReplace::dlgFindReplace(Session& session, QPlainTextEdit* text, QWidget* owner)
    : QDialog(owner), m_session(session), m_text(text)
{
    setObjectName(QStringLiteral("dlgFindReplace"));
    setWindowTitle(QStringLiteral("ZEL - Find and Replace"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    m_txtFind = new QLineEdit(this);
    m_txtFind->setObjectName(QStringLiteral("txtFind"));
    fields->addRow(QStringLiteral("Fi&nd:"), m_txtFind);
    m_txtReplace = new QLineEdit(this);
    m_txtReplace->setObjectName(QStringLiteral("txtReplace"));
    fields->addRow(QStringLiteral("Replace &with:"), m_txtReplace);
    layout->addLayout(fields);
    m_chkMatchCase = new QCheckBox(QStringLiteral("Match ca&se"), this);
    m_chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    layout->addWidget(m_chkMatchCase);
    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus->setWordWrap(true);
    layout->addWidget(m_lblStatus);

    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    const auto button = [&](const char* name, const QString& caption) {
        QPushButton* made = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        made->setObjectName(QString::fromLatin1(name));
        return made;
    };
    m_cmdFindNext = button("cmdFindNext", QStringLiteral("Find Ne&xt"));
    m_cmdFindPrevious = button("cmdFindPrevious", QStringLiteral("Find &Previous"));
    m_cmdReplace = button("cmdReplace", QStringLiteral("&Replace"));
    m_cmdReplaceAll = button("cmdReplaceAll", QStringLiteral("Replace &All"));
    m_cmdClose = buttons->addButton(QDialogButtonBox::Close);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    layout->addWidget(buttons);
    // Enter finds the next occurrence, whichever box the author types in.
    for (QPushButton* other : {m_cmdFindPrevious, m_cmdReplace, m_cmdReplaceAll, m_cmdClose})
        other->setAutoDefault(false);
    m_cmdFindNext->setDefault(true);

    connect(m_cmdFindNext, &QPushButton::clicked, this, [this] { findNext(false); });
    connect(m_cmdFindPrevious, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(m_cmdReplace, &QPushButton::clicked, this, &dlgFindReplace::replace);
    connect(m_cmdReplaceAll, &QPushButton::clicked, this, &dlgFindReplace::replaceAll);
    connect(m_cmdClose, &QPushButton::clicked, this, &QDialog::hide);
    connect(m_txtFind, &QLineEdit::textEdited, m_lblStatus, &QLabel::clear);
}

void dlgFindReplace::showFind()
{
    const QString selected = m_text->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_txtFind->setText(selected);
    m_lblStatus->clear();
    show();
    raise();
    activateWindow();
    m_txtFind->setFocus();
    m_txtFind->selectAll();
}

bool dlgFindReplace::matchCase() const { return m_chkMatchCase->isChecked(); }

void dlgFindReplace::say(const QString& text)
{
    if (isVisible())
        m_lblStatus->setText(text);
    else if (!text.isEmpty())
        Messages::show(m_session, text);
}

bool dlgFindReplace::findNext(bool backward)
{
    const QString text = m_txtFind->text();
    if (text.isEmpty()) {
        showFind();
        return false;
    }
    const TextSearch::Found found =
        TextSearch::findWrapping(*m_text->document(), m_text->textCursor(), text, matchCase(), backward);
    if (found.match.isNull()) {
        say(notFound(text));
        return false;
    }
    m_text->setTextCursor(found.match);
    m_text->ensureCursorVisible();
    if (!found.wrapped)
        m_lblStatus->clear();
    else if (backward)
        say(QStringLiteral("Passed the start of the page - went on from its end"));
    else
        say(QStringLiteral("Passed the end of the page - went on from its start"));
    return true;
}

void dlgFindReplace::replace()
{
    QTextCursor cursor = m_text->textCursor();
    if (TextSearch::selects(cursor, m_txtFind->text(), matchCase())) {
        cursor.insertText(m_txtReplace->text());
        m_text->setTextCursor(cursor);
    }
    findNext(false);
}

int dlgFindReplace::replaceAll()
{
    const QString text = m_txtFind->text();
    if (text.isEmpty()) {
        showFind();
        return 0;
    }
    const int count = TextSearch::replaceAll(*m_text->document(), text, m_txtReplace->text(), matchCase());
    if (count == 0)
        say(notFound(text));
    else
        say(count == 1 ? QStringLiteral("Replaced 1 occurrence")
                       : QStringLiteral("Replaced %1 occurrences").arg(count));
    return count;
}
