// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "maker/page_maker.h"
#include "support/kiosk_fixture.h"
#include "support/recording_problems.h"
#include "support/scaled_screen.h"
#include "support/web_wait.h"
#include "viewer/viewer_window.h"
#include "workbench/workbench.h"

#include <QCursor>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWebEngineView>
#include <QWindow>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

// A made copy of the sample kiosk system, open as the headless maker opens it (so "screens" and "remotescreen" are
// the configured ones), and the viewer showing its pages. Pages are named relative to the kiosk system
// ("news/today.htm"). Every test ends with the viewer closed and destroyed.
class ViewerTest : public ::testing::Test {
protected:
    // Configuration lines added after the sample's own (later lines win).
    virtual QStringList extraConfiguration() const { return {}; }
    void SetUp() override
    {
        copySampleKiosk(m_kiosk.folder());
        writeTextFile(path("configuration.txt"), readLines(path("configuration.txt")) + extraConfiguration());
        KioskSystem& system = m_kiosk.openHeadless();
        workbench.setKioskSystem(&system);
        SessionProblems problems(system.session());
        PageMaker maker(system, problems);
        maker.makeAll();
        maker.run();
        ASSERT_TRUE(QFile::exists(path("shops/directory.htm")));
        m_kiosk.messages.clear();
    }
    void TearDown() override { closeViewer(); }

    // A path of the kiosk system as the viewer logs it.
    QString path(const QString& relative) const { return m_kiosk.path(relative); }
    // The navigation guard's log lines, and its line for a page of this screen.
    QStringList guardLines() const { return m_kiosk.logLines().filter("webBrowser_BeforeNavigate2("); }
    QString guardLine(int screen, const QString& relative) const
    {
        return QStringLiteral("webBrowser_BeforeNavigate2(%1) ").arg(screen) + path(relative);
    }
    QStringList messages() const { return m_kiosk.messages.texts(); }

    // setPage + show on a fresh viewer (one not shown yet is kept), then waits until browser 1 has loaded the page
    // and the page check has run.
    ViewerWindow& showPage(const QString& relative)
    {
        if (workbench.exists<ViewerWindow>() && workbench.instance<ViewerWindow>().isVisible())
            closeViewer();
        ViewerWindow& viewer = workbench.instance<ViewerWindow>();
        for (int screen = 1; screen <= viewer.screenCount(); ++screen) {
            QWebEngineView* browser = viewer.webView(screen);
            QObject::connect(browser, &QWebEngineView::loadFinished, browser,
                             [browser] { browser->setProperty("finishedUrl", browser->url()); });
        }
        viewer.setPage(path(relative));
        viewer.show();
        EXPECT_TRUE(waitUntil([&] { return viewer.windowHandle() && viewer.windowHandle()->isExposed(); }));
        EXPECT_TRUE(waitForPage(1, relative)) << relative.toStdString();
        return viewer;
    }
    // Waits until the browser's last completed load is the page and its check has run.
    bool waitForPage(int screen, const QString& relative)
    {
        QWebEngineView* browser = workbench.instance<ViewerWindow>().webView(screen);
        const bool loaded =
            waitUntil([&] { return browser->property("finishedUrl") == QUrl::fromLocalFile(path(relative)); });
        // The page check's script was queued before this one, so its answer is in.
        return loaded && evaluate(screen, "1").isValid();
    }
    // Presses the key in the viewer window as the keyboard would.
    void press(char key) { QTest::keyClick(workbench.instance<ViewerWindow>().windowHandle(), key); }
    // Closes the viewer and waits until it is destroyed.
    void closeViewer()
    {
        QPointer<ViewerWindow> viewer(workbench.exists<ViewerWindow>() ? &workbench.instance<ViewerWindow>() : nullptr);
        if (viewer)
            viewer->close();
        EXPECT_TRUE(waitUntil([&] { return viewer.isNull(); }));
    }
    QVariant evaluate(int screen, const QString& script)
    {
        return runScript(workbench.instance<ViewerWindow>().webView(screen)->page(), script,
                         QWebEngineScript::ApplicationWorld);
    }

    TemporaryKiosk m_kiosk;
    Workbench workbench{m_kiosk.session.session()}; // destroyed first
};

