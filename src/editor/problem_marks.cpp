// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/problem_marks.h"

#include "editor/editor_colours.h"

#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolTip>
#include <algorithm>

namespace {

// The text of a mark is kept in its format, so that it moves with the mark.
constexpr int kTextProperty = QTextFormat::UserProperty + 1;

} // namespace

ProblemMarks::ProblemMarks(QPlainTextEdit& text) : QObject(&text), m_text(text)
{
    m_text.viewport()->installEventFilter(this);
}

void ProblemMarks::show(const QList<LineProblem>& problems)
{
    QList<QTextEdit::ExtraSelection> marks;
    for (const LineProblem& problem : problems) {
        const QTextBlock block = m_text.document()->findBlockByNumber(problem.line);
        if (!block.isValid())
            continue;
        const auto same = std::find_if(marks.begin(), marks.end(), [&](const QTextEdit::ExtraSelection& mark) {
            return mark.cursor.blockNumber() == problem.line;
        });
        if (same != marks.end()) {
            same->format.setProperty(kTextProperty,
                                     same->format.property(kTextProperty).toString() + u'\n' + problem.text);
            continue;
        }
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(block);
        mark.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        mark.format.setUnderlineColor(EditorColours::problem(m_text.palette().color(QPalette::Base)));
        mark.format.setProperty(kTextProperty, problem.text);
        marks.append(mark);
    }
    m_text.setExtraSelections(marks);
}

void ProblemMarks::clear() { m_text.setExtraSelections({}); }

QString ProblemMarks::textsAt(int position) const
{
    for (const QTextEdit::ExtraSelection& mark : m_text.extraSelections())
        if (position >= mark.cursor.selectionStart() && position <= mark.cursor.selectionEnd()
            && mark.cursor.hasSelection())
            return mark.format.property(kTextProperty).toString();
    return {};
}

QList<int> ProblemMarks::markedLines() const { return markedLinesOf(m_text); }

QList<int> markedLinesOf(const QPlainTextEdit& text)
{
    QList<int> lines;
    for (const QTextEdit::ExtraSelection& mark : text.extraSelections())
        if (mark.cursor.hasSelection())
            lines.append(text.document()->findBlock(mark.cursor.selectionStart()).blockNumber());
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool ProblemMarks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_text.viewport() || event->type() != QEvent::ToolTip)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString texts = textsAt(m_text.cursorForPosition(help->pos()).position());
    if (texts.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(help->globalPos(), texts, m_text.viewport());
    return true;
}
