// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/directive_completer.h"
#include "editor/editor_preview.h"
#include "editor/picture_window.h"
#include "editor/problem_marks.h"
#include "editor/reference_navigation.h"
#include "pages/page_types.h"
#include "preview/preview_make.h"
#include "preview/preview_window.h"
#include "support/check_kiosk.h"
#include "support/scaled_screen.h"
#include "support/web_wait.h"
#include "support/window_fixture.h"

#include <QCompleter>
#include <QHelpEvent>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QTextBlock>
#include <QToolTip>
#include <QTreeWidget>
#include <QWebEngineView>
#include <sys/mount.h>

namespace {

// The sample kiosk system made by zel-make (so its picture copies and their record are what a make leaves), open in
// a main window as the author opens it; the preview's maker is the zel-make beside the test program.
class PreviewTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        copySampleKiosk(kiosk.folder());
        const MakeRun made = runZelMake({kiosk.folder()});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        mainWindow().openKioskSystem(kiosk.folder());
        kiosk.messages.clear();
    }
    EditorWindow* edit(const QString& relative) { return EditorWindow::openOrRaise(workbench, kiosk.path(relative)); }
    // Types as the keyboard would ("\n" as Return), at the end of the text unless told to type at the cursor.
    static void typeKeys(EditorWindow* editor, const QString& text, bool atEnd = true)
    {
        if (atEnd) {
            editor->textArea()->setFocus();
            editor->textArea()->moveCursor(QTextCursor::End);
        }
        for (const QChar c : text)
            c == u'\n' ? QTest::keyClick(editor->textArea(), Qt::Key_Return) : QTest::keyClicks(editor->textArea(), c);
    }
    // Selects the line (to type over it).
    static void selectLine(EditorWindow* editor, int line)
    {
        QTextCursor whole(editor->textArea()->document()->findBlockByNumber(line));
        whole.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        editor->textArea()->setTextCursor(whole);
    }
    PreviewWindow& openPreview(EditorWindow* editor)
    {
        trigger(editor, "previewAction");
        PreviewWindow& preview = workbench.instance<PreviewWindow>();
        EXPECT_TRUE(waitUntil([&] { return !preview.isMaking() && !preview.shownPage().isEmpty(); }))
            << preview.statusLabel()->text().toStdString();
        return preview;
    }
    // Runs a script in the shown frameset's window and gives its answer.
    static QVariant script(PreviewWindow& preview, const QString& source)
    {
        return runScript(preview.previewView()->page(), source, QWebEngineScript::ApplicationWorld);
    }
    // The text of the shown page's frame ("con" or "nav").
    static QString frameText(PreviewWindow& preview, const QString& frame = "con")
    {
        return script(preview, "(function () { var frame = document.getElementsByName('" + frame
                                   + "')[0]; return frame && frame.contentDocument"
                                     " ? frame.contentDocument.body.innerText : ''; })()")
            .toString();
    }
    // Marks the frameset window shown now; framesetKept tells whether it is still the one shown.
    static void markFrameset(PreviewWindow& preview) { script(preview, "window.zelKept = true"); }
    static bool framesetKept(PreviewWindow& preview) { return script(preview, "window.zelKept === true").toBool(); }
};

