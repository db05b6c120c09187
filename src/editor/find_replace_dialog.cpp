// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/find_replace_dialog.h"

#include "editor/text_search.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString notFound(const QString& text)
{
    return QCoreApplication::translate("FindReplaceDialog", "\"%1\" was not found in this page").arg(text);
}
} // namespace

FindReplaceDialog::FindReplaceDialog(Session& session, QPlainTextEdit* text, QWidget* owner)
    : QDialog(owner), m_session(session), m_text(text)
{
    setObjectName(QStringLiteral("dlgFindReplace"));
    setWindowTitle(tr("ZEL - Find and Replace"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    m_findEdit = new QLineEdit(this);
    m_findEdit->setObjectName(QStringLiteral("findEdit"));
    fields->addRow(tr("Fi&nd:"), m_findEdit);
    m_replaceEdit = new QLineEdit(this);
    m_replaceEdit->setObjectName(QStringLiteral("replaceEdit"));
    fields->addRow(tr("Replace &with:"), m_replaceEdit);
    layout->addLayout(fields);
    m_matchCaseBox = new QCheckBox(tr("Match ca&se"), this);
    m_matchCaseBox->setObjectName(QStringLiteral("matchCaseBox"));
    layout->addWidget(m_matchCaseBox);
    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setWordWrap(true);
    layout->addWidget(m_statusLabel);

    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    const auto button = [&](const char* name, const QString& caption) {
        QPushButton* made = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        made->setObjectName(QString::fromLatin1(name));
        return made;
    };
    m_findNextButton = button("findNextButton", tr("Find Ne&xt"));
    m_findPreviousButton = button("findPreviousButton", tr("Find &Previous"));
    m_replaceButton = button("replaceButton", tr("&Replace"));
    m_replaceAllButton = button("replaceAllButton", tr("Replace &All"));
    m_closeButton = buttons->addButton(QDialogButtonBox::Close);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    layout->addWidget(buttons);
    // Enter finds the next occurrence, whichever box the author types in.
    for (QPushButton* other : {m_findPreviousButton, m_replaceButton, m_replaceAllButton, m_closeButton})
        other->setAutoDefault(false);
    m_findNextButton->setDefault(true);

    connect(m_findNextButton, &QPushButton::clicked, this, [this] { findNext(false); });
    connect(m_findPreviousButton, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(m_replaceButton, &QPushButton::clicked, this, &FindReplaceDialog::replace);
    connect(m_replaceAllButton, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::hide);
    connect(m_findEdit, &QLineEdit::textEdited, m_statusLabel, &QLabel::clear);
}

void FindReplaceDialog::showFind()
{
    const QString selected = m_text->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_findEdit->setText(selected);
    m_statusLabel->clear();
    show();
    raise();
    activateWindow();
    m_findEdit->setFocus();
    m_findEdit->selectAll();
}

bool FindReplaceDialog::matchCase() const { return m_matchCaseBox->isChecked(); }

void FindReplaceDialog::say(const QString& text)
{
    if (isVisible())
        m_statusLabel->setText(text);
    else if (!text.isEmpty())
        Messages::show(m_session, text);
}

bool FindReplaceDialog::findNext(bool backward)
{
    const QString text = m_findEdit->text();
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
        m_statusLabel->clear();
    else if (backward)
        say(tr("Passed the start of the page - went on from its end"));
    else
        say(tr("Passed the end of the page - went on from its start"));
    return true;
}

void FindReplaceDialog::replace()
{
    QTextCursor cursor = m_text->textCursor();
    if (TextSearch::selects(cursor, m_findEdit->text(), matchCase())) {
        cursor.insertText(m_replaceEdit->text());
        m_text->setTextCursor(cursor);
    }
    findNext(false);
}

int FindReplaceDialog::replaceAll()
{
    const QString text = m_findEdit->text();
    if (text.isEmpty()) {
        showFind();
        return 0;
    }
    const int count = TextSearch::replaceAll(*m_text->document(), text, m_replaceEdit->text(), matchCase());
    if (count == 0)
        say(notFound(text));
    else
        say(count == 1 ? tr("Replaced 1 occurrence") : tr("Replaced %1 occurrences").arg(count));
    return count;
}
