// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The made pages on a real touch screen: the sample kiosk system with the
// harder pages of pages/ beside it (a 60-character caption and a long word on
// buttons, a selector of 40 items under a title of three lines, a leaf page
// with a wide table and a long word, pages with nothing in them, a button
// naming a page badly), made by zel-make for the screen and shown in the
// browser engine at that size. Moving between pages, scrolling a leaf page,
// and at every usual screen size: buttons take only their own touches and
// hold their captions; Up, Down, Page Up and Page Down move the highlight by
// a row or a screen and stop at the ends, the current row staying in view
// beside Select; a touch anywhere on a row opens its page in the whole window
// and Back comes back to that row; nothing scrolls sideways; left alone, the
// kiosk goes home; on every page the script runs without an error.
#include "pages/files.h"
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"
#include "support/web_wait.h"

#include <QDirIterator>
#include <QTest>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Records every console message of level Error: uncaught exceptions and
// failed script loads are reported this way.
class ConsoleRecordingPage : public QWebEnginePage {
public:
    ConsoleRecordingPage(QStringList* errors, QObject* parent) : QWebEnginePage(parent), m_errors(errors) {}
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override
    {
        if (level == ErrorMessageLevel)
            m_errors->append(QStringLiteral("%1:%2: %3").arg(source).arg(line).arg(message));
    }
    QStringList* m_errors;
};

// A visitor at a kiosk made for a screen of the given size, with a browser of
// that size. Pages are named by "/" separated paths relative to the kiosk
// system ("news/today.htm"). Every script error is recorded in errors.
class KioskVisit {
public:
    explicit KioskVisit(QSize screen = QSize(1280, 1024))
    {
        const QString folder = QDir::toNativeSeparators(m_dir.path()) + QDir::separator();
        copySampleKiosk(folder);
        Files::copyFolderContents(QDir::toNativeSeparators(ZEL_SOURCE_DIR "/tests/display/pages"), folder);
        // A later line of the configuration wins over the sample's.
        writeTextFile(path("configuration.txt"), readLines(path("configuration.txt"))
                                                     << QStringLiteral("screenwidth %1").arg(screen.width())
                                                     << QStringLiteral("screenheight %1").arg(screen.height()));
        const MakeRun run = runZelMake({m_dir.path()});
        EXPECT_NE(run.exitCode, -1) << run.err.toStdString();
        makeMessages = run.err;
        m_view.setPage(new ConsoleRecordingPage(&errors, &m_view));
        m_view.resize(screen);
        QObject::connect(&m_view, &QWebEngineView::loadFinished, &m_view, [this] { ++m_loads; });
        m_view.show();
        EXPECT_TRUE(waitUntil([this] { return m_view.windowHandle() && m_view.windowHandle()->isExposed(); }));
    }

    QString path(const QString& relative) const { return QDir(m_dir.path()).filePath(relative); }

    // Loads the page as the first page of a visit (the history is forgotten).
    bool open(const QString& relative)
    {
        const int before = m_loads;
        m_view.setUrl(QUrl::fromLocalFile(path(relative)));
        const bool loaded = waitForPage(before, relative);
        m_view.history()->clear();
        return loaded;
    }
    // Touches the button ("b2") of the "nav" frame and waits until what its
    // link runs has run and, when a page is given, until the whole window
    // shows it; false when there is no such button.
    bool touch(const QString& buttonId, const QString& page = {})
    {
        const int before = m_loads;
        const QVariant clicked = evaluate(QStringLiteral("(function () { var b = frames['nav'].document."
                                                         "getElementById('%1'); if (b) b.click(); return !!b; })()")
                                              .arg(buttonId));
        // A script link runs as a task of its own; once a later script has been answered, it has run.
        evaluate("0");
        return clicked.toBool() && (page.isEmpty() || waitForPage(before, page));
    }
    // Touches the screen at a point of the whole window, as a finger would
    // (the engine finds what lies there), and waits until the window shows the page.
    bool touchAt(QPoint point, const QString& page)
    {
        const int before = m_loads;
        QTest::mouseClick(m_view.focusProxy(), Qt::LeftButton, {}, point);
        return waitForPage(before, page);
    }
    QVariant evaluate(const QString& script) { return runScript(m_view.page(), script); }
    // The page shown in the whole window, relative to the kiosk system.
    QString shown() const
    {
        const QString file = QFileInfo(m_view.url().toLocalFile()).canonicalFilePath();
        return file.isEmpty() ? QString() : QDir(QFileInfo(m_dir.path()).canonicalFilePath()).relativeFilePath(file);
    }
    // Calls a function of visitor_checks.js in the page shown ("leafState()") and returns its answer (none when it
    // threw).
    QVariant check(const QString& call)
    {
        static const QString checks = QString::fromUtf8(readBytes(ZEL_SOURCE_DIR "/tests/display/visitor_checks.js"));
        return evaluate("(function () {\n" + checks + "\nreturn " + call + "; })()");
    }
    QVariantList selectorRow() { return check("selectorRow()").toList(); }