// A visit with the keyboard: a made page and its frames, the keys of the one
// screen, keys sent to a browser, "z" and a fresh viewer, a selector page.
TEST_F(ViewerTest, MadePagesAnswerTheKeysAndZClosesTheViewer)
{
    // Created: the pointer went beyond the window's bottom-right corner.
    const ViewerWindow& created = workbench.instance<ViewerWindow>();
    EXPECT_EQ(QCursor::pos(), created.mapToGlobal(QPoint(2 * created.width(), 2 * created.height())));
    ViewerWindow& viewer = showPage("root/root.htm");
    EXPECT_TRUE(viewer.windowFlags().testFlag(Qt::FramelessWindowHint) && viewer.isMaximized());
    EXPECT_EQ(viewer.webView(1)->geometry(), QRect(0, 0, viewer.width(), viewer.height()));
    EXPECT_TRUE(viewer.focusButton()->x() > viewer.width() && !viewer.messageLabel(1)->isVisible());
    // The frameset and both of its frames passed the guard.
    for (const char* file : {"root/root.htm", "root/root_con.htm", "root/root_nav.htm"})
        EXPECT_TRUE(guardLines().contains(guardLine(1, QString(file)))) << file;

    ViewerWindow& visiting = showPage("visiting/visiting.htm");
    const qsizetype linesBefore = guardLines().size();
    for (char key : {'i', 'A', 'y'}) // Home of screens 2 and 4, no button: there is one screen
        press(key);
    press('b'); // b2: the first button, visiting\castle
    ASSERT_TRUE(waitForPage(1, "visiting/castle.htm"));
    EXPECT_EQ(guardLines().mid(linesBefore).first(), guardLine(1, "visiting/castle.htm"));
    // Reaches the window first: b1, Home, a backslash link the engine resolves.
    QTest::keyClick(visiting.webView(1)->focusProxy(), 'a');
    ASSERT_TRUE(waitForPage(1, "root/root.htm"));
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();

    QPointer<ViewerWindow> first(&visiting);
    press('z');
    EXPECT_FALSE(workbench.exists<ViewerWindow>());
    ASSERT_TRUE(waitUntil([&] { return first.isNull(); }));
    ViewerWindow& second = showPage("shops/directory.htm");
    // The kiosk script sees the edit mode, so an idle viewer keeps the author's page.
    EXPECT_EQ(runScript(second.webView(1)->page(), "window.zelEditMode === true && kioskTop().zelEditMode === true",
                        QWebEngineScript::MainWorld),
              QVariant(true));
    QImage shot;
    EXPECT_TRUE(waitUntil([&] { return (shot = second.grab().toImage()).pixel(0, 0) != shot.pixel(400, 300); }));
}

// Links the viewer does not follow, each with the message shown for its page: a missing file the guard refuses
// (the page stays), and pages failing the page check (frame names; none: a page without frames), from which the
// browser steps back. (A backslash link to an existing page passes: Home in the keyboard visit; web addresses: the
// guard's own test.)
const struct {
    const char *name, *frames, *message;
} kRefused[] = {{"gone", nullptr, "%1 does not exist"},
                {"three_frames", "con nav extra", "3 frames in %1"},
                {"no_frames", "", "0 frames in %1"},
                {"nav_looked_up_before_con", "left right", "no nav frame in %1"},
                {"no_con_frame", "nav content", "no con frame in %1"}};

TEST_F(ViewerTest, RefusedLinksAndPagesFailingTheCheckAreReportedAndThePageStays)
{
    // A page like a made one whose buttons b1, b2, ... link to the rows' pages.
    QString links;
    for (int button = 1; const auto& [name, frames, message] : kRefused) {
        links +=
            QStringLiteral("<a href=\"..\\odd\\%1.htm\" id=\"b%2\" target=\"_top\">Link</a>").arg(name).arg(button++);
        QString html = "<html><frameset cols=\"1,1,1\">";
        for (const QString& frame : QString(frames).split(u' ', Qt::SkipEmptyParts))
            html += QStringLiteral("<frame src=\"../root/root_con.htm\" name=\"%1\">").arg(frame);
        if (frames)
            writeTextFile(path(QStringLiteral("odd/%1.htm").arg(name)),
                          {*frames ? html + "</frameset></html>" : "<html><p>Plain</p></html>"});
    }
    writeTextFile(path("odd/links.htm"), {"<html><head><title>Links - Main</title></head><frameset cols=\"900,300\">"
                                          "<frame src=\"links_con.htm\" name=\"con\"><frame src=\"links_nav.htm\" "
                                          "name=\"nav\"></frameset></html>"});
    writeTextFile(path("odd/links_con.htm"), {"<html><body><p>Links</p></body></html>"});
    writeTextFile(path("odd/links_nav.htm"), {"<html><body>" + links + "</body></html>"});
    ViewerWindow& viewer = showPage("odd/links.htm");
    for (char key = 'a'; const auto& [name, frames, message] : kRefused) {
        SCOPED_TRACE(name);
        const QString page = QStringLiteral("odd/%1.htm").arg(name);
        m_kiosk.messages.clear();
        press(key++);
        ASSERT_TRUE(waitUntil([&] { return !messages().isEmpty(); }));
        EXPECT_EQ(messages(), QStringList{QString(message).arg(path(page))});
        ASSERT_TRUE(waitForPage(1, "odd/links.htm"));
        EXPECT_EQ(evaluate(1, "document.title"), QString("Links - Main"));
        EXPECT_EQ(messages().size(), 1);
        EXPECT_EQ(guardLines().filter(path(page)), QStringList{guardLine(1, page)});
    }
    EXPECT_EQ(viewer.webView(1)->url(), QUrl::fromLocalFile(path("odd/links.htm")));
    // Without an earlier page the reason is shown and the page stays.
    m_kiosk.messages.clear();
    EXPECT_EQ(showPage("odd/no_frames.htm").webView(1)->url(), QUrl::fromLocalFile(path("odd/no_frames.htm")));
    EXPECT_EQ(messages(), QStringList{"0 frames in " + path("odd/no_frames.htm")});
}

