// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_message_boxes.h"
#include "workbench/window_focus.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScreen>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Each row asks through a real box; once the box is up, the row's button is pressed. The text's CR LF shows as
// LF, as a Qt box breaks lines. Questions carry no icon; only the fatal report has its exclamation. A question that
// would replace a file has No as its default; the box is wide enough for its whole title. Long paths and names
// wrap: each box stays within the screen, and its label is as high as its text needs at its width, so no part of
// the text is cut off.
TEST(QtMessageBoxes, AnswersButtonsTitlesIconsAndWrapping)
{
    using B = QMessageBox;
    WindowFocus focus;
    QtMessageBoxes boxes(focus);
    const QString t = "one\r\ntwo";
    const QString folder = "/home/author/kiosks/ostervale-information-kiosk/";
    const QString longPath = "Runtime error 75 in frmEdit.mnuSave_Click\r\nPath/File access error: " + folder
                             + QString(200, u'n') + "/" + QString(240, u'p') + ".zel (Permission denied)";
    const QString longName = QString(300, u'n') + " is not a valid folder name";
    const QString noBlanks = folder + folder + folder + folder + folder + folder + "today.zel";
    const auto message = [&](const QString& text) {
        return [&boxes, text] { return boxes.show(text, MessageIcon::None), Answer::Ok; };
    };
    const B::StandardButtons yn = B::Yes | B::No, ync = yn | B::Cancel;
    const QString shown = "one\ntwo";
    const struct Row {
        const char* name;
        std::function<Answer()> ask;
        QString text;
        B::StandardButton press = B::Ok;
        Answer answer = Answer::Ok;
        B::StandardButtons buttons = B::Ok;
        B::StandardButton byDefault = B::Ok;
        B::Icon icon = B::NoIcon;
    } rows[] = {
        {"Yes/No: Yes", [&] { return boxes.askYesNo(t, Answer::Yes); }, shown, B::Yes, Answer::Yes, yn, B::Yes},
        {"a replace question: No", [&] { return boxes.askYesNo(t, Answer::No); }, shown, B::No, Answer::No, yn, B::No},
        {"Yes/No/Cancel: No", [&] { return boxes.askYesNoCancel(t); }, shown, B::No, Answer::No, ync, B::Yes},
        {"Yes/No/Cancel: Cancel", [&] { return boxes.askYesNoCancel(t); }, shown, B::Cancel, Answer::Cancel, ync,
         B::Yes},
        {"message", message(t), shown},
        {"fatal report", [&] { return boxes.show(t, MessageIcon::Exclamation), Answer::Ok; }, shown, B::Ok, Answer::Ok,
         B::Ok, B::Ok, B::Warning},
        {"a long page path", message(longPath), QString(longPath).replace("\r\n", "\n")},
        {"a long name", message(longName), longName},
        {"a path without blanks", message(noBlanks), noBlanks},
    };
    for (const Row& row : rows) {
        QTimer::singleShot(0, [&] {
            auto* seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(seen, nullptr) << row.name;
            // Long words carry break opportunities (zero width spaces) and are otherwise as written.
            EXPECT_EQ(std::tuple(seen->windowTitle(), QString(seen->text()).remove(QChar(0x200B)),
                                 seen->standardButtons(), seen->icon(),
                                 seen->standardButton(static_cast<QAbstractButton*>(seen->defaultButton()))),
                      std::tuple(QString("ZEL_Editor"), row.text, row.buttons, row.icon, row.byDefault))
                << row.name;
            EXPECT_GT(seen->width(), 2 * seen->fontMetrics().horizontalAdvance(seen->windowTitle())) << row.name;
            EXPECT_LE(seen->frameGeometry().width(), seen->screen()->availableGeometry().width()) << row.name;
            const QLabel* label = seen->findChild<QLabel*>("qt_msgbox_label");
            ASSERT_NE(label, nullptr);
            const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->contentsRect().width(), 100000),
                                                                   Qt::TextWrapAnywhere, label->text());
            EXPECT_GE(label->contentsRect().height() + label->fontMetrics().lineSpacing() / 2, needed.height())
                << row.name;
            seen->button(row.press)->click();
        });
        EXPECT_EQ(row.ask(), row.answer) << row.name;
    }
}
