#include "app/frm_kiosk_system.h"
#include "app/window_closing.h"
#include "config/configuration.h"
#include "dialogs/dlg_chose_dir.h"
#include "dialogs/dlg_create_new_folder.h"
#include "dialogs/modal_runner.h"
#include "dialogs/simple_combo_box.h"
#include "platform/program_end.h"
#include "platform/program_folder.h"
#include "platform/screen_size.h"
#include "support/kiosk_fixture.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Readable QString values in failure messages.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

const QString kRefusal =
    QStringLiteral("You must close ALL ZEL editor windows BEFORE you can open another Kiosk System");

// A window that refuses to close, as an editor whose author cancels the
// unsaved-changes question.
class RefusingWindow : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// Each case gets its own settings store and folder of kiosk systems, and a
// main window on a 1280 x 1024 screen (the configured default).
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_root.filePath(QStringLiteral("settings")));
    }

    void TearDown() override
    {
        m_window.reset();
        WindowClosing::closeOtherWindows(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ModalRunner::setRunner({});
        setProgramFolderOverride(QString());
    }

    // A kiosk system folder with a configuration file; the path ends with the separator.
    QString makeKiosk(const QString& name, const QStringList& configuration = {})
    {
        const QString folder = QDir::toNativeSeparators(m_root.filePath(name)) + QDir::separator();
        writeTextFile(folder + QStringLiteral("configuration.txt"), configuration);
        return folder;
    }

    void storeRecent(const QStringList& values)
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZEL_Editor"));
        for (int i = 0; i < values.size(); ++i)
            if (!values[i].isNull())
                settings.setValue(QStringLiteral("RecentFiles/f%1").arg(i + 1), values[i]);
    }

    // The stored recent entries f1..f3; a missing key reads as a null string.
    QStringList storedRecent() const
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZEL_Editor"));
        QStringList values;
        for (int i = 1; i <= 3; ++i)
            values.append(settings.value(QStringLiteral("RecentFiles/f%1").arg(i)).toString());
        return values;
    }

    frmKioskSystem& window(QSize screen = QSize(1280, 1024))
    {
        if (!m_window) {
            m_window = std::make_unique<frmKioskSystem>();
            m_window->setScreenSizeProvider(std::make_unique<FixedScreenSize>(screen));
            m_window->chooseDirectory = [this] { return m_chosenDirectory; };
            m_window->show();
        }
        return *m_window;
    }

    QStringList recentEntries() const
    {
        QStringList entries;
        for (int i = 1; i <= 3; ++i)
            entries.append(m_window->recentEntry(i));
        return entries;
    }

    QList<bool> recentVisible() const
    {
        QList<bool> visible;
        for (int i = 0; i <= 3; ++i)
            visible.append(m_window->recentAction(i)->isVisible());
        return visible;
    }

    static QStringList logFiles(const QString& folder)
    {
        return QDir(folder).entryList({QStringLiteral("log*.txt")}, QDir::Files);
    }

    static QStringList logOf(const QString& folder)
    {
        const QStringList logs = logFiles(folder);
        EXPECT_EQ(logs.size(), 1);
        return logs.isEmpty() ? QStringList() : readLines(folder + logs.first());
    }

    QTemporaryDir m_root;
    RecordingMessages m_messages;
    ProgramEndCatcher m_ending;
    QString m_chosenDirectory;
    std::unique_ptr<frmKioskSystem> m_window;
};

