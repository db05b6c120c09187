#include "app/qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Each row asks through a real box; once it is up, the row's button is pressed.
TEST(QtMessageBoxes, AnswersButtonsTitlesAndIcons)
{
    using B = QMessageBox;
    QtMessageBoxes boxes;
    const QString text = "one\r\ntwo"; // a Qt box breaks lines with LF
    struct Row { const char* name; std::function<int()> ask; B::StandardButton press; int answer; B::StandardButtons buttons; B::Icon icon; };
    const Row rows[] = {
        {"Yes of Yes/No", [&] { return boxes.askYesNo(text); }, B::Yes, 6, B::Yes | B::No, B::Question},
        {"No of Yes/No", [&] { return boxes.askYesNo(text); }, B::No, 7, B::Yes | B::No, B::Question},
        {"Yes of Yes/No/Cancel", [&] { return boxes.askYesNoCancel(text); }, B::Yes, 6, B::Yes | B::No | B::Cancel, B::Question},
        {"No of Yes/No/Cancel", [&] { return boxes.askYesNoCancel(text); }, B::No, 7, B::Yes | B::No | B::Cancel, B::Question},
        {"Cancel of Yes/No/Cancel", [&] { return boxes.askYesNoCancel(text); }, B::Cancel, 2, B::Yes | B::No | B::Cancel, B::Question},
        {"plain message", [&] { boxes.show(text, MessageIcon::None); return 0; }, B::Ok, 0, B::Ok, B::NoIcon},
        {"fatal message", [&] { boxes.show(text, MessageIcon::Exclamation); return 0; }, B::Ok, 0, B::Ok, B::Warning},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTimer::singleShot(0, [&] {
            auto* seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(seen, nullptr);
            EXPECT_EQ(seen->windowTitle(), "ZEL_Editor");
            EXPECT_EQ(seen->standardButtons(), row.buttons);
            EXPECT_EQ(seen->icon(), row.icon);
            EXPECT_EQ(seen->text(), "one\ntwo");
            seen->button(row.press)->click();
        });
        EXPECT_EQ(row.ask(), row.answer);
    }
}
