// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Tools > Check Kiosk System on a kiosk system with one of each finding: the
// window's rows, opening the editor at a finding's line, Check Again, and the
// check stopping when the window closes or another kiosk system opens.
#include "app/check_window.h"
#include "support/check_kiosk.h"
#include "support/window_fixture.h"

#include <QPushButton>
#include <QTextBlock>
#include <QTreeWidget>

namespace {

// The main window over a kiosk system with one finding of each kind.
class CheckWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeKioskWithEveryFinding(kiosk);
        mainWindow().openKioskSystem(kiosk.folder());
        kiosk.messages.clear();
    }
    // Tools > Check Kiosk System..., waiting until the check is complete.
    CheckWindow* checkFromMenu(bool wait = true)
    {
        trigger(main.get(), "checkKioskSystemAction");
        const auto windows = visibleWindows<CheckWindow>();
        EXPECT_EQ(windows.size(), 1);
        CheckWindow* window = windows.value(0);
        if (window && wait) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window)
                        && QTest::qWaitFor([&] { return !window->isChecking(); }, 20000));
        }
        return window;
    }
    // The rows as "page source:line: kind: text".
    static QStringList rowLines(const CheckWindow& window)
    {
        using F = CheckWindow;
        QStringList lines;
        for (int i = 0; const QTreeWidgetItem* row = window.findingList()->topLevelItem(i); ++i)
            lines.append(row->data(F::kColumnPageSource, Qt::UserRole).toString() + ':' + row->text(F::kColumnLine)
                         + ": " + row->text(F::kColumnKind) + ": " + row->text(F::kColumnText));
        return lines;
    }
    // A double-click as the platform delivers it: a click, then the second press as a double-click.
    static void doubleClick(QTreeWidget* list, int index)
    {
        list->scrollToItem(list->topLevelItem(index));
        clickItem(list, list->visualItemRect(list->topLevelItem(index)), true);
    }
};

} // namespace

TEST_F(CheckWindowTest, ListsTheFindingsWritesNothingAndOpensTheEditorAtALine)
{
    const auto before = folderSnapshot(kiosk.folder());
    CheckWindow* window = checkFromMenu();
    ASSERT_TRUE(window);
    EXPECT_EQ(rowLines(*window), expectedFindingLines(kiosk.folder()));
    // Pages are shown as the editors' captions show them; each row keeps its page source's path.
    EXPECT_EQ(window->findingList()->topLevelItem(19)->text(CheckWindow::kColumnPageSource), "shops\\lost");
    EXPECT_EQ(window->countLabel()->text().toStdString(),
              "Checked 6 pages: 23 findings (1 dead end, 2 faulty line, 4 picture, 4 out of date, 1 unreachable, "
              "3 may not fit, 6 no text alternative, 2 cut off at 200 %)");
    EXPECT_TRUE(folderSnapshot(kiosk.folder()) == before);
    EXPECT_TRUE(kiosk.messages.texts().isEmpty()) << kiosk.messages.texts().join('|').toStdString();

    // Check Again lists the same findings once more, not twice.
    window->checkAgainButton()->click();
    EXPECT_TRUE(window->isChecking());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isChecking(); }, 20000));
    EXPECT_EQ(rowLines(*window), expectedFindingLines(kiosk.folder()));

    // A double-click on a finding opens the editor at its line.
    QTreeWidget* list = window->findingList();
    doubleClick(list, 4); // news.zel line 5: #image broken.jpg
    ASSERT_EQ(visibleWindows<EditorWindow>().size(), 1);
    EditorWindow* editor = visibleWindows<EditorWindow>().first();
    EXPECT_EQ(editor->filePath(), kiosk.path("news/news.zel"));
    EXPECT_EQ(editor->textArea()->textCursor().block().text(), "#image broken.jpg");

    // Another finding of the same page: the open editor comes to the front at that line.
    window->raise();
    doubleClick(list, 8); // news.zel line 7: #image photo.jpg
    ASSERT_EQ(visibleWindows<EditorWindow>().size(), 1);
    EXPECT_EQ(editor->textArea()->textCursor().block().text(), "#image photo.jpg");
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == editor; }, 20000));

    // A finding on line 1 (the page-type line) puts the cursor on the first line shown.
    doubleClick(list, 19); // shops/lost.zel line 1
    const auto editors = visibleWindows<EditorWindow>();
    ASSERT_EQ(editors.size(), 2);
    EditorWindow* lost = editors.first() == editor ? editors.last() : editors.first();
    EXPECT_EQ(lost->filePath(), kiosk.path("shops/lost.zel"));
    EXPECT_EQ(lost->textArea()->textCursor().blockNumber(), 0);
}

TEST_F(CheckWindowTest, ClosingTheWindowOrOpeningAnotherKioskStopsTheCheck)
{
    // Many pages, so that the check is still running when the window goes.
    for (int i = 0; i < 400; ++i)
        writeTextFile(kiosk.path(QString("more/page%1.zel").arg(i)), {"#leaf", "#para", "Text"});
    for (const bool closeWindow : {true, false}) {
        QPointer<CheckWindow> window = checkFromMenu(false);
        ASSERT_TRUE(window && window->isChecking());
        closeWindow ? void(window->close()) : main->openKioskSystem(kiosk.folder());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull()) << closeWindow;
    }
    EXPECT_TRUE(kiosk.messages.texts().isEmpty()) << kiosk.messages.texts().join('|').toStdString();
}