// What a make or the check would report is marked at its line while the author types, each editor keeping the marks
// of its own text, with Make's very text on hover and in the list of the preview, which follows the editor the author
// turns to; a double-click in the list goes to the line. Another editor closing leaves the preview and the marks; a
// line mended, its mark goes. No message box appears.
TEST_F(PreviewTest, MarksProblemsAtTheirLinesWhileTyping)
{
    const struct {
        const char* page;
        QString faulty; // typed on a new last line
        const char* kind;
        QString text;
        const char* mended; // typed over it
    } rows[] = {
        {"news/news.zel", "#button news\\nowhere Nowhere", "dead end", "Reference to non-existent page",
         "#button news\\today Today"},
        {"visiting/castle.zel", "#button news\\news News", "faulty line", "You can not put buttons on a leaf page",
         "#para"},
        {"news/today.zel", "#bogus", "faulty line", "Expected valid directive", "Mended."},
        {"visiting/visiting.zel", "#button news\\today " + QString(200, u'W'), "may not fit",
         "Button text may not fit: " + QString(200, u'W'), "#para"},
    };
    std::vector<EditorWindow*> editors;
    std::vector<int> lines;
    PreviewWindow* preview = nullptr;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.page);
        EditorWindow* editor = edit(row.page);
        preview = &openPreview(editor);
        QPlainTextEdit* text = editor->textArea();
        typeKeys(editor, "\n" + row.faulty);
        const int line = text->textCursor().blockNumber();
        editors.push_back(editor);
        lines.push_back(line);
        ASSERT_TRUE(waitUntil([&] { return editor->preview()->marks().markedLines() == QList<int>{line}; }))
            << preview->statusLabel()->text().toStdString();

        // The mouse resting on the line shows the problem's text.
        QTextCursor inLine(text->document()->findBlockByNumber(line));
        inLine.movePosition(QTextCursor::Right);
        const QPoint point = text->cursorRect(inLine).center();
        QHelpEvent hover(QEvent::ToolTip, point, text->viewport()->mapToGlobal(point));
        QApplication::sendEvent(text->viewport(), &hover);
        EXPECT_EQ(QToolTip::text(), row.text);

        // Listed by the page source's line (the page type line is line 1).
        QTreeWidget* list = preview->problemList();
        ASSERT_EQ(list->topLevelItemCount(), 1);
        QTreeWidgetItem* item = list->topLevelItem(0);
        EXPECT_EQ(QStringList({item->text(0), item->text(1), item->text(2)}),
                  QStringList({QString::number(line + 2), row.kind, row.text}));
        text->moveCursor(QTextCursor::Start);
        clickItem(list, list->visualItemRect(item), true);
        EXPECT_EQ(text->textCursor().blockNumber(), line);
    }
    // Turning to each editor in turn, then back to the first; the editors left behind keep their own marks.
    for (const size_t turn : {size_t(0), size_t(1), size_t(2), size_t(0)}) {
        SCOPED_TRACE(rows[turn].page);
        QApplication::setActiveWindow(editors[turn]);
        ASSERT_TRUE(waitUntil([&] {
            return preview->followed() == editors[turn] && !preview->isMaking()
                   && editors[turn]->preview()->marks().markedLines() == QList<int>{lines[turn]};
        })) << preview->statusLabel()->text().toStdString();
        ASSERT_EQ(preview->problemList()->topLevelItemCount(), 1);
        EXPECT_EQ(preview->problemList()->topLevelItem(0)->text(2), rows[turn].text);
        for (size_t i = 0; i < editors.size(); ++i)
            EXPECT_EQ(editors[i]->preview()->marks().markedLines(), QList<int>{lines[i]}) << rows[i].page;
    }
    editors[1]->textArea()->document()->setModified(false);
    editors[1]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(preview->followed(), editors[0]);
    EXPECT_EQ(preview->problemList()->topLevelItemCount(), 1);
    for (const int i : {0, 2, 3}) {
        SCOPED_TRACE(rows[i].page);
        QApplication::setActiveWindow(editors[i]);
        selectLine(editors[i], lines[i]);
        typeKeys(editors[i], rows[i].mended, false);
        ASSERT_TRUE(waitUntil([&] {
            return preview->followed() == editors[i] && editors[i]->preview()->marks().markedLines().isEmpty()
                   && preview->problems().isEmpty();
        })) << (preview->problems().isEmpty() ? "" : preview->problems().first().text.toStdString());
        EXPECT_EQ(preview->problemList()->topLevelItemCount(), 0);
    }
    EXPECT_TRUE(kiosk.messages.texts().isEmpty()) << kiosk.messages.texts().join('|').toStdString();
}

