#pragma once

#include "dialogs/input_box.h"
#include "support/closing_windows.h"
#include "support/kiosk_fixture.h"
#include "support/modal_author.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QTest>
#include <gtest/gtest.h>

// Clicks the item shown in rect of the view; twice: then double-clicks it.
inline void clickItem(QAbstractItemView* view, const QRect& rect, bool twice = false)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    if (twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

// An open kiosk system and the author at its dialogs (see ModalAuthor).
class ChooserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kiosk.open();
        kiosk.messages.clear();
    }

    void TearDown() override
    {
        closeAllWindows();
        InputBox::setAsker({});
    }

    TemporaryKiosk kiosk;
    ModalAuthor author;
};
