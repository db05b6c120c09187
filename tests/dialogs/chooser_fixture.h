#pragma once

#include "app/window_closing.h"
#include "dialogs/input_box.h"
#include "dialogs/modal_runner.h"
#include "support/kiosk_fixture.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// An open kiosk system and a modal runner that shows the dialog and then
// acts as the author through the case's script. A script that leaves the
// dialog open is followed by nothing: the dialog simply stays shown.
class ChooserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kiosk.open();
        kiosk.messages.clear();
        ModalRunner::setRunner([this](QDialog& dialog) {
            ++shownCount;
            dialog.show();
            if (author)
                author(dialog);
        });
    }

    void TearDown() override
    {
        WindowClosing::closeOtherWindows(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ModalRunner::setRunner({});
        InputBox::setAsker({});
    }

    void makeFolder(const QString& name) { ASSERT_TRUE(QDir().mkpath(kiosk.path(name))); }
    void makeFile(const QString& relative) { writeTextFile(kiosk.path(relative), {QStringLiteral("leaf")}); }

    template <class Dialog>
    void whenShown(std::function<void(Dialog&)> script)
    {
        author = [script](QDialog& dialog) { script(static_cast<Dialog&>(dialog)); };
    }

    TemporaryKiosk kiosk;
    std::function<void(QDialog&)> author;
    int shownCount = 0;
};