// The preview follows the editor the author turns to, a page never saved included; a navigation button shows its
// target; the editor closed, the preview shows nothing.
TEST_F(PreviewTest, FollowsTheActiveEditorAndItsButtons)
{
    PreviewWindow& preview = openPreview(edit("news/today.zel"));
    EditorWindow* fresh = newEditor(2);
    typeKeys(fresh, "#title Fresh page\n#button news\\today Today\n");
    QApplication::setActiveWindow(fresh);
    ASSERT_TRUE(waitUntil([&] { return preview.followed() == fresh && !preview.isMaking(); }));
    EXPECT_EQ(preview.windowTitle(), "ZEL (Preview) new page");
    ASSERT_TRUE(waitUntil([&] { return frameText(preview).contains("Fresh page"); }));

    // b2 is the first button after Home: news\today, shown from the made page.
    script(preview, "document.getElementsByName('nav')[0].contentDocument.getElementById('b2').click()");
    ASSERT_TRUE(waitUntil([&] { return preview.previewView()->url().path().endsWith("/news/today.htm"); }));
    ASSERT_TRUE(waitUntil([&] { return frameText(preview).contains("Market day"); }));

    kiosk.messages.scriptAnswers({Answer::No}); // not saved
    fresh->close();
    ASSERT_TRUE(waitUntil([&] { return preview.followed() == nullptr && preview.shownPage().isEmpty(); }));
}

// "Show as at" shows the kiosk as at the moment chosen: a button to a page off show then is hidden, one on show
// then shown; the page is made again for neither.
TEST_F(PreviewTest, ShowAsAtShowsTheButtonsOfThatMoment)
{
    writeTextFile(kiosk.path("news/fair.zel"), {"#leaf", "#title Fair", "#show from 2026-12-01 until 2026-12-24"});
    EditorWindow* editor = edit("news/news.zel");
    typeKeys(editor, "\n#button news\\fair Fair\n");
    PreviewWindow& preview = openPreview(editor);
    const auto fair = [&] {
        return script(preview, "(function () { var nav = document.getElementsByName('nav')[0].contentDocument;"
                               " var a = Array.from(nav.querySelectorAll('a.nav')).filter(function (a) {"
                               " return a.textContent === 'Fair'; })[0];"
                               " return a ? (a.style.visibility || 'shown') : 'none'; })()")
            .toString();
    };
    ASSERT_TRUE(waitUntil([&] { return fair() != "none"; }));
    EXPECT_FALSE(preview.showAtEdit()->isEnabled());
    for (const auto& [at, shown] : {std::pair{QDate(2026, 12, 10), QString("shown")},
                                    {QDate(2027, 1, 10), "hidden"},
                                    {QDate(2026, 11, 30), "hidden"},
                                    {QDate(2026, 12, 23), "shown"}}) {
        preview.showAtEdit()->setDateTime(QDateTime(at, QTime(12, 0)));
        preview.showAtBox()->setChecked(true);
        EXPECT_TRUE(waitUntil([&] { return fair() == shown; })) << at.toString().toStdString();
    }
    EXPECT_TRUE(preview.showAtEdit()->isEnabled());
}

