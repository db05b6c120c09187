#include "config/configuration.h"
#include "dialogs/dlg_chose_dir.h"
#include "dialogs/dlg_create_new_folder.h"
#include "dialogs/dlg_select_file.h"
#include "dialogs/simple_combo_box.h"
#include "platform/session.h"
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace {

// Kiosk systems of their own in a folder of the case.
class MainWindowTest : public WindowTest {
protected:
    // A kiosk system folder; the path ends with the separator.
    QString makeKiosk(const QString& name, const QStringList& configuration = {})
    {
        writeTextFile(m_root.filePath(name + "/configuration.txt"), configuration);
        return QDir::toNativeSeparators(m_root.filePath(name)) + QDir::separator();
    }
    // Stores the non-null values as f1.., then returns f1..f3 as stored (a missing key reads as "").
    static QStringList storedRecent(const QStringList& write = {})
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "ZEL_Editor");
        QStringList values;
        for (int i = 1; i <= 3; ++i) {
            if (!write.value(i - 1).isNull())
                settings.setValue(QString("RecentFiles/f%1").arg(i), write[i - 1]);
            values.append(settings.value(QString("RecentFiles/f%1").arg(i)).toString());
        }
        return values;
    }
    QStringList recent() const { return {main->recentEntry(1), main->recentEntry(2), main->recentEntry(3)}; }

    QTemporaryDir m_root;
};

// Loads the stored list, opens each of opens ("2" clicks recent entry 2), then Exit stores the list.
TEST_F(MainWindowTest, RecentListTable)
{
    const QString a = makeKiosk("a"), b = makeKiosk("b"), c = makeKiosk("c"), d = makeKiosk("d");
    struct Row {
        const char* name;
        QStringList stored, opens, shown, kept;
    }; // kept: stored by Exit, if not shown
    const Row rows[] = {
        {"nothing stored hides the separator", {}, {}, {"", "", ""}},
        {"second entry moves to the top", {a, b, c}, {b}, {b, a, c}},
        {"a new folder enters at the top and the third drops out", {a, b, c}, {d}, {d, a, b}},
        {"two spellings are two entries for one folder", {}, {a.chopped(1), a, "2"}, {a.chopped(1), a, ""}},
        {"non-empty entries stored",
         {QString(), "/k/older/"},
         {a},
         {a, "", "/k/older/"},
         {a, "/k/older/", "/k/older/"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QSettings(QSettings::IniFormat, QSettings::UserScope, "ZEL_Editor").clear();
        storedRecent(row.stored);
        mainWindow();
        for (const QString& open : row.opens)
            open == "2" ? main->recentAction(2)->trigger() : main->openKioskSystem(open);
        EXPECT_EQ(recent(), row.shown);
        for (int i = 0; i <= 3; ++i) // 0 is the separator, shown with any entry
            EXPECT_EQ(main->recentAction(i)->isVisible(), !(i ? row.shown[i - 1] : row.shown.join("")).isEmpty()) << i;
        EXPECT_EQ(main->editMenu()->menuAction()->isEnabled(), !row.opens.isEmpty());
        if (!row.opens.isEmpty())
            EXPECT_EQ(main->workbench().kioskSystem().folder(), row.shown[0] == a.chopped(1) ? a : row.shown[0]);
        trigger(main.get(), "mnuExit");
        EXPECT_EQ(storedRecent(), row.kept.isEmpty() ? row.shown : row.kept);
    }
    EXPECT_TRUE(kiosk.messages.texts().isEmpty());
}

// The open checks the window's own screen (the warning's text is the open's own test) and is refused while a
// window stays open, keeping the kiosk system open before; Exit closes the log. Which windows the open closes, and
// in which order it asks, is the page commands' test.
TEST_F(MainWindowTest, OpenClosesOtherWindowsAndIsRefusedWhileOneStaysOpen)
{
    const QString a = makeKiosk("a"), b = makeKiosk("b");
    mainWindow(QSize(1024, 768)).openKioskSystem(a);
    frmEdit* editor = newEditor(1); // changed, and the author cancels its question
    kiosk.messages.scriptAnswers({Answer::Cancel});
    main->openKioskSystem(b);
    ASSERT_EQ(kiosk.messages.texts().size(), 3);
    EXPECT_TRUE(kiosk.messages.texts()[0].endsWith("Required height is 1024 actual height is 768"));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(main->workbench().kioskSystem().folder(), a);
    EXPECT_EQ(recent(), (QStringList{a, "", ""}));
    trigger(main.get(), "mnuExit");
    EXPECT_EQ(readLines(a + QDir(a).entryList({"log*.txt"}).value(0)).last(), "log file closed");
}

// The directory comes from the real chooser.
TEST_F(MainWindowTest, CreateNewKioskSystemCopiesTheTemplateOverAnOlderKioskSystem)
{
    writeTextFile(makeKiosk("program/Template", {"screenwidth 1280"}) + "root/root.zel", {"root", "#title new"});
    TestSession program({.programFolder = m_root.filePath("program"), .messages = &kiosk.messages});
    const QString older = makeKiosk("older", {"screenwidth 800"});
    writeTextFile(older + "root/root.zel", {"root", "#title old"});
    writeTextFile(older + "news/today.zel", {"leaf"});
    author.whenShown<dlgChoseDir>(thenOK([older](dlgChoseDir& chooser) { chooser.openDirectory(older); }));
    trigger(&mainWindow(), "mnuCreateNewKioskSystem");
    const std::pair<const char*, QStringList> files[] = {{"configuration.txt", {"screenwidth 1280"}},
                                                         {"root/root.zel", {"root", "#title new"}},
                                                         {"news/today.zel", {"leaf"}}};
    for (const auto& [file, lines] : files) // the template replaces its own files; other pages stay
        EXPECT_EQ(readLines(older + file), lines) << file;
    EXPECT_EQ(main->workbench().kioskSystem().folder(), older);
    EXPECT_EQ(recent(), (QStringList{older, "", ""}));
}

// Over an open kiosk system: New Folder creates the chosen folder (what the dialog accepts is its own table's,
// ChoosersTest); Edit Page on a page that is already open brings its editor to the front, since a second editor
// on the same page would overwrite the first one's saves.
TEST_F(MainWindowTest, NewFolderCreatesItAndEditPageOnAnOpenPageBringsItsEditorForward)
{
    const QString folder = makeKiosk("a");
    writeTextFile(folder + "news/today.zel", {"#leaf"});
    mainWindow().openKioskSystem(folder);
    author.whenShown<dlgCreateNewFolder>(
        thenOK([](dlgCreateNewFolder& dialog) { dialog.folderBox()->lineEdit()->setText("sport"); }));
    trigger(main.get(), "mnuNewFolder");
    EXPECT_EQ(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList{"news", "sport"}));
    author.whenShown<dlgSelectFile>(thenOK([](dlgSelectFile& dialog) {
        dialog.folderList()->setCurrentItem(dialog.folderList()->findItems("news", Qt::MatchExactly).value(0));
        dialog.pageList()->setCurrentRow(0);
    }));
    for (int i = 0; i < 2; ++i)
        trigger(main.get(), "mnuEditPage");
    EXPECT_EQ(visibleWindows<frmEdit>().size(), 1);
    EXPECT_TRUE(kiosk.messages.texts().isEmpty());
}

} // namespace
