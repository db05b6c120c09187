#include "app/qt_message_boxes.h"
#include "dialogs/window_focus.h"

#include <QAbstractButton>
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