    QString makeMessages; // what zel-make wrote to its error channel
    QStringList errors;

private:
    // True once loads have finished since `before`, the whole window shows the
    // page, it and all its frames have finished loading, and the kiosk script
    // has prepared both frames.
    bool waitForPage(int before, const QString& relative)
    {
        return waitUntil([&] {
            return m_loads > before && shown() == relative
                   && evaluate("(function () { try { return document.readyState === 'complete' && Array.prototype."
                               "every.call(window.frames, function (f) { return f.document.readyState === "
                               "'complete' && f.document.documentElement.getAttribute('data-kiosk-ready') === '1'; "
                               "}); } catch (e) { return false; } })()")
                          .toBool();
        });
    }

    QTemporaryDir m_dir;
    QWebEngineView m_view;
    int m_loads = 0;
};

// Down (b7) and Up (b2) scroll a leaf page's content frame by most of its
// height, keeping a line of overlap, and do nothing at either end. (Moving
// between pages by every button, Back and Home, a badly named page included:
// the browser tests; in this engine: the kiosk player's and the viewer's tests.)
TEST(Display, DownAndUpScrollALeafPageByMostOfTheScreen)
{
    KioskVisit kiosk;
    const QString state = QStringLiteral("(function () { var c = window.frames['con'], d = c.document.scrollingElement;"
                                         " return [c.scrollY, c.innerHeight, d.scrollHeight - d.clientHeight]; })()");
    for (const char* page : {"news/today.htm", "visiting/castle.htm", "visiting/walks.htm"}) {
        SCOPED_TRACE(page);
        ASSERT_TRUE(kiosk.open(QString::fromLatin1(page)));
        const QVariantList start = kiosk.evaluate(state).toList();
        const int visible = start.value(1).toInt(), maximum = start.value(2).toInt();
        ASSERT_GT(maximum, 0) << "the sample page must be long enough to scroll";
        // Down to the end, then Up to the top: every step but the last moves
        // most of a screen and keeps a line of the previous one in view.
        for (int y = 0, end = maximum, steps = 0; steps < 40; ++steps) {
            ASSERT_TRUE(kiosk.touch(end ? QStringLiteral("b7") : QStringLiteral("b2")));
            const int now = kiosk.evaluate(state).toList().value(0).toInt(), moved = std::abs(now - y);
            if (y == end) {
                EXPECT_EQ(now, end) << "at the end the button does nothing";
                if (end == 0)
                    break;
                end = 0;
            } else {
                EXPECT_TRUE(moved > 0 && (now == end || (moved >= visible / 2 && moved < visible - 20))) << moved;
            }
            y = now;
        }
    }
    EXPECT_EQ(kiosk.errors, QStringList());
}

const QStringList kShops =
    QString("bakery bookshop butcher cafe chemist florist grocer hardware library museum post-office toyshop")
        .split(' ');

// The page row n of pages/shops/long.zel opens.
QString shopOfRow(int row) { return QStringLiteral("shops/%1.htm").arg(kShops.at(row % kShops.size())); }

