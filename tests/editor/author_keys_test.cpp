#include "app/qt_message_boxes.h"
#include "dialogs/dlg_create_new_folder.h"
#include "dialogs/dlg_save_file.h"
#include "dialogs/dlg_select_file.h"
#include "dialogs/dlg_select_folder.h"
#include "dialogs/simple_combo_box.h"
#include "support/modal_keys.h"
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>

namespace {

const QByteArray kOther = "#leaf\r\n#title Other\r\n";

QWidget* focused() { return QApplication::focusWidget(); }
void press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(widget, key, modifiers);
}

// A focused widget by its name, or its holder's name and its kind for the parts of a combo box.
QString describe(const QWidget* widget)
{
    if (!widget)
        return QStringLiteral("nothing");
    if (!widget->objectName().isEmpty())
        return widget->objectName();
    return widget->parentWidget()->objectName() + u'.' + QString::fromLatin1(widget->metaObject()->className());
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
        writeBytes(kiosk.path("news/other.zel"), kOther);
        author.execs = true;
        withRealBoxes.emplace(SessionServices{.messages = &boxes, .endProgram = [] { throw ProgramEnded{}; }});
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        withRealBoxes.reset();
    }

    // The window is shown and has the keyboard.
    static frmEdit* active(frmEdit* editor)
    {
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
        return editor;
    }

    // Alt+F, then Down downs times and Enter: 0 Save..., 1 Save As..., 2 Make...
    static void fileCommand(int downs)
    {
        press(focused(), Qt::Key_F, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
        QWidget* menu = QApplication::activePopupWidget();
        for (int i = 0; i < downs; ++i)
            press(menu, Qt::Key_Down);
        press(menu, Qt::Key_Return);
    }

    // Keys typed now reach this editor's text.
    static void expectKeysReach(frmEdit* editor, const char* keys)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return editor->isActiveWindow() && focused() == editor->txtContent(); }))
            << "the keyboard is in " << describe(focused()).toStdString();
        QTest::keyClicks(focused(), keys);
        EXPECT_TRUE(editor->bodyText().contains(QString::fromLatin1(keys))) << editor->bodyText().toStdString();
    }

    QtMessageBoxes boxes{workbench.focus()};
    std::optional<Session> withRealBoxes; // the real boxes, over the kiosk's session
};

const auto typeAndEnter = [](const char* text) {
    return [text](QWidget* box) {
        QTest::keyClicks(box, text);
        press(box, Qt::Key_Return);
    };
};
const ModalKeys::Step enter = [](QWidget* widget) { press(widget, Qt::Key_Return); };
const ModalKeys::Step escape = [](QWidget* widget) { press(widget, Qt::Key_Escape); };

// A saved page's Save As onto news\important: Enter answers the replace question No. Then a new page: its Save As
// starts with an empty name (not the one typed before), so two Enters only say "No page selected" (over the
// dialog). Nothing is replaced, and the keys typed afterwards reach the editor that asked.
TEST_F(AuthorKeysTest, TwoEntersInSaveAsReplaceNothing)
{
    writeBytes(kiosk.path("news/important.zel"), "#branch\r\n#title Important\r\n");
    const QByteArray important = readBytes(kiosk.path("news/important.zel"));

    frmEdit* other = active(editorOn("news/other.zel", kOther));
    QString question;
    ModalKeys replacing({typeAndEnter("important"), [&](QWidget* button) {
                             question = qobject_cast<QMessageBox*>(button->window())->text();
                             enter(button);
                         }});
    fileCommand(1);
    EXPECT_TRUE(replacing.finished());
    EXPECT_EQ(question, "Page already exists - do you want to replace it?");
    EXPECT_EQ(readBytes(kiosk.path("news/important.zel")), important);
    EXPECT_EQ(other->filePath(), kiosk.path("news/other.zel"));
    expectKeysReach(other, "other keys");

    frmEdit* leaf = active(newEditor(1));
    QTest::keyClicks(focused(), "#title Leaf");
    QString nameShown, boxText;
    QPoint boxCentre, dialogCentre;
    ModalKeys keys({[&](QWidget* box) {
                        nameShown = workbench.instance<dlgSaveFile>().pageBox()->text();
                        enter(box);
                    },
                    [&](QWidget* button) {
                        boxText = qobject_cast<QMessageBox*>(button->window())->text();
                        boxCentre = button->window()->frameGeometry().center();
                        dialogCentre = workbench.instance<dlgSaveFile>().frameGeometry().center();
                        enter(button);
                    },
                    escape});
    press(focused(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(keys.finished());
    EXPECT_EQ(nameShown, "");
    EXPECT_EQ(boxText, "No page selected");
    EXPECT_LE((boxCentre - dialogCentre).manhattanLength(), 4) << "box centred over the dialog";
    EXPECT_EQ(readBytes(kiosk.path("news/important.zel")), important);
    expectKeysReach(leaf, "leaf keys");
}

TEST_F(AuthorKeysTest, AfterMakeTheEditorTakesKeys)
{
    frmEdit* other = active(editorOn("news/other.zel", kOther));
    fileCommand(2);
    EXPECT_TRUE(other->pageMade());
    expectKeysReach(other, "after make");
}

// Each chooser opens with the keyboard in its name box, or its folder list where it has none, takes typed text at
// once, and Tab walks its controls in the order they stand, with no stop the author cannot see.
TEST_F(AuthorKeysTest, ChoosersTakeTypedTextAtOnce)
{
    QWidget owner;
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    // The text typed, and as the control that had the keyboard shows it then and after the Tabs.
    const std::function<void()> opens[] = {
        [&] { workbench.instance<dlgSaveFile>().savePage({}, &owner); },
        [&] { workbench.instance<dlgCreateNewFolder>().showModal(&owner); },
        [&] { workbench.instance<dlgSelectFolder>().openFolders(&owner); },
        [&] { workbench.instance<dlgSelectFile>().openPage(&owner); },
    };
    const struct Row {
        const char *name, *typed, *shown, *tabs; // the stops, then back to the first
    } rows[] = {
        {"Save Page As", "fresh", "fresh", "cboPage.QLineEdit cboPage.QListWidget cmdCancel cmdOK lstFolder"},
        {"Create New Folder", "Bad Name", "Bad Name", "cboFolder.QLineEdit cboFolder.QListWidget cmdCancel cmdOK"},
        {"Select Folder", "n", "news", "lstFolder cmdCancel cmdOK"},
        {"Select Page", "n", "news", "lstFolder lstPage cmdCancel cmdOK"},
    };
    const auto shownBy = [](QWidget* control) {
        if (auto* box = qobject_cast<QLineEdit*>(control))
            return box->text();
        auto* list = qobject_cast<QListWidget*>(control);
        return list && list->currentItem() ? list->currentItem()->text() : QString();
    };
    for (int index = 0; const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        QString typed;
        QStringList tabs, stops = QString(row.tabs).split(u' ');
        stops.append(stops.first());
        ModalKeys keys({[&](QWidget* start) {
            QTest::keyClicks(start, row.typed);
            typed = shownBy(start);
            tabs = QStringList{describe(focused())};
            for (qsizetype t = 1; t < stops.size(); ++t) {
                press(focused(), Qt::Key_Tab);
                tabs.append(describe(focused()));
            }
            typed += u' ' + shownBy(start);
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