// Three kiosk screens side by side; the digit keys act on the remote screen 2.
struct ThreeScreenViewerTest : ViewerTest {
    QStringList extraConfiguration() const override { return {"screens 3", "remotescreen 2"}; }
};

TEST_F(ThreeScreenViewerTest, BrowsersStandSideBySideAndKeysPickTheirScreen)
{
    ViewerWindow& viewer = showPage("visiting/visiting.htm");
    ASSERT_EQ(viewer.screenCount(), 3);
    ASSERT_TRUE(waitForPage(3, "visiting/visiting.htm"));
    EXPECT_EQ(viewer.webView(3)->geometry(),
              QRect(2 * qRound(viewer.width() / 3.0), 0, qRound(viewer.width() / 3.0), viewer.height()));
    press('q'); // b1 of screen 3: Home
    ASSERT_TRUE(waitForPage(3, "root/root.htm"));
    EXPECT_TRUE(guardLines().contains(guardLine(3, "root/root.htm")));
    press('3'); // b3 of the remote screen 2: visiting\walks
    ASSERT_TRUE(waitForPage(2, "visiting/walks.htm"));
    EXPECT_EQ(viewer.webView(1)->url(), QUrl::fromLocalFile(path("visiting/visiting.htm")));
}

// The page part of ScaledViewer.LaysThePageOutInTheScreensDevicePixels, run on a scaled 1280 x 1024 screen: the
// page fills the screen at the kiosk's size, one CSS pixel to one device pixel, whatever the desktop's scale.
TEST_F(ViewerTest, DISABLED_LaysThePageOutInDevicePixels)
{
    ViewerWindow& viewer = showPage("visiting/visiting.htm");
    for (const char* page : {"visiting/visiting.htm", "visiting/castle.htm"}) { // shown, then reached by a key
        SCOPED_TRACE(page);
        if (viewer.webView(1)->url() != QUrl::fromLocalFile(path(page))) {
            press('b');
            ASSERT_TRUE(waitForPage(1, page));
        }
        const QVariantList measured = evaluate(1, "[innerWidth, innerHeight, devicePixelRatio]").toList();
        ASSERT_EQ(measured.size(), 3);
        // A fractional scale's window covers the screen's device pixels rounded up to whole logical ones.
        const double ratio = viewer.devicePixelRatioF();
        const QSize device(qCeil(viewer.width() * ratio), qCeil(viewer.height() * ratio));
        EXPECT_EQ(QSize(measured[0].toInt(), measured[1].toInt()), device);
        EXPECT_LE((device - QSize(1280, 1024)).width() + (device - QSize(1280, 1024)).height(), 1);
        EXPECT_NEAR(measured[2].toDouble(), 1.0, 0.01);
    }
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
}

// The viewer on a 1280 x 1024 screen at each desktop scale shows the page as the kiosk's screen of that size does.
class ScaledViewer : public ::testing::TestWithParam<ScaledScreen> {};

TEST_P(ScaledViewer, LaysThePageOutInTheScreensDevicePixels)
{
    const ProgramRun run = runTestOnScreen(GetParam(), "ViewerTest.DISABLED_LaysThePageOutInDevicePixels");
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString() << run.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Screen, ScaledViewer, ::testing::ValuesIn(kScaledScreens),
                         [](const auto& screen) { return std::string(screen.param.name); });

} // namespace