// Each edit shows in the pane, and typing writes nothing into the kiosk system; only an edit that leaves the
// frameset and its buttons as they are loads the content frame alone, anything else the whole page: its title, its
// buttons, a Save As under another name, its type changed outside and loaded again.
TEST_F(PreviewTest, LoadsTheWholePageOnlyWhenMoreThanItsContentChanged)
{
    EditorWindow* editor = edit("news/news.zel");
    PreviewWindow& preview = openPreview(editor);
    ASSERT_TRUE(waitUntil([&] { return frameText(preview).contains("Something is happening"); }));
    const auto before = folderSnapshot(kiosk.folder());
    const struct {
        const char* name;
        std::function<void()> edit;
        bool framesetKept;
        const char* frame; // holding the edit
        const char* shows;
        const char* title; // of the frameset
    } rows[] = {
        {"paragraph typed", [&] { typeKeys(editor, "\n#para\nA band plays tonight."); }, true, "con",
         "A band plays tonight.", "What's On - Main"},
        {"title changed",
         [&] {
             selectLine(editor, 0);
             typeKeys(editor, "#title Events", false);
         },
         false, "con", "A band plays tonight.", "Events - Main"},
        {"button added", [&] { typeKeys(editor, "\n#button visiting\\castle The castle"); }, false, "nav", "The castle",
         "Events - Main"},
        {"another paragraph", [&] { typeKeys(editor, "\n#para\nAnd a choir."); }, true, "con", "And a choir.",
         "Events - Main"},
        {"saved under another name",
         [&] {
             EXPECT_EQ(folderSnapshot(kiosk.folder()), before) << "typing wrote nothing";
             editor->choosePagePath = [&](const QString&) { return kiosk.path("news/events.zel"); };
             ASSERT_TRUE(editor->saveFileAs());
         },
         false, "con", "And a choir.", "Events - Main"},
        {"type changed outside and loaded again",
         [&] {
             writeBytes(kiosk.path("news/events.zel"), "#leaf\r\n#title Events today\r\n#para\r\nNo buttons.\r\n");
             kiosk.messages.scriptAnswers({Answer::Yes});
             QApplication::setActiveWindow(&preview);
             QApplication::setActiveWindow(editor);
             ASSERT_TRUE(waitUntil([&] { return editor->windowTitle().contains("Leaf Page"); }))
                 << editor->windowTitle().toStdString() << kiosk.messages.texts().join('|').toStdString();
         },
         false, "nav", "Down", "Events today - Main"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        markFrameset(preview);
        QSignalSpy shown(&preview, &PreviewWindow::pageShown);
        row.edit();
        ASSERT_TRUE(waitUntil([&] { return !shown.isEmpty() && !preview.isMaking(); }))
            << preview.statusLabel()->text().toStdString();
        ASSERT_TRUE(waitUntil([&] { return frameText(preview, row.frame).contains(row.shows); }))
            << frameText(preview, row.frame).toStdString();
        EXPECT_EQ(framesetKept(preview), row.framesetKept);
        EXPECT_EQ(script(preview, "document.title").toString(), row.title);
        EXPECT_EQ(preview.previewView()->url(), QUrl::fromLocalFile(preview.shownPage()));
    }
    EXPECT_EQ(preview.windowTitle(), "ZEL (Preview) news\\events");
    EXPECT_TRUE(preview.shownPage().endsWith("/news/events.htm")) << preview.shownPage().toStdString();
    EXPECT_EQ(kiosk.messages.texts().size(), 1) << kiosk.messages.texts().join('|').toStdString();
}

// An item typed on a selector page: the content frame loaded alone holds it, prepared by the kiosk script as a whole
// load prepares it (the first row is the current one, in line with the Select button, the table in its place).
TEST_F(PreviewTest, TypedItemOfASelectorPageIsPreparedAsAWholeLoadPreparesIt)
{
    EditorWindow* editor = edit("shops/directory.zel");
    PreviewWindow& preview = openPreview(editor);
    const auto shownState = [&] {
        return script(preview, "(function () { var con = document.getElementsByName('con')[0].contentDocument;"
                               " var rows = con.getElementById('sTable').rows;"
                               " return con.documentElement.getAttribute('data-kiosk-ready') + ' ' + rows.length"
                               " + ' ' + rows[0].className + ' ' + con.getElementById('sTable').style.top; })()")
            .toString();
    };
    ASSERT_TRUE(waitUntil([&] { return shownState().startsWith("1 12 current"); })) << shownState().toStdString();
    const QString wholeLoad = shownState();
    markFrameset(preview);
    typeKeys(editor, "\n#item bakery.jpg shops\\bakery <b>Fish Stall</b>");
    ASSERT_TRUE(waitUntil([&] { return frameText(preview).contains("Fish Stall"); }))
        << preview.statusLabel()->text().toStdString();
    ASSERT_TRUE(waitUntil([&] { return shownState().startsWith("1 13 current"); })) << shownState().toStdString();
    EXPECT_TRUE(framesetKept(preview));
    EXPECT_EQ(shownState().section(u' ', 3), wholeLoad.section(u' ', 3));
}

// The programs of a make whose command line names the preview's folder.
QStringList makesRunningIn(const QString& folder)
{
    QStringList running;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        const QString line = QString::fromLocal8Bit(readBytes("/proc/" + pid + "/cmdline").replace('\0', ' '));
        if (line.contains(folder) && (line.contains("zel-make") || line.contains("zel-resample")))
            running.append(line);
    }
    return running;
}

