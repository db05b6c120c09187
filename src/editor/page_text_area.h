// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPlainTextEdit>

// The editor's text area. A margin at its left numbers the lines as the page
// source and every problem number them (the page-type line, line 1, is not
// in the text area, so its first line is line 2), marks the line the cursor
// is on and the lines that have problems (the text area's extra selections,
// which are the problem marks'). Word wrap and the text's
// zoom are the author's choices, kept in the settings store for every editor.
class PageTextArea : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kMostZoomSteps = 10;
    static constexpr int kFirstLineNumber = 2;

    explicit PageTextArea(QWidget* parent = nullptr);

    QWidget* margin() const { return m_margin; }
    // The margin's width for as many digits as the last line's number has.
    int marginWidth() const;
    // The lines (0-based) shown in the margin as having problems.
    QList<int> markedLines() const;

    bool wordWrap() const { return lineWrapMode() != NoWrap; }
    void setWordWrap(bool on);
    // Steps of one point larger (or smaller) than the fixed font; 0 is that font.
    int zoomSteps() const { return m_zoomSteps; }
    void setZoomSteps(int steps);

signals:
    // The palette changed (another theme): the colours drawn on the text's
    // background are chosen again.
    void backgroundChanged(const QColor& background);

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyZoom(int steps);
    void paintMargin(QPaintEvent* event);
    // Gives the text room for the margin, and places the margin there.
    void fitMargin();
    void placeMargin();

    QWidget* m_margin = nullptr;
    int m_basePointSize = 0;
    int m_zoomSteps = 0;
};
