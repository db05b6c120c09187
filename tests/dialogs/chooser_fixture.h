#pragma once

#include "app/window_closing.h"
#include "dialogs/input_box.h"
#include "dialogs/modal_runner.h"
#include "support/kiosk_fixture.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// Clicks the item shown in rect of the view; twice: then double-clicks it.
inline void clickItem(QAbstractItemView* view, const QRect& rect, bool twice = false)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    if (twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

// An open kiosk system and a modal runner that shows the dialog and then acts as the
// author through the case's script; a dialog the script leaves open simply stays shown.
class ChooserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kiosk.open();
        kiosk.messages.clear();
        ModalRunner::setRunner([this](QDialog& dialog) { ++shownCount; dialog.show(); if (author) author(dialog); });
    }

    void TearDown() override
    {
        WindowClosing::closeOtherWindows(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ModalRunner::setRunner({});
        InputBox::setAsker({});
    }

    template <class Dialog>
    void whenShown(std::function<void(Dialog&)> script)
    {
        author = [script](QDialog& dialog) { script(static_cast<Dialog&>(dialog)); };
    }

    TemporaryKiosk kiosk;
    std::function<void(QDialog&)> author;
    int shownCount = 0;
};