// Closing the kiosk system (the main window) or opening another one, while the preview makes a page with a large
// new picture, closes the preview: no make or picture tool left running, no preview folder left, no marks.
TEST_F(PreviewTest, ClosingOrOpeningAnotherKioskSystemLeavesNothingRunning)
{
    TemporaryKiosk other;
    copySampleKiosk(other.folder());
    const std::function<void()> closes[] = {[&] { main->openKioskSystem(other.folder()); }, [&] { main->close(); }};
    QString kioskFolder = kiosk.folder();
    QImage large(5000, 3800, QImage::Format_RGB32);
    large.fill(Qt::darkCyan);
    for (const auto& close : closes) {
        SCOPED_TRACE(kioskFolder.toStdString());
        ASSERT_TRUE(large.save(kioskFolder + "news/large.jpg", "JPEG", 90));
        QPointer<EditorWindow> editor = EditorWindow::openOrRaise(workbench, kioskFolder + "news/news.zel");
        QPointer<PreviewWindow> preview(&openPreview(editor));
        const QString folder = PreviewWindow::previewFolder();
        typeKeys(editor, "\n#bogus\n#image large.jpg right 40%");
        ASSERT_TRUE(waitUntil([&] { return !makesRunningIn(folder).isEmpty(); }));
        kiosk.messages.scriptAnswers({Answer::No}); // the typed text is not saved
        other.messages.scriptAnswers({Answer::No});
        close();
        ASSERT_TRUE(waitUntil([&] { return preview.isNull() && editor.isNull(); }));
        EXPECT_FALSE(workbench.exists<PreviewWindow>());
        EXPECT_TRUE(waitUntil([&] { return makesRunningIn(folder).isEmpty(); }, 5000))
            << makesRunningIn(folder).join('|').toStdString();
        EXPECT_FALSE(QFileInfo::exists(folder));
        EXPECT_FALSE(QFileInfo::exists(kioskFolder + "news/images/large.jpg"));
        kioskFolder = other.folder();
    }
}

// After "#button news\" the list holds the pages of news; after "#" the directive names of the page's type; after
// "#image " its folder's pictures; Enter takes the entry chosen: the directive name and its blank, then a page.
TEST_F(PreviewTest, CompletionOffersDirectivesPagesAndPictures)
{
    EditorWindow* editor = edit("news/news.zel");
    QCompleter* completer = editor->completer()->completer();
    const auto offered = [&] {
        QStringList names;
        for (int row = 0; completer->popup()->isVisible() && row < completer->completionCount(); ++row) {
            completer->setCurrentRow(row);
            names.append(completer->currentCompletion());
        }
        return names;
    };
    const std::pair<const char*, QStringList> rows[] = {
        {"#bu", {"button"}},
        {"#sh", {"show"}},
        {"#button news\\", {"news\\news", "news\\today"}},
        {"#button vis", {"visiting\\castle", "visiting\\visiting", "visiting\\walks"}},
        {"#image ", {"harbour.jpg", "lighthouse.jpg", "market.jpg"}},
        {"#image m", {"market.jpg"}},
        {"#para", {}},
    };
    for (const auto& [typed, names] : rows) {
        typeKeys(editor, QString("\n") + typed);
        EXPECT_EQ(offered(), names) << typed;
        QTest::keyClick(completer->popup(), Qt::Key_Escape);
    }
    typeKeys(editor, "\n#butt");
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(editor->textArea()->textCursor().block().text(), "#button ");
    typeKeys(editor, "news\\t", false);
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(editor->textArea()->textCursor().block().text(), "#button news\\today ");
}

