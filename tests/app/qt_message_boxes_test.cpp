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
    const struct Row {
        const char* name;
        std::function<int()> ask;
        B::StandardButton press;
        int answer;
        B::StandardButtons buttons;
        B::Icon icon;
        B::StandardButton byDefault;
    } rows[] = {
        {"Yes of Yes/No", [&] { return boxes.askYesNo("one\r\ntwo", Answer::Yes); }, B::Yes, 6, B::Yes | B::No,
         B::NoIcon, B::Yes},
        {"No of a replace question", [&] { return boxes.askYesNo("one\r\ntwo", Answer::No); }, B::No, 7, B::Yes | B::No,
         B::NoIcon, B::No},
        {"No of Yes/No/Cancel", [&] { return boxes.askYesNoCancel("one\r\ntwo"); }, B::No, 7,
         B::Yes | B::No | B::Cancel, B::NoIcon, B::Yes},
        {"Cancel of Yes/No/Cancel", [&] { return boxes.askYesNoCancel("one\r\ntwo"); }, B::Cancel, 2,
         B::Yes | B::No | B::Cancel, B::NoIcon, B::Yes},
        {"plain message", [&] { return boxes.show("one\r\ntwo", MessageIcon::None), 0; }, B::Ok, 0, B::Ok, B::NoIcon,
         B::Ok},
        {"fatal message", [&] { return boxes.show("one\r\ntwo", MessageIcon::Exclamation), 0; }, B::Ok, 0, B::Ok,
         B::Warning, B::Ok},
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
