// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/page_text_area.h"

#include "editor/editor_colours.h"
#include "editor/problem_marks.h"
#include "platform/user_settings.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <algorithm>

namespace {

const QString kWordWrapKey = QStringLiteral("Editor/wordWrap");
const QString kZoomKey = QStringLiteral("Editor/zoom");

} // namespace

PageTextArea::PageTextArea(QWidget* parent) : QPlainTextEdit(parent), m_margin(new QWidget(this))
{
    m_margin->setObjectName(QStringLiteral("lineNumbers"));
    m_margin->installEventFilter(this);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(fixed);
    m_basePointSize = fixed.pointSize() > 0 ? fixed.pointSize() : 10;
    setTabChangesFocus(false);
    const auto settings = openUserSettings();
    setLineWrapMode(settings->value(kWordWrapKey, false).toBool() ? WidgetWidth : NoWrap);
    applyZoom(settings->value(kZoomKey, 0).toInt());
    connect(this, &QPlainTextEdit::blockCountChanged, this, &PageTextArea::fitMargin);
    connect(this, &QPlainTextEdit::cursorPositionChanged, m_margin, qOverload<>(&QWidget::update));
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0)
            m_margin->scroll(0, dy);
        else
            m_margin->update(0, rect.y(), m_margin->width(), rect.height());
    });
    fitMargin();
}

int PageTextArea::marginWidth() const
{
    const int digits = int(QString::number(blockCount() + kFirstLineNumber - 1).size());
    return 10 + fontMetrics().horizontalAdvance(u'9') * std::max(digits, 2);
}

QList<int> PageTextArea::markedLines() const { return markedLinesOf(*this); }

void PageTextArea::setWordWrap(bool on)
{
    setLineWrapMode(on ? WidgetWidth : NoWrap);
    openUserSettings()->setValue(kWordWrapKey, on);
}

void PageTextArea::setZoomSteps(int steps)
{
    applyZoom(steps);
    openUserSettings()->setValue(kZoomKey, m_zoomSteps);
}

void PageTextArea::applyZoom(int steps)
{
    m_zoomSteps = std::clamp(steps, -std::min(kMostZoomSteps, std::max(0, m_basePointSize - 4)), kMostZoomSteps);
    QFont zoomed = font();
    zoomed.setPointSize(m_basePointSize + m_zoomSteps);
    setFont(zoomed);
    m_margin->setFont(zoomed);
    fitMargin();
}

void PageTextArea::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    placeMargin();
}

bool PageTextArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_margin && event->type() == QEvent::Paint) {
        paintMargin(static_cast<QPaintEvent*>(event));
        return true;
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

void PageTextArea::fitMargin()
{
    setViewportMargins(marginWidth(), 0, 0, 0);
    placeMargin();
}

void PageTextArea::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        emit backgroundChanged(palette().color(QPalette::Base));
}

void PageTextArea::placeMargin()
{
    const QRect inside = contentsRect();
    m_margin->setGeometry(inside.left(), inside.top(), marginWidth(), inside.height());
}

void PageTextArea::paintMargin(QPaintEvent* event)
{
    QPainter painter(m_margin);
    const QPalette& colours = palette();
    painter.fillRect(event->rect(), colours.color(QPalette::AlternateBase));
    const QList<int> marked = markedLines();
    const int current = textCursor().blockNumber();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top()) {
            const QRect line(0, top, m_margin->width() - 6, fontMetrics().height());
            if (marked.contains(block.blockNumber()))
                painter.fillRect(QRect(0, top, 3, height),
                                 EditorColours::problem(colours.color(QPalette::AlternateBase)));
            QFont number = m_margin->font();
            number.setBold(block.blockNumber() == current);
            painter.setFont(number);
            painter.setPen(EditorColours::lineNumber(
                colours.color(block.blockNumber() == current ? QPalette::Text : QPalette::PlaceholderText),
                colours.color(QPalette::AlternateBase)));
            painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(block.blockNumber() + kFirstLineNumber));
        }
        block = block.next();
        top += height;
    }
}
