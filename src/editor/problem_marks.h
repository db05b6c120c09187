// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QPlainTextEdit;

// The problems of an editor's page shown at their lines: each line with a
// problem is underlined with a wavy line, and the mouse resting on it shows
// the texts of its problems. The marks move with their lines as the text is
// edited around them, until the next show() or clear(). The text area's
// extra selections are the marks' own.
class ProblemMarks : public QObject {
    Q_OBJECT
public:
    struct LineProblem {
        int line = 0; // the text area's 0-based line (block number)
        QString text;
    };

    explicit ProblemMarks(QPlainTextEdit& text);

    // Replaces the marks; a problem at a line the text does not have is left out.
    void show(const QList<LineProblem>& problems);
    void clear();
    // The texts of the marks at a position of the text, one a line; "" when none.
    QString textsAt(int position) const;
    // The lines marked now, in order.
    QList<int> markedLines() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit& m_text;
};

// The lines (0-based) of the text area's marks, in order: what markedLines()
// says, for those (the line-number margin) that have the text area only.
QList<int> markedLinesOf(const QPlainTextEdit& text);
