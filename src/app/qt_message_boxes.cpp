// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_message_boxes.h"

#include "workbench/window_focus.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QSpacerItem>
#include <QStyle>

namespace {
const QString kTitle = QStringLiteral("ZEL_Editor");

// A box breaks its lines only between words; a longer word (a path, a long
// name) would be cut off at the box's edge.
constexpr int kLongestUnbroken = 40;
constexpr QChar kBreakOpportunity = QChar(0x200B); // zero width space

// A long word gets a break opportunity after each path separator and, where
// none comes for kLongestUnbroken characters, after that many.
QString breakableWord(QStringView word)
{
    QString broken;
    int sinceBreak = 0;
    for (const QChar c : word) {
        broken += c;
        ++sinceBreak;
        if (c == u'/' || c == u'\\' || sinceBreak >= kLongestUnbroken) {
            broken += kBreakOpportunity;
            sinceBreak = 0;
        }
    }
    return broken;
}

// The program's texts break lines with CR LF; a Qt box wants LF. Long words
// are made breakable, so long paths wrap instead of being cut off.
QString boxText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString wrapped;
    qsizetype start = 0;
    while (start < shown.size()) {
        qsizetype end = start;
        while (end < shown.size() && !shown.at(end).isSpace())
            ++end;
        const QStringView word = QStringView(shown).mid(start, end - start);
        wrapped += word.size() > kLongestUnbroken ? breakableWord(word) : word.toString();
        while (end < shown.size() && shown.at(end).isSpace())
            wrapped += shown.at(end++);
        start = end;
    }
    return wrapped;
}

// A box sizes itself to its text alone; a short text would cut the title.
// The title bar also holds the window manager's buttons: three title-bar
// buttons' room besides the title's own width.
void makeRoomForTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int buttons = 3 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    const int width = box.fontMetrics().horizontalAdvance(kTitle) * 3 / 2 + buttons;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

int run(WindowFocus& windows, QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton)
{
    QWidget* asking = windows.askingWindow();
    QMessageBox box(icon, kTitle, boxText(text), buttons, asking);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    makeRoomForTitle(box);
    int button = 0;
    windows.runModal(asking, [&] { button = box.exec(); });
    return button;
}
} // namespace

QtMessageBoxes::QtMessageBoxes(WindowFocus& focus) : m_focus(focus) {}

void QtMessageBoxes::show(const QString& text, MessageIcon icon)
{
    run(m_focus, icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, text, QMessageBox::Ok,
        QMessageBox::Ok);
}

Answer QtMessageBoxes::askYesNo(const QString& text, Answer defaultAnswer)
{
    const int button = run(m_focus, QMessageBox::NoIcon, text, QMessageBox::Yes | QMessageBox::No,
                           defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer QtMessageBoxes::askYesNoCancel(const QString& text)
{
    const int button = run(m_focus, QMessageBox::NoIcon, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                           QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}