// Ctrl+click on a page reference opens its page's editor (the open one when there is one); F2 on a picture shows it;
// on a page that does not exist, says so.
TEST_F(PreviewTest, CtrlClickAndF2GoToPagesAndPictures)
{
    EditorWindow* editor = edit("news/news.zel");
    QPlainTextEdit* text = editor->textArea();
    text->setPlainText("#button visiting\\castle The castle\n#image harbour.jpg right 45%\n");
    const auto clickAt = [&](int column) {
        QTextCursor cursor(text->document());
        cursor.setPosition(column);
        QTest::mouseClick(text->viewport(), Qt::LeftButton, Qt::ControlModifier, text->cursorRect(cursor).center());
    };
    clickAt(12);
    EditorWindow* castle = EditorWindow::editorOn(kiosk.path("visiting/castle.zel"));
    ASSERT_NE(castle, nullptr);
    castle->textArea()->insertPlainText("changed ");
    clickAt(3); // on the directive's name: its page
    EXPECT_EQ(EditorWindow::editorOn(kiosk.path("visiting/castle.zel")), castle);
    EXPECT_TRUE(castle->isPageChanged());

    text->setTextCursor(QTextCursor(text->document()->findBlockByNumber(1)));
    trigger(editor, "goToReferenceAction");
    QPointer<QWidget> picture = editor->referenceNavigation()->lastPicture();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(static_cast<PictureWindow*>(picture.data())->picturePath(), kiosk.path("news/harbour.jpg"));
    picture->close();
    text->setPlainText("#button news\\gone Gone\n");
    trigger(editor, "goToReferenceAction");
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"Page news\\gone does not exist"});
}

