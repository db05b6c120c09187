#include "app/qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Once the box is up, records it and presses one of its buttons.
SeenBox answerWith(QMessageBox::StandardButton press, const std::function<void()>& ask)
{
    SeenBox seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(press)->click();
    });
    ask();
    return seen;
}

TEST(QtMessageBoxes, AnswersKeepThePlatformCodes)
{
    QtMessageBoxes boxes;
    struct Row {
        const char* name;
        bool withCancel;
        QMessageBox::StandardButton press;
        int answer;
    };
    const Row rows[] = {
        {"Yes of Yes/No", false, QMessageBox::Yes, 6},
        {"No of Yes/No", false, QMessageBox::No, 7},
        {"Yes of Yes/No/Cancel", true, QMessageBox::Yes, 6},
        {"No of Yes/No/Cancel", true, QMessageBox::No, 7},
        {"Cancel of Yes/No/Cancel", true, QMessageBox::Cancel, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        int answer = 0;
        const SeenBox seen = answerWith(row.press, [&] {
            answer = row.withCancel ? boxes.askYesNoCancel(QStringLiteral("Save first?"))
                                    : boxes.askYesNo(QStringLiteral("Replace it?"));
        });
        EXPECT_EQ(answer, row.answer);
        EXPECT_EQ(seen.title, QStringLiteral("ZEL_Editor"));
        EXPECT_EQ(seen.buttons.testFlag(QMessageBox::Cancel), row.withCancel);
    }
}

TEST(QtMessageBoxes, MessagesCarryTheProgramTitleAndTheFatalOneTheExclamationIcon)
{
    QtMessageBoxes boxes;
    SeenBox plain = answerWith(QMessageBox::Ok, [&] { boxes.show(QStringLiteral("one\r\ntwo"), MessageIcon::None); });
    EXPECT_EQ(plain.title, QStringLiteral("ZEL_Editor"));
    EXPECT_EQ(plain.text, QStringLiteral("one\ntwo"));
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    SeenBox fatal = answerWith(QMessageBox::Ok, [&] { boxes.show(QStringLiteral("bad"), MessageIcon::Exclamation); });
    EXPECT_EQ(fatal.icon, QMessageBox::Warning);
}

} // namespace
