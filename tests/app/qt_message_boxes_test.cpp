#include "app/qt_message_boxes.h"
#include "dialogs/window_focus.h"

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
// would replace a file has No as its default; the box is wide enough for its whole title.
TEST(QtMessageBoxes, AnswersButtonsTitlesAndIcons)
{
    using B = QMessageBox;
    WindowFocus focus;
    QtMessageBoxes boxes(focus);
    const QString t = "one\r\ntwo";
    const B::StandardButtons yn = B::Yes | B::No, ync = yn | B::Cancel;
    const struct Row {
        const char* name;
        std::function<int()> ask;
        B::StandardButton press;
        int answer;
        B::StandardButtons buttons;
        B::Icon icon;
        B::StandardButton byDefault;
    } rows[] = {
        {"Yes/No: Yes", [&] { return boxes.askYesNo(t, Answer::Yes); }, B::Yes, 6, yn, B::NoIcon, B::Yes},
        {"a replace question: No", [&] { return boxes.askYesNo(t, Answer::No); }, B::No, 7, yn, B::NoIcon, B::No},
        {"Yes/No/Cancel: No", [&] { return boxes.askYesNoCancel(t); }, B::No, 7, ync, B::NoIcon, B::Yes},
        {"Yes/No/Cancel: Cancel", [&] { return boxes.askYesNoCancel(t); }, B::Cancel, 2, ync, B::NoIcon, B::Yes},
        {"message", [&] { return boxes.show(t, MessageIcon::None), 0; }, B::Ok, 0, B::Ok, B::NoIcon, B::Ok},
        {"fatal report", [&] { return boxes.show(t, MessageIcon::Exclamation), 0; }, B::Ok, 0, B::Ok, B::Warning,
         B::Ok},
    };
    for (const Row& row : rows) {
        QTimer::singleShot(0, [&] {
            auto* seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(seen, nullptr) << row.name;
            EXPECT_EQ(std::tuple(seen->windowTitle(), seen->text(), seen->standardButtons(), seen->icon(),
                                 seen->standardButton(static_cast<QAbstractButton*>(seen->defaultButton()))),
                      std::tuple(QString("ZEL_Editor"), QString("one\ntwo"), row.buttons, row.icon, row.byDefault))
                << row.name;
            EXPECT_GT(seen->width(), 2 * seen->fontMetrics().horizontalAdvance(seen->windowTitle())) << row.name;
            seen->button(row.press)->click();
        });
        EXPECT_EQ(row.ask(), row.answer) << row.name;
    }
}

// Long paths and names wrap: each box stays within the screen, and its label is as high as its text needs at its
// width, so no part of the text is cut off.
TEST(QtMessageBoxes, LongPathsWrapInsteadOfBeingCutOff)
{
    WindowFocus focus;
    QtMessageBoxes boxes(focus);
    const QString folder = "/home/author/kiosks/ostervale-information-kiosk/";
    const struct Row {
        const char* name;
        QString text;
    } rows[] = {
        {"a long page path", "Runtime error 75 in frmEdit.mnuSave_Click\r\nPath/File access error: " + folder
                                 + QString(200, u'n') + "/" + QString(240, u'p') + ".zel (Permission denied)"},
        {"a long name", QString(300, u'n') + " is not a valid folder name"},
        {"a path without blanks", folder + folder + folder + folder + folder + folder + "today.zel"},
    };
    for (const Row& row : rows) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << row.name;
            const QLabel* label = box->findChild<QLabel*>("qt_msgbox_label");
            ASSERT_NE(label, nullptr);
            EXPECT_LE(box->frameGeometry().width(), box->screen()->availableGeometry().width()) << row.name;
            const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->contentsRect().width(), 100000),
                                                                   Qt::TextWrapAnywhere, label->text());
            EXPECT_GE(label->contentsRect().height() + label->fontMetrics().lineSpacing() / 2, needed.height())
                << row.name;
            box->button(QMessageBox::Ok)->click();
        });
        boxes.show(row.text, MessageIcon::None);
    }
}
