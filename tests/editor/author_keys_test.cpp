// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/new_folder_dialog.h"
#include "dialogs/save_file_dialog.h"
#include "dialogs/select_file_dialog.h"
#include "dialogs/select_folder_dialog.h"
#include "dialogs/simple_combo_box.h"
#include "support/modal_keys.h"
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace {

QWidget* focused() { return QApplication::focusWidget(); }

// A focused widget by its name, or its holder's name and its kind for the parts of a combo box.
QString describe(const QWidget* widget)
{
    return !widget ? QStringLiteral("nothing")
           : !widget->objectName().isEmpty()
               ? widget->objectName()
               : widget->parentWidget()->objectName() + u'.' + widget->metaObject()->className();
}

// The author at the keyboard, with real message boxes and the program's own modal dialogs, over a kiosk system
// with the folders aaa, news and root.
class AuthorKeysTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (const char* folder : {"aaa", "news", "root"})
            QDir().mkpath(kiosk.path(folder));
        useRealMessageBoxes();
    }

    // Keys typed now reach this editor's text.
    static void expectKeysReach(EditorWindow* editor, const char* keys)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return editor->isActiveWindow() && focused() == editor->textArea(); }))
            << "the keyboard is in " << describe(focused()).toStdString();
        QTest::keyClicks(focused(), keys);
        EXPECT_TRUE(editor->bodyText().contains(QString::fromLatin1(keys))) << editor->bodyText().toStdString();
    }
};

const ModalKeys::Step enter = [](QWidget* widget) { QTest::keyClick(widget, Qt::Key_Return); };
const ModalKeys::Step escape = [](QWidget* widget) { QTest::keyClick(widget, Qt::Key_Escape); };