TEST_F(MainWindowTest, StartsWithTheCaptionTheMenuTreeAndEditAndToolsDisabled)
{
    frmKioskSystem& frm = window();
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Ostervale Information Kiosk (ZEL)"));
    struct Row {
        const char* name;
        const char* caption;
    };
    const Row rows[] = {
        {"mnuOpenKioskSystem", "Open Kiosk System..."},
        {"mnuCreateNewKioskSystem", "Create New Kiosk System..."},
        {"mnuInstallKioskSystem", "Install Kiosk System ..."},
        {"mnuExit", "E&xit"},
        {"mnuEditPage", "Edit Page..."},
        {"mnuCreateBranchPage", "New Branch Page..."},
        {"mnuCreateLeafPage", "New Leaf Page..."},
        {"mnuCreateSelectorPage", "New Selector Page..."},
        {"mnuNewFolder", "New Folder ..."},
        {"mnuExportFolder", "Export Folder..."},
        {"mnuMakeAllPages", "Make All Pages..."},
        {"mnuAbout", "&About Ostervale Information Kiosk (ZEL)"},
    };
    for (const Row& row : rows) {
        const auto* action = frm.findChild<QAction*>(QString::fromLatin1(row.name));
        ASSERT_NE(action, nullptr) << row.name;
        EXPECT_EQ(action->text(), QString::fromLatin1(row.caption)) << row.name;
    }
    QStringList titles;
    for (QAction* action : frm.menuBar()->actions())
        titles.append(action->text());
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Tools", "&Help"}));
    EXPECT_FALSE(frm.editMenu()->menuAction()->isEnabled());
    EXPECT_FALSE(frm.toolsMenu()->menuAction()->isEnabled());
    // Nothing stored: neither the separator nor any entry shows.
    EXPECT_EQ(recentVisible(), (QList<bool>{false, false, false, false}));
}

TEST_F(MainWindowTest, StoredEntriesShowInOrderWithTheSeparator)
{
    storeRecent({"/k/one/", "/k/two/"});
    window();
    EXPECT_EQ(recentEntries(), (QStringList{"/k/one/", "/k/two/", ""}));
    EXPECT_EQ(recentVisible(), (QList<bool>{true, true, true, false}));
    EXPECT_EQ(m_window->recentAction(1)->text(), QStringLiteral("/k/one/"));
}