// Moves on the long selector, from the first row to the last and back: Up
// (b5) and Down (b6) move the highlight one row, Page Up (b4) and Page Down
// (b7) the rows on a screen; at either end they stop.
const QStringList kMoves = QString("b5 b6 b7 b7 b6 b4 b5 b7 b7 b7 b7 b7 b7 b7 b7 b7 b7 b7 b7 b7 b6 b4 b5 b4 b4 b4 b4"
                                   " b4 b4 b4 b4 b4 b4 b4 b4 b4 b4 b4")
                               .split(' ');

TEST(TouchScreen, EveryScreenSizeWorksByTouch)
{
    for (const QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1280, 1024), QSize(1080, 1920)}) {
        SCOPED_TRACE(QString("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
        KioskVisit kiosk(screen);
        EXPECT_TRUE(kiosk.makeMessages.startsWith("Bad is not a valid folder name"));
        EXPECT_EQ(kiosk.makeMessages.count('\n'), 14) << "only those about visiting/broken.zel";

        // The wide leaf page: nothing wider than the column; at the top Up
        // looks disabled, and Down unless there is more below.
        ASSERT_TRUE(kiosk.open("news/wide.htm"));
        const QVariantList leaf = kiosk.check("leafState()").toList();
        EXPECT_EQ(leaf.mid(0, 3), (QVariantList{QString(), true, !leaf.value(3).toBool()}));

        // The long selector: after every move exactly the expected row is
        // highlighted and stands beside Select.
        const QString selector = "shops/long.htm";
        ASSERT_TRUE(kiosk.open(selector));
        const int screenRows = kiosk.selectorRow().value(3).toInt();
        ASSERT_GE(screenRows, 2);
        int row = 0, lowest = 0;
        for (int move = 0; move < kMoves.size(); ++move) {
            SCOPED_TRACE(QString("move %1: %2").arg(move).arg(kMoves[move]).toStdString());
            ASSERT_TRUE(kiosk.touch(kMoves[move]));
            const int by = QList<int>{-screenRows, -1, 1, screenRows}.at(kMoves[move].back().digitValue() - 4);
            lowest = std::max(lowest, row = std::clamp(row + by, 0, 39));
            EXPECT_EQ(kiosk.selectorRow(), (QVariantList{QString::number(row), QString::number(row), "", screenRows}));
        }
        ASSERT_EQ(lowest, 39) << "the moves reach the last row";
        ASSERT_EQ(row, 0) << "and come back to the first";

        // A touch on the picture, then on the text of the current row, then on
        // the text of the row below, opens that row's page, and so does Select
        // there; Back shows the selector at the row it was left on.
        for (int i = 0; i < 20; ++i)
            ASSERT_TRUE(kiosk.touch("b6"));
        for (const auto& [touched, point] : {std::pair{20, 0}, {20, 2}, {21, 2}}) {
            SCOPED_TRACE(point ? "text" : "picture");
            const QVariantList at = kiosk.check(QStringLiteral("rowTargets(%1)").arg(touched)).toList();
            EXPECT_TRUE(kiosk.touchAt(QPoint(at.value(point).toInt(), at.value(point + 1).toInt()), shopOfRow(touched)))
                << kiosk.shown().toStdString();
            EXPECT_TRUE(kiosk.touch("b8", selector));
            EXPECT_TRUE(waitUntil([&] { return kiosk.selectorRow().value(0).toInt() == touched; }))
                << "Back shows the row touched";
            EXPECT_EQ(kiosk.selectorRow().value(2).toString(), "");
        }
        EXPECT_TRUE(kiosk.touch("b3", shopOfRow(21))) << "the right half of Select";
        EXPECT_TRUE(kiosk.touch("b8", selector));

        // Left alone, the kiosk goes home and forgets the remembered rows.
        kiosk.evaluate("idleSecondsBeforeHome = 0.2; noteTouch(); 0");
        EXPECT_TRUE(waitUntil([&] { return kiosk.shown() == "root/root.htm"; }));
        EXPECT_EQ(kiosk.evaluate("Object.keys(sessionStorage).join()").toString(), QString());

        // Every made page and the missing page: no navigation fault, the
        // style sheet and script loaded, every function runs from the
        // frameset and from either frame.
        // The main page file of every page source, sorted ("news/..." first: opening the page shown would not load it).
        QStringList pages;
        for (QDirIterator it(kiosk.path(""), {"*.zel"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            pages.append(QDir(kiosk.path("")).relativeFilePath(it.next()).replace(".zel", ".htm"));
        pages.sort();
        for (const QString& page : pages << "missing.html") {
            SCOPED_TRACE(page.toStdString());
            ASSERT_TRUE(kiosk.open(page));
            EXPECT_EQ(kiosk.check("navigationFaults()").toString(), "");
            EXPECT_EQ(kiosk.check("callEverything()").toString(), QStringLiteral("ok,ok,ok function true"));
            kiosk.evaluate(page.contains("empty") || page.contains("bare") ? "select(); goBack(); 0" : "goBack(); 0");
            kiosk.evaluate(QStringLiteral("0"));
            EXPECT_EQ(kiosk.shown(), page);
        }
        EXPECT_EQ(kiosk.errors, QStringList());
    }
}

// The kiosk check's "may not fit" against the browser, on a small and on a
// tall screen: every caption that the browser shows clipped or in more than
// three lines (a word that cannot be broken, many lines) is reported; a long
// word the script hyphenates fits.
TEST(TouchScreen, CheckReportsEveryCaptionTheButtonCannotHold)
{
    const QStringList captions = {
        "Lighthousepreservationsociety",
        "0123456789012345678901234",
        "Mmmmmmmmmmmmmmmmmmmmmm",
        "A<br>B<br>C<br>D",
        "Walks&nbsp;&amp;&nbsp;Trails&nbsp;of&nbsp;the&nbsp;Valley",
        "Open on Mon Tue Wed Thu and Fri from nine to five, on Sat from ten to four and on Sun and on holidays from noon "
        "to three"};
    for (const QSize screen : {QSize(480, 360), QSize(1080, 1920)}) {
        SCOPED_TRACE(QString("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
        KioskVisit kiosk(screen);
        QStringList source = {"#branch", "#title Captions"};
        for (const QString& caption : captions)
            source << "#button castle " + caption;
        writeTextFile(kiosk.path("visiting/captions.zel"), source);
        ASSERT_EQ(runZelMake({kiosk.path(""), kiosk.path("visiting/captions.zel")}).exitCode, 0);
        const QString findings = runZelMake({"--check", kiosk.path("")}).out;
        ASSERT_TRUE(kiosk.open("visiting/captions.htm"));
        const QString faults = kiosk.check("navigationFaults()").toString();
        // The buttons whose caption the script had to shorten with an ellipsis.
        const QStringList shortened = kiosk
                                          .evaluate("Array.from(frames['nav'].document.querySelectorAll("
                                                    "'a.nav .caption.shortened'), (c) => c.closest('a').id)")
                                          .toStringList();
        int overflowing = 0;
        for (int row = 0; row < captions.size(); ++row) {
            // Button b2 is the caption of line 3.
            const QString id = QStringLiteral("b%1 ").arg(row + 2);
            // A caption too long for its button at the smallest readable size is shortened with an ellipsis.
            const bool overflows = faults.contains(id + "caption too big") || faults.contains(id + "more than three")
                                   || shortened.contains(id.trimmed());
            const bool reported = findings.contains(QStringLiteral("captions.zel:%1: may not fit").arg(row + 3));
            overflowing += overflows;
            EXPECT_TRUE(reported || !overflows) << captions[row].toStdString() << " overflows, unreported";
            EXPECT_TRUE(row > 0 || !reported) << "a hyphenated word fits";
        }
        EXPECT_GE(overflowing, 2);
    }
}

} // namespace