// Previews made straight into a small disk of their own, with the kiosk system elsewhere: a make that cannot write
// there says which of the preview's files or folders and the system's reason, never naming a file of the kiosk
// system, which the preview does not write.
TEST(PreviewFolders, FailuresNameThePreviewsOwnFileAndTheSystemsReason)
{
    QTemporaryDir cache;
    if (::mount("tmpfs", qPrintable(cache.path()), "tmpfs", 0, "size=512k") != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    const auto unmount = qScopeGuard([&] { ::umount2(qPrintable(cache.path()), MNT_DETACH); });
    TemporaryKiosk kiosk;
    copySampleKiosk(kiosk.folder());
    const QString small = "#title Today\n#para\nMarket day.";
    QString large = "#title Today\n#para";
    for (int line = 0; line < 3000; ++line) // some 300 KB: its page source fits, its made page does not
        large += "\nThe Saturday market fills the harbour square from eight in the morning until two o'clock.";
    const auto outcome = [&](PreviewMake& make, const QString& body) {
        QSignalSpy made(&make, &PreviewMake::made), failed(&make, &PreviewMake::failed);
        make.request({kiosk.folder(), kiosk.path("news/today.zel"), std::int16_t(PageType::Leaf), body, {}});
        EXPECT_TRUE(waitUntil([&] { return !made.isEmpty() || !failed.isEmpty(); }, 120000));
        QString said = failed.isEmpty() ? "made" : failed.first().first().toString();
        EXPECT_FALSE(said.contains(kiosk.folder())) << said.toStdString();
        return said.replace(cache.path(), "CACHE").toStdString();
    };
    PreviewMake make(cache.path() + "/preview/1", ZEL_PROGRAM_DIR "/zel-make");
    EXPECT_EQ(outcome(make, small), "made");
    EXPECT_PRED_FORMAT2(::testing::IsSubstring,
                        "Disk full: CACHE/preview/1/kiosk/news/today_con.htm (No space left on device)",
                        outcome(make, large));
    ASSERT_EQ(::mount(nullptr, qPrintable(cache.path()), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    EXPECT_EQ(outcome(make, small),
              "Path/File access error: CACHE/preview/1/kiosk/news/today.zel (Read-only file system)");
    PreviewMake another(cache.path() + "/preview/2", ZEL_PROGRAM_DIR "/zel-make");
    EXPECT_EQ(outcome(another, small), "Path/File access error: CACHE/preview/2 (Read-only file system)");
}

// The preview folders that runs killed or crashed left in the cache go when a preview starts; those of running
// programs (another ZEL's) stay, and so does what the folders link to.
TEST(PreviewFolders, ThoseOfRunsThatNoLongerRunGoWhenAPreviewStarts)
{
    QProcess programs[3]; // the first ends at once, the others run until their input ends
    QStringList pids;
    for (int i = 0; i < 3; ++i) {
        programs[i].start(i ? "cat" : "true");
        ASSERT_TRUE(programs[i].waitForStarted());
        pids.append(QString::number(programs[i].processId()));
    }
    ASSERT_TRUE(programs[0].waitForFinished());
    const auto end = qScopeGuard([&] {
        for (QProcess& program : programs) {
            program.closeWriteChannel();
            program.waitForFinished();
        }
    });
    QTemporaryDir linked;
    writeBytes(linked.filePath("kept.txt"), "kept");
    const QString previews = PreviewWindow::previewsFolder() + '/';
    const struct {
        const char* name;
        QString folder;
        const char* written; // the folder's time ("" now)
        bool stays;
    } rows[] = {
        {"run that ended", pids[0], "", false},
        {"program that runs", pids[1], "", true},
        {"its number taken by a program started later", pids[2], "2001-02-03", false},
        {"not named by a number", "notes", "2001-02-03", true},
    };
    for (const auto& row : rows) {
        QDir().mkpath(previews + row.folder + "/kiosk");
        ASSERT_TRUE(QFile::link(linked.path(), previews + row.folder + "/kiosk/news"));
        if (*row.written) {
            ASSERT_EQ(QProcess::execute("touch", {"-d", row.written, previews + row.folder}), 0);
        }
    }
    {
        TemporaryKiosk kiosk;
        ModalAuthor author;
        Workbench workbench{kiosk.session.session(), author.services()};
        workbench.instance<PreviewWindow>();
        closeAllWindows(workbench);
    }
    for (const auto& row : rows) {
        EXPECT_EQ(QFileInfo::exists(previews + row.folder), row.stays) << row.name;
        QDir(previews + row.folder).removeRecursively();
    }
    EXPECT_EQ(readBytes(linked.filePath("kept.txt")), "kept");
}

// The page part of ScaledPreview.ShowsTheKiosksPageScaledToTheWindow, run on a scaled screen: the page is laid out at
// the kiosk's size in CSS pixels and drawn over the browser's device pixels, whatever the desktop's scale.
TEST_F(PreviewTest, DISABLED_LaysThePageOutAtTheKiosksSize)
{
    PreviewWindow& preview = openPreview(edit("visiting/visiting.zel"));
    preview.show();
    QWebEngineView* browser = preview.previewView();
    ASSERT_TRUE(waitUntil([&] { return browser->isVisible() && !browser->size().isEmpty(); }));
    for (const QSize window : {QSize(640, 680), QSize(300, 400)}) {
        preview.resize(window);
        // The engine takes the new zoom in a while.
        QVariantList measured;
        waitUntil([&] {
            measured = script(preview, "[innerWidth, innerHeight, devicePixelRatio]").toList();
            return measured.value(0) == 1280;
        });
        ASSERT_EQ(measured.size(), 3);
        const double ratio = preview.devicePixelRatioF(), width = measured[0].toDouble(),
                     height = measured[1].toDouble();
        EXPECT_EQ(width, 1280);
        // The browser's size in whole pixels keeps the kiosk's shape give or take a pixel each way.
        EXPECT_LE(std::abs(height - 1024), 2 * 1280.0 / browser->width() + 1);
        EXPECT_NEAR(width * measured[2].toDouble(), browser->width() * ratio, 1);
    }
}

// The preview at each desktop scale lays the page out at the kiosk's size, fitted to its window.
class ScaledPreview : public ::testing::TestWithParam<ScaledScreen> {};

TEST_P(ScaledPreview, ShowsTheKiosksPageScaledToTheWindow)
{
    const ProgramRun run = runTestOnScreen(GetParam(), "PreviewTest.DISABLED_LaysThePageOutAtTheKiosksSize");
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString() << run.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Screen, ScaledPreview, ::testing::ValuesIn(kScaledScreens),
                         [](const auto& screen) { return std::string(screen.param.name); });

} // namespace