TEST_F(MainWindowTest, RecentListUpdateTable)
{
    struct Row {
        const char* name;
        QStringList stored;
        QString opened;
        QStringList expected;
    };
    const QString a = makeKiosk("a"), b = makeKiosk("b"), c = makeKiosk("c"), d = makeKiosk("d");
    const Row rows[] = {
        {"first open enters the empty list", {}, a, {a, "", ""}},
        {"second entry moves to the top", {a, b, c}, b, {b, a, c}},
        {"third entry moves to the top", {a, b, c}, c, {c, a, b}},
        {"first entry stays where it is", {a, b, c}, a, {a, b, c}},
        {"new folder enters at the top and the third drops out", {a, b, c}, d, {d, a, b}},
        {"new folder with two entries keeps both", {a, b}, c, {c, a, b}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZEL_Editor")).clear();
        storeRecent(row.stored);
        m_window.reset();
        window().openKioskSystem(row.opened);
        EXPECT_EQ(recentEntries(), row.expected);
        EXPECT_TRUE(m_window->recentAction(0)->isVisible());
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(m_window->recentAction(i)->isVisible(), !row.expected[i - 1].isEmpty()) << i;
        EXPECT_TRUE(m_window->editMenu()->menuAction()->isEnabled());
        EXPECT_TRUE(m_window->toolsMenu()->menuAction()->isEnabled());
    }
    EXPECT_TRUE(m_messages.texts().isEmpty()) << m_messages.texts().join(u'|').toStdString();
}

TEST_F(MainWindowTest, TwoSpellingsOfOneFolderAreTwoEntriesThatOpenTheSameKioskSystem)
{
    const QString withSeparator = makeKiosk("k");
    const QString without = withSeparator.chopped(1);
    frmKioskSystem& frm = window();
    frm.openKioskSystem(without);
    frm.openKioskSystem(withSeparator);
    EXPECT_EQ(recentEntries(), (QStringList{withSeparator, without, ""}));
    frm.recentAction(2)->trigger();
    EXPECT_EQ(configuration::kioskSystemFolder(), withSeparator);
    EXPECT_EQ(recentEntries(), (QStringList{without, withSeparator, ""}));
}

TEST_F(MainWindowTest, RecentEntryOpensItsFolder)
{
    const QString a = makeKiosk("a"), b = makeKiosk("b");
    storeRecent({a, b});
    window().recentAction(2)->trigger();
    EXPECT_EQ(configuration::kioskSystemFolder(), b);
    EXPECT_EQ(recentEntries(), (QStringList{b, a, ""}));
    EXPECT_EQ(logFiles(b).size(), 1);
}

TEST_F(MainWindowTest, ClosingStoresOnlyNonEmptyEntriesAndWritesNoLogWithoutAnOpen)
{
    storeRecent({QString(), "/k/older/", "/k/third/"});
    window().close();
    // Nothing opened: the stored values come back unchanged, f1 stays missing.
    EXPECT_EQ(storedRecent(), (QStringList{"", "/k/older/", "/k/third/"}));
    EXPECT_FALSE(QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZEL_Editor"))
                     .contains(QStringLiteral("RecentFiles/f1")));
}

TEST_F(MainWindowTest, AnEmptyCaptionLeavesTheOlderStoredValue)
{
    const QString x = makeKiosk("x");
    storeRecent({QString(), "/k/older/"});
    frmKioskSystem& frm = window();
    frm.openKioskSystem(x);
    // x on top; the empty first entry moved to second place, "/k/older/" to third.
    EXPECT_EQ(recentEntries(), (QStringList{x, "", "/k/older/"}));
    frm.close();
    EXPECT_EQ(storedRecent(), (QStringList{x, "/k/older/", "/k/older/"}));
    EXPECT_EQ(logOf(x).last(), QStringLiteral("log file closed"));
}

TEST_F(MainWindowTest, ExitStoresTheListAndClosesTheLog)
{
    const QString a = makeKiosk("a");
    frmKioskSystem& frm = window();
    frm.openKioskSystem(a);
    frm.findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    EXPECT_FALSE(frm.isVisible());
    EXPECT_EQ(storedRecent(), (QStringList{a, "", ""}));
    EXPECT_EQ(logOf(a).last(), QStringLiteral("log file closed"));
}

TEST_F(MainWindowTest, OpenIsRefusedWhileAWindowStaysOpen)
{
    const QString a = makeKiosk("a"), b = makeKiosk("b");
    frmKioskSystem& frm = window();
    frm.openKioskSystem(a);
    RefusingWindow editor;
    editor.show();
    frm.openKioskSystem(b);
    EXPECT_EQ(m_messages.texts(), QStringList{kRefusal});
    EXPECT_EQ(m_messages.entries()[0].kind, RecordingMessages::Entry::Ok);
    EXPECT_EQ(configuration::kioskSystemFolder(), a);
    EXPECT_EQ(recentEntries(), (QStringList{a, "", ""}));
    EXPECT_TRUE(logFiles(b).isEmpty());
    EXPECT_TRUE(editor.isVisible());
}

TEST_F(MainWindowTest, RefusedFirstOpenLeavesTheMenusDisabled)
{
    const QString a = makeKiosk("a");
    frmKioskSystem& frm = window();
    RefusingWindow editor;
    editor.show();
    frm.openKioskSystem(a);
    EXPECT_EQ(m_messages.texts(), QStringList{kRefusal});
    EXPECT_FALSE(frm.editMenu()->menuAction()->isEnabled());
    EXPECT_EQ(recentVisible(), (QList<bool>{false, false, false, false}));
}

TEST_F(MainWindowTest, OpenClosesOtherWindowsThatAgree)
{
    const QString a = makeKiosk("a");
    QWidget other;
    other.show();
    window().openKioskSystem(a);
    EXPECT_FALSE(other.isVisible());
    EXPECT_TRUE(m_messages.texts().isEmpty());
}

TEST_F(MainWindowTest, SmallerScreenWarnsAndTheLogListsTheRealSize)
{
    const QString a = makeKiosk("a", {"screens 2", "screenwidth 1280", "screenheight 1024"});
    window(QSize(1024, 768)).openKioskSystem(a);
    EXPECT_EQ(m_messages.texts(),
              QStringList{QStringLiteral("Warning your screen is NOT the same size as required for the Kiosk System\r\n"
                                         "Some pages may NOT display correctly\r\n\r\n"
                                         "Required width is 1280 actual width is 1024\r\n"
                                         "Required height is 1024 actual height is 768")});
    EXPECT_EQ(configuration::integerValue(QStringLiteral("screens")), 1);
    EXPECT_EQ(configuration::integerValue(QStringLiteral("screenwidth")), 1024);
    EXPECT_EQ(configuration::integerValue(QStringLiteral("screenheight")), 768);
    const QStringList log = logOf(a);
    for (const char* line : {"screens = 1", "screenwidth = 1024", "screenheight = 768", "mode = 2"})
        EXPECT_TRUE(log.contains(QString::fromLatin1(line))) << line;
    EXPECT_TRUE(m_window->editMenu()->menuAction()->isEnabled());
}

TEST_F(MainWindowTest, OpenCommandOpensTheChosenDirectoryAndCancelDoesNothing)
{
    const QString a = makeKiosk("a");
    frmKioskSystem& frm = window();
    QAction* open = frm.findChild<QAction*>(QStringLiteral("mnuOpenKioskSystem"));
    open->trigger();
    EXPECT_FALSE(configuration::hasConfiguration() && configuration::kioskSystemFolder() == a);
    EXPECT_FALSE(frm.editMenu()->menuAction()->isEnabled());
    m_chosenDirectory = a;
    open->trigger();
    EXPECT_EQ(configuration::kioskSystemFolder(), a);
    EXPECT_EQ(recentEntries(), (QStringList{a, "", ""}));
}

TEST_F(MainWindowTest, OpenCommandAsksTheDirectoryChooserOwnedByTheMainWindow)
{
    const QString a = makeKiosk("a");
    frmKioskSystem frm;
    frm.setScreenSizeProvider(std::make_unique<FixedScreenSize>(QSize(1280, 1024)));
    QWidget* owner = nullptr;
    ModalRunner::setRunner([&](QDialog& dialog) {
        auto& chooser = static_cast<dlgChoseDir&>(dialog);
        owner = chooser.parentWidget();
        chooser.show();
        chooser.openDirectory(a);
        chooser.okButton()->click();
    });
    frm.findChild<QAction*>(QStringLiteral("mnuOpenKioskSystem"))->trigger();
    EXPECT_EQ(owner, &frm);
    EXPECT_EQ(configuration::kioskSystemFolder(), a);
    EXPECT_EQ(frm.recentEntry(1), a);
}

// A recent entry whose folder is gone ends the program at once, without the
// shutdown: the main window stays and the recent list is not stored. (Other
// windows were already closed by the open's first step.)
TEST_F(MainWindowTest, RecentEntryOfAMissingFolderEndsAtOnce)
{
    const QString gone = QDir::toNativeSeparators(m_root.filePath(QStringLiteral("gone"))) + QDir::separator();
    storeRecent({"/k/one/", gone});
    ProgramEnd::setUnloadWindowsHook(&WindowClosing::closeAllWindows);
    frmKioskSystem& frm = window();
    EXPECT_TRUE(endsProgram([&] { frm.mnuFileItem_Click(2); }));
    EXPECT_EQ(m_messages.texts(), QStringList{QStringLiteral("Fatal Error - Kiosk System Folder - ") + gone
                                              + QStringLiteral(" does NOT exist\r\nProgram will stop")});
    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(storedRecent(), (QStringList{"/k/one/", gone, ""}));
    EXPECT_FALSE(QFileInfo::exists(gone));
}

TEST_F(MainWindowTest, CreateNewKioskSystemCopiesTheTemplateOverAnOlderKioskSystem)
{
    const QString programDir = QDir::toNativeSeparators(m_root.filePath(QStringLiteral("program"))) + QDir::separator();
    const QString templateDir = programDir + QStringLiteral("Template") + QDir::separator();
    writeTextFile(templateDir + QStringLiteral("configuration.txt"), {"screenwidth 1280"});
    writeTextFile(templateDir + QStringLiteral("stylesheet.css"), {"new style"});
    writeTextFile(templateDir + QStringLiteral("root/root.zel"), {"root", "#title new"});
    setProgramFolderOverride(programDir);

    const QString older = makeKiosk("older", {"screenwidth 800"});
    writeTextFile(older + QStringLiteral("stylesheet.css"), {"old style"});
    writeTextFile(older + QStringLiteral("root/root.zel"), {"root", "#title old"});
    writeTextFile(older + QStringLiteral("root/extra.zel"), {"leaf"});
    writeTextFile(older + QStringLiteral("news/today.zel"), {"leaf", "#title today"});

    m_chosenDirectory = older;
    window().findChild<QAction*>(QStringLiteral("mnuCreateNewKioskSystem"))->trigger();
    EXPECT_EQ(readLines(older + QStringLiteral("configuration.txt")), QStringList{"screenwidth 1280"});
    EXPECT_EQ(readLines(older + QStringLiteral("stylesheet.css")), QStringList{"new style"});
    EXPECT_EQ(readLines(older + QStringLiteral("root/root.zel")), (QStringList{"root", "#title new"}));
    EXPECT_EQ(readLines(older + QStringLiteral("root/extra.zel")), QStringList{"leaf"});
    EXPECT_EQ(readLines(older + QStringLiteral("news/today.zel")), (QStringList{"leaf", "#title today"}));
    EXPECT_EQ(configuration::kioskSystemFolder(), older);
    EXPECT_EQ(recentEntries(), (QStringList{older, "", ""}));
    EXPECT_TRUE(m_messages.texts().isEmpty());
}

TEST_F(MainWindowTest, CreateNewKioskSystemCancelledCopiesNothing)
{
    setProgramFolderOverride(m_root.filePath(QStringLiteral("nowhere")));
    window().findChild<QAction*>(QStringLiteral("mnuCreateNewKioskSystem"))->trigger();
    EXPECT_TRUE(m_messages.texts().isEmpty());
    EXPECT_EQ(m_ending.endCount(), 0);
}

// A missing template is a runtime error; the fatal report closes every
// window through its own close handling, so the main window stores the
// recent list and closes the log after the report's lines.
TEST_F(MainWindowTest, MissingTemplateIsAFatalReportThatClosesEveryWindow)
{
    const QString a = makeKiosk("a"), target = makeKiosk("target");
    setProgramFolderOverride(m_root.filePath(QStringLiteral("no-program")));
    ProgramEnd::setUnloadWindowsHook(&WindowClosing::closeAllWindows);
    frmKioskSystem& frm = window();
    frm.openKioskSystem(a);
    QWidget other;
    other.show();
    m_chosenDirectory = target;
    EXPECT_TRUE(endsProgram([&] { frm.mnuCreateNewKioskSystem_Click(); }));
    ASSERT_EQ(m_messages.entries().size(), 1u);
    EXPECT_EQ(m_messages.entries()[0].kind, RecordingMessages::Entry::Exclamation);
    EXPECT_TRUE(m_messages.texts()[0].startsWith(
        QStringLiteral("The System has encountered a problem\r\n"
                       "Runtime error 76 in frmKioskSystem.mnuCreateNewKioskSystem_Click\r\n")));
    EXPECT_FALSE(frm.isVisible());
    EXPECT_FALSE(other.isVisible());
    const QStringList log = logOf(a);
    ASSERT_GE(log.size(), 3);
    EXPECT_EQ(log[log.size() - 3], QStringLiteral("Runtime error 76 in frmKioskSystem.mnuCreateNewKioskSystem_Click"));
    EXPECT_EQ(log.last(), QStringLiteral("log file closed"));
    EXPECT_EQ(storedRecent(), (QStringList{a, "", ""}));
}

// Records whether the main window was still open when this window closed.
class WatchingWindow : public QWidget {
public:
    explicit WatchingWindow(const QWidget* mainWindow) : m_main(mainWindow) {}
    bool mainOpenAtClose = false;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        mainOpenAtClose = m_main->isVisible();
        event->accept();
    }

private:
    const QWidget* m_main;
};