// A new page's Save As starts with an empty name (not the one typed before), so Enter only says "No page selected"
// (over the dialog); then Enter on the name of a page answers the replace question No. Nothing is replaced, the page
// stays unsaved, and the keys typed afterwards reach the editor that asked.
TEST_F(AuthorKeysTest, TwoEntersInSaveAsReplaceNothing)
{
    const QByteArray important = "#branch\r\n#title Important\r\n";
    writeBytes(kiosk.path("aaa/important.zel"), important);
    workbench.instance<SaveFileDialog>().pageBox()->setText("typed before");
    EditorWindow* leaf = newEditor(1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(leaf));
    QTest::keyClicks(focused(), "#title Leaf");
    QString nameShown;
    QStringList boxTexts;
    QList<int> offCentre; // each box's distance from the centre of the dialog
    const ModalKeys::Step answerBox = [&](QWidget* button) {
        boxTexts.append(qobject_cast<QMessageBox*>(button->window())->text());
        offCentre.append(
            (button->window()->frameGeometry().center() - workbench.instance<SaveFileDialog>().frameGeometry().center())
                .manhattanLength());
        enter(button);
    };
    ModalKeys keys({[&](QWidget* box) {
                        nameShown = workbench.instance<SaveFileDialog>().pageBox()->text();
                        enter(box);
                    },
                    answerBox,
                    [](QWidget* box) {
                        QTest::keyClicks(box, "important");
                        enter(box);
                    },
                    answerBox});
    QTest::keyClick(focused(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(keys.finished());
    EXPECT_EQ(nameShown, "");
    EXPECT_EQ(boxTexts.replaceInStrings(QString(QChar(0x200B)), ""), // the box breaks paths after their separators
              (QStringList{"No page selected",
                           "Page already exists - do you want to replace it?\n" + kiosk.path("aaa/important.zel")}));
    EXPECT_LE(offCentre.value(0, 99), 4) << "the first box centred over the dialog";
    EXPECT_EQ(readBytes(kiosk.path("aaa/important.zel")), important);
    EXPECT_EQ(leaf->filePath(), "");
    expectKeysReach(leaf, "leaf keys");
}

// Make from the File menu: Alt+F, Down, Down, Enter.
TEST_F(AuthorKeysTest, AfterMakeTheEditorTakesKeys)
{
    EditorWindow* other = editorOn("news/other.zel", "#leaf\r\n");
    ASSERT_TRUE(QTest::qWaitForWindowActive(other));
    QTest::keyClick(focused(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
        QTest::keyClick(QApplication::activePopupWidget(), key);
    EXPECT_TRUE(other->pageMade());
    expectKeysReach(other, "after make");
}

// Each chooser opens at its design size with the keyboard in its name box, or its folder list where it has none,
// takes typed text at once, and Tab walks its controls in the order they stand, with no stop the author cannot see.
// The design size is the least; a larger dialog stretches its lists and moves the buttons down.
TEST_F(AuthorKeysTest, ChoosersTakeTypedTextAtOnceAndStretch)
{
    QWidget owner;
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    const std::function<void()> opens[] = {
        [&] { workbench.instance<SaveFileDialog>().savePage({}, &owner); },
        [&] { workbench.instance<NewFolderDialog>().showModal(&owner); },
        [&] { workbench.instance<SelectFolderDialog>().openFolders(&owner); },
        [&] { workbench.instance<SelectFileDialog>().openPage(&owner); },
    };
    // The caption, design size and columns; what "n" typed shows in the control that has the keyboard; the stops.
    const struct Row {
        const char* caption;
        QSize design;
        int columns;
        const char *shown, *tabs; // the stops, then back to the first
    } rows[] = {
        {"ZEL - Save Page As",
         {344, 245},
         2,
         "n",
         "pageBox.QLineEdit pageBox.QListWidget cancelButton okButton folderList"},
        {"Create New Folder", {194, 212}, 1, "n", "folderBox.QLineEdit folderBox.QListWidget cancelButton okButton"},
        {"ZEL - Select Folder", {177, 245}, 1, "news", "folderList cancelButton okButton"},
        {"ZEL - Select Page", {344, 245}, 2, "news", "folderList pageList cancelButton okButton"},
    };
    const auto shownBy = [](QWidget* control) {
        if (auto* box = qobject_cast<QLineEdit*>(control))
            return box->text();
        auto* list = qobject_cast<QListWidget*>(control);
        return list && list->currentItem() ? list->currentItem()->text() : QString();
    };
    for (int index = 0; const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        QString typed;
        QStringList tabs, stops = QString(row.tabs).split(u' ');
        stops.append(stops.first());
        ModalKeys keys({[&](QWidget* start) {
            auto* d = qobject_cast<ChooserDialog*>(start->window());
            EXPECT_EQ(d->windowTitle(), row.caption);
            EXPECT_EQ(d->size(), row.design);
            QTest::keyClicks(start, "n");
            typed = shownBy(start);
            for (tabs = {describe(focused())}; tabs.size() < stops.size(); tabs.append(describe(focused())))
                QTest::keyClick(focused(), Qt::Key_Tab);
            typed += u' ' + shownBy(start);
            QWidget* list = d->findChild<QWidget*>(stops.first().section(u'.', 0, 0));
            const QRect listAtStart = list->geometry();
            const int buttonsAtStart = d->okButton()->y();
            d->resize(row.design - QSize(50, 40));
            EXPECT_EQ(d->size(), row.design);
            d->resize(row.design + QSize(120, 90));
            EXPECT_EQ(list->size(), listAtStart.size() + QSize(120 / row.columns, 90));
            EXPECT_EQ(d->okButton()->y(), buttonsAtStart + 90);
            EXPECT_LT(d->cancelButton()->geometry().right(), d->okButton()->x());
            EXPECT_LT(list->geometry().bottom(), d->okButton()->y());
            escape(focused());
        }});
        opens[index++]();
        EXPECT_TRUE(keys.finished());
        EXPECT_EQ(typed, QString(row.shown) + u' ' + row.shown) << "typed text, and after Tab";
        EXPECT_EQ(tabs, stops);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&owner));
    }
}

} // namespace
