#include "app/qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

// Each row asks through a real box (ask, or shows one with the row's icon when ask is null); once the box is up,
// the row's button is pressed. The text's CR LF shows as LF, as a Qt box breaks lines.
TEST(QtMessageBoxes, AnswersButtonsTitlesAndIcons)
{
    using B = QMessageBox;
    const struct Row { const char* name; int (QtMessageBoxes::*ask)(const QString&); MessageIcon shown;
                       B::StandardButton press; int answer; B::StandardButtons buttons; B::Icon icon; } rows[] = {
        {"Yes of Yes/No", &QtMessageBoxes::askYesNo, MessageIcon::None, B::Yes, 6, B::Yes | B::No, B::Question},
        {"No of Yes/No", &QtMessageBoxes::askYesNo, MessageIcon::None, B::No, 7, B::Yes | B::No, B::Question},
        {"Cancel of Yes/No/Cancel", &QtMessageBoxes::askYesNoCancel, MessageIcon::None, B::Cancel, 2, B::Yes | B::No | B::Cancel, B::Question},
        {"plain message", nullptr, MessageIcon::None, B::Ok, 0, B::Ok, B::NoIcon},
        {"fatal message", nullptr, MessageIcon::Exclamation, B::Ok, 0, B::Ok, B::Warning},
    };
    for (const Row& row : rows) {
        QTimer::singleShot(0, [&] {
            auto* seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(seen, nullptr) << row.name;
            EXPECT_EQ(std::tuple(seen->windowTitle(), seen->text(), seen->standardButtons(), seen->icon()),
                      std::tuple(QString("ZEL_Editor"), QString("one\ntwo"), row.buttons, row.icon)) << row.name;
            seen->button(row.press)->click();
        });
        EXPECT_EQ(row.ask ? (QtMessageBoxes().*row.ask)("one\r\ntwo") : (QtMessageBoxes().show("one\r\ntwo", row.shown), 0), row.answer) << row.name;
    }
}