TEST_F(MainWindowTest, ClosingEveryWindowClosesTheMainWindowLast)
{
    frmKioskSystem& frm = window();
    WatchingWindow first(&frm), second(&frm);
    first.show();
    second.show();
    WindowClosing::closeAllWindows();
    EXPECT_TRUE(first.mainOpenAtClose);
    EXPECT_TRUE(second.mainOpenAtClose);
    EXPECT_FALSE(first.isVisible());
    EXPECT_FALSE(frm.isVisible());
}

TEST_F(MainWindowTest, NewFolderTakesTheTrimmedNameFromTheDialogAndCreatesIt)
{
    const QString a = makeKiosk("a");
    QDir().mkpath(a + QStringLiteral("news"));
    frmKioskSystem& frm = window();
    frm.openKioskSystem(a);
    QStringList typed{QStringLiteral("  news  "), QStringLiteral("  sport  ")};
    ModalRunner::setRunner([&](QDialog& dialog) {
        dialog.show();
        auto& folderDialog = static_cast<dlgCreateNewFolder&>(dialog);
        for (const QString& text : typed) {
            folderDialog.folderBox()->lineEdit()->setText(text);
            folderDialog.okButton()->click();
        }
        // A modal show ends only when the dialog is hidden: the author gives up.
        if (folderDialog.isVisible())
            folderDialog.cancelButton()->click();
    });
    EXPECT_FALSE(endsProgram([&] { frm.findChild<QAction*>(QStringLiteral("mnuNewFolder"))->trigger(); }));
    EXPECT_EQ(m_messages.texts(), QStringList{QStringLiteral("Folder already exists")});
    EXPECT_TRUE(QFileInfo(a + QStringLiteral("sport")).isDir());
    EXPECT_FALSE(QFileInfo(a + QStringLiteral("  sport  ")).exists());

    // The next use lists the folder made by the previous one.
    typed = {QStringLiteral("sport")};
    m_messages.clear();
    EXPECT_FALSE(endsProgram([&] { frm.findChild<QAction*>(QStringLiteral("mnuNewFolder"))->trigger(); }));
    EXPECT_EQ(m_messages.texts(), QStringList{QStringLiteral("Folder already exists")});
    EXPECT_EQ(dlgCreateNewFolder::instance().folderBox()->items(), (QStringList{"news", "sport"}));
    EXPECT_EQ(dlgCreateNewFolder::instance().getFolderPath(), QString());
}

TEST_F(MainWindowTest, NewFolderCancelledCreatesNothing)
{
    const QString a = makeKiosk("a");
    frmKioskSystem& frm = window();
    frm.openKioskSystem(a);
    frm.chooseNewFolderPath = [] { return QString(); };
    frm.findChild<QAction*>(QStringLiteral("mnuNewFolder"))->trigger();
    EXPECT_EQ(QDir(a).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(MainWindowTest, InstallAndAboutShowTheirMessages)
{
    frmKioskSystem& frm = window();
    frm.findChild<QAction*>(QStringLiteral("mnuInstallKioskSystem"))->trigger();
    frm.findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
    EXPECT_EQ(m_messages.texts(), (QStringList{"InstallKioskSystem not implemented yet",
                                               "Ostervale Information Kiosk (ZEL) Version 1.3 Revision 0"}));
}

} // namespace
