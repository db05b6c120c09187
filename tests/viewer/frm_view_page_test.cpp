#include "viewer/viewer_test_support.h"

#include "viewer/frm_view_page.h"
#include "viewer/page_check.h"

#include <QDateTime>
#include <QDir>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace {

QString guardLine(int screen, const QString& target)
{
    return QStringLiteral("webBrowser_BeforeNavigate2(%1) ").arg(screen) + target;
}

TEST_F(ViewerTest, MadePageLoadsWithNavAndConFrames)
{
    frmViewPage& viewer = showPage(QStringLiteral("root/root.htm"));
    const QVariantMap page = evaluate(1, PageCheck::inspectionScript()).toMap();
    EXPECT_EQ(page.value(QStringLiteral("count")).toInt(), 2);
    EXPECT_TRUE(page.value(QStringLiteral("nav")).toBool());
    EXPECT_TRUE(page.value(QStringLiteral("con")).toBool());
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
    EXPECT_EQ(viewer.screenCount(), 1);
    EXPECT_TRUE(viewer.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(viewer.isMaximized());
    // The frameset and both of its frames passed the guard.
    const QStringList lines = guardLines();
    for (const QString& file : {QStringLiteral("root/root.htm"), QStringLiteral("root/root_con.htm"),
                                QStringLiteral("root/root_nav.htm")})
        EXPECT_TRUE(lines.contains(guardLine(1, path(file)))) << lines.join(u'\n').toStdString();
}

TEST_F(ViewerTest, LayoutFillsTheWindowAndHidesCommand1AndTheLabels)
{
    frmViewPage& viewer = frmViewPage::instance();
    // Created: the pointer went beyond the window's bottom-right corner.
    EXPECT_EQ(QCursor::pos(), viewer.mapToGlobal(QPoint(2 * viewer.width(), 2 * viewer.height())));
    showPage(QStringLiteral("root/root.htm"));
    EXPECT_EQ(viewer.webBrowser(1)->geometry(), QRect(0, 0, viewer.width(), viewer.height()));
    EXPECT_EQ(viewer.Command1()->x(), viewer.width() + 100);
    EXPECT_TRUE(viewer.Command1()->hasFocus() || QApplication::focusWidget() == nullptr);
    EXPECT_FALSE(viewer.lblMessage(1)->isVisible());
    EXPECT_TRUE(viewer.lblMessage(1)->text().startsWith(QStringLiteral("Our apologies - a system error has occurred.")));
    EXPECT_FALSE(viewer.Timer(1)->isActive());
    EXPECT_FALSE(viewer.ShutdownTimer()->isActive());
    EXPECT_EQ(viewer.ShutdownTimer()->interval(), 10000);
}

TEST_F(ViewerTest, KeyBOnBranchPageFollowsButtonB2AndHOnLeafPageGoesBack)
{
    showPage(QStringLiteral("visiting/visiting.htm"));
    press('b'); // b2: the first #button, visiting\castle
    ASSERT_TRUE(waitForPage(1, QStringLiteral("visiting/castle.htm")));
    EXPECT_TRUE(guardLines().contains(guardLine(1, path(QStringLiteral("visiting/castle.htm")))));

    press('h'); // b8 of a leaf page: Back, a script link
    ASSERT_TRUE(waitForPage(1, QStringLiteral("visiting/visiting.htm")));
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
}

TEST_F(ViewerTest, KeyOfAScreenBeyondScreensDoesNothing)
{
    showPage(QStringLiteral("visiting/visiting.htm"));
    const int linesBefore = int(guardLines().size());
    // "i" would be Home of screen 2 and "A" Home of screen 4; there is one screen.
    press('i');
    press('A');
    press('y');
    press('c'); // b3 of screen 1: visiting\walks
    ASSERT_TRUE(waitForPage(1, QStringLiteral("visiting/walks.htm")));
    const QStringList added = guardLines().mid(linesBefore);
    EXPECT_FALSE(added.filter(QStringLiteral("root.htm")).size()) << added.join(u'\n').toStdString();
    EXPECT_EQ(added.first(), guardLine(1, path(QStringLiteral("visiting/walks.htm"))));
}

TEST_F(ViewerTest, KeysSentToABrowserReachTheWindowFirst)
{
    frmViewPage& viewer = showPage(QStringLiteral("visiting/visiting.htm"));
    QWidget* browserControl = viewer.webBrowser(1)->focusProxy();
    ASSERT_NE(browserControl, nullptr);
    QTest::keyClick(browserControl, 'c'); // b3: visiting\walks
    ASSERT_TRUE(waitForPage(1, QStringLiteral("visiting/walks.htm")));
}

TEST_F(ViewerTest, Command1TakesTheFocusBackFromABrowser)
{
    frmViewPage& viewer = showPage(QStringLiteral("root/root.htm"));
    viewer.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return viewer.isActiveWindow(); }));
    ASSERT_TRUE(waitUntil([&] { return viewer.Command1()->hasFocus(); }));
    viewer.webBrowser(1)->setFocus();
    EXPECT_TRUE(viewer.Command1()->hasFocus());
}

TEST_F(ViewerTest, ZClosesTheViewerAndTheNextUseCreatesItAfresh)
{
    showPage(QStringLiteral("root/root.htm"));
    QPointer<frmViewPage> first(&frmViewPage::instance());
    press('z');
    EXPECT_FALSE(frmViewPage::exists());
    ASSERT_TRUE(waitUntil([&] { return first.isNull(); }));

    const int linesBefore = int(guardLines().size());
    frmViewPage& second = showPage(QStringLiteral("news/today.htm"));
    EXPECT_EQ(second.page(), path(QStringLiteral("news/today.htm")));
    EXPECT_TRUE(guardLines().mid(linesBefore).contains(guardLine(1, path(QStringLiteral("news/today.htm")))));
}

TEST_F(ViewerTest, UpperCaseZClosesTheViewerToo)
{
    showPage(QStringLiteral("root/root.htm"));
    press('Z');
    EXPECT_FALSE(frmViewPage::exists());
}

// Navigations the guard refuses: the message names the target, the page stays.
struct RefusedLink {
    const char* name;
    QString href;
    QString loggedTarget; // relative to the kiosk system folder when it starts with "kiosk:"
};

class RefusedLinkTest : public ViewerTest, public ::testing::WithParamInterface<RefusedLink> {};

TEST_P(RefusedLinkTest, IsRefusedWithTheMessageAndThePageStays)
{
    const RefusedLink& link = GetParam();
    QString target = link.loggedTarget;
    if (target.startsWith(QStringLiteral("kiosk:")))
        target = path(target.mid(6));
    writeLinksPage(QStringLiteral("odd/links.htm"), {link.href});
    showPage(QStringLiteral("odd/links.htm"));

    press('a');
    ASSERT_TRUE(waitUntil([&] { return !messages().isEmpty(); }));
    EXPECT_EQ(messages(), QStringList{target + QStringLiteral(" does not exist")});
    EXPECT_EQ(guardLines().last(), guardLine(1, target));
    // Still the same page, and no load of anything else.
    EXPECT_EQ(evaluate(1, QStringLiteral("document.title")).toString(), QStringLiteral("Links - Main"));
    EXPECT_EQ(frmViewPage::instance().webBrowser(1)->url(), QUrl::fromLocalFile(path(QStringLiteral("odd/links.htm"))));
}

INSTANTIATE_TEST_SUITE_P(
    Guard, RefusedLinkTest,
    ::testing::Values(RefusedLink{"web_address", QStringLiteral("http://www.example.com/"),
                                  QStringLiteral("http://www.example.com/")},
                      RefusedLink{"missing_file_backslash_link", QStringLiteral("..\\news\\gone.htm"),
                                  QStringLiteral("kiosk:news/gone.htm")},
                      RefusedLink{"missing_file_in_same_folder", QStringLiteral("nothing.htm"),
                                  QStringLiteral("kiosk:odd/nothing.htm")},
                      RefusedLink{"secure_web_address", QStringLiteral("https://example.org/page.htm"),
                                  QStringLiteral("https://example.org/page.htm")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewerTest, BackslashLinkToAnExistingPageIsResolvedAndPasses)
{
    writeLinksPage(QStringLiteral("odd/links.htm"), {QStringLiteral("..\\news\\today.htm")});
    showPage(QStringLiteral("odd/links.htm"));
    press('a');
    ASSERT_TRUE(waitForPage(1, QStringLiteral("news/today.htm")));
    EXPECT_TRUE(guardLines().contains(guardLine(1, path(QStringLiteral("news/today.htm")))));
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
}

// Pages that fail the page check: the reason is shown and the browser steps back.
struct BadPage {
    const char* name;
    QString html;
    QString reason;
};

class BadPageTest : public ViewerTest, public ::testing::WithParamInterface<BadPage> {};

const QString kFrame = QStringLiteral("<frame src=\"../root/root_con.htm\" name=\"%1\">\n");

TEST_P(BadPageTest, IsReportedAndTheBrowserGoesBack)
{
    writeFile(QStringLiteral("odd/bad.htm"), GetParam().html);
    writeLinksPage(QStringLiteral("odd/links.htm"), {QStringLiteral("bad.htm")});
    showPage(QStringLiteral("odd/links.htm"));

    press('a');
    ASSERT_TRUE(waitUntil([&] { return !messages().isEmpty(); }));
    EXPECT_EQ(messages(), QStringList{GetParam().reason + QStringLiteral(" in ") + path(QStringLiteral("odd/bad.htm"))});
    ASSERT_TRUE(waitForPage(1, QStringLiteral("odd/links.htm")));
    EXPECT_EQ(messages().size(), 1);
    EXPECT_TRUE(guardLines().contains(guardLine(1, path(QStringLiteral("odd/bad.htm")))));
}

TEST_P(BadPageTest, WithoutAnEarlierPageIsReportedAndStays)
{
    writeFile(QStringLiteral("odd/bad.htm"), GetParam().html);
    frmViewPage& viewer = showPage(QStringLiteral("odd/bad.htm"));
    ASSERT_TRUE(waitUntil([&] { return !messages().isEmpty(); }));
    EXPECT_EQ(messages(), QStringList{GetParam().reason + QStringLiteral(" in ") + path(QStringLiteral("odd/bad.htm"))});
    evaluate(1, QStringLiteral("1"));
    EXPECT_EQ(viewer.webBrowser(1)->url(), QUrl::fromLocalFile(path(QStringLiteral("odd/bad.htm"))));
    EXPECT_EQ(messages().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    PageCheck, BadPageTest,
    ::testing::Values(
        BadPage{"three_frames",
                QStringLiteral("<html>\n<frameset cols=\"1,1,1\">\n") + kFrame.arg(QStringLiteral("con"))
                    + kFrame.arg(QStringLiteral("nav")) + kFrame.arg(QStringLiteral("extra"))
                    + QStringLiteral("</frameset>\n</html>"),
                QStringLiteral("3 frames")},
        BadPage{"no_frames", QStringLiteral("<html>\n<body>\n<p>Plain page</p>\n</body>\n</html>"),
                QStringLiteral("0 frames")},
        BadPage{"nav_looked_up_before_con",
                QStringLiteral("<html>\n<frameset cols=\"1,1\">\n") + kFrame.arg(QStringLiteral("left"))
                    + kFrame.arg(QStringLiteral("right")) + QStringLiteral("</frameset>\n</html>"),
                QStringLiteral("no nav frame")},
        BadPage{"no_con_frame",
                QStringLiteral("<html>\n<frameset cols=\"1,1\">\n") + kFrame.arg(QStringLiteral("nav"))
                    + kFrame.arg(QStringLiteral("content")) + QStringLiteral("</frameset>\n</html>"),
                QStringLiteral("no con frame")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewerTest, ShutdownTimeIsRefusedInEditMode)
{
    frmViewPage& viewer = frmViewPage::instance();
    EXPECT_TRUE(endsProgram([&] { viewer.setShutDownTime(QDateTime::currentDateTime()); }));
    ASSERT_FALSE(messages().isEmpty());
    EXPECT_EQ(messages().first(),
              QStringLiteral("The System has encountered a problem\r\nsetShutdownTime is invalid in edit mode"));
    EXPECT_TRUE(m_kiosk->logLines().contains(QStringLiteral("setShutdownTime is invalid in edit mode")));
}

TEST_F(ViewerTest, IdleTimersOnlyTidyUpWhenTheyTick)
{
    frmViewPage& viewer = frmViewPage::instance();
    viewer.ShutdownTimer()->start(0);
    viewer.Timer(1)->start(0);
    ASSERT_TRUE(waitUntil(
        [&] { return !viewer.ShutdownTimer()->isActive() && !viewer.Timer(1)->isActive(); }));
    EXPECT_TRUE(m_kiosk->logLines().contains(QStringLiteral("ShutdownTimer should not tick in edit mode")));
    EXPECT_TRUE(viewer.lblMessage(1)->isHidden());
    EXPECT_FALSE(viewer.webBrowser(1)->isHidden());
}

TEST_F(ViewerTest, MissingPagePathIsRefusedAtLayout)
{
    frmViewPage& viewer = frmViewPage::instance();
    viewer.setPage(path(QStringLiteral("news/gone.htm")));
    viewer.show();
    ASSERT_TRUE(waitUntil([&] { return !messages().isEmpty(); }));
    evaluate(1, QStringLiteral("1"));
    EXPECT_EQ(messages(), QStringList{path(QStringLiteral("news/gone.htm")) + QStringLiteral(" does not exist")});
    EXPECT_EQ(guardLines(), QStringList{guardLine(1, path(QStringLiteral("news/gone.htm")))});
}

// Three kiosk screens side by side; the digit keys act on screen 2.
class ThreeScreenViewerTest : public ViewerTest {
protected:
    QStringList extraConfiguration() const override
    {
        return {QStringLiteral("screens 3"), QStringLiteral("remotescreen 2")};
    }
};

TEST_F(ThreeScreenViewerTest, BrowsersStandSideBySideAndKeysPickTheirScreen)
{
    frmViewPage& viewer = showPage(QStringLiteral("visiting/visiting.htm"));
    ASSERT_EQ(viewer.screenCount(), 3);
    ASSERT_TRUE(waitForPage(3, QStringLiteral("visiting/visiting.htm")));
    const int width = qRound(viewer.width() / 3.0);
    for (int screen = 1; screen <= 3; ++screen)
        EXPECT_EQ(viewer.webBrowser(screen)->geometry(), QRect((screen - 1) * width, 0, width, viewer.height()));

    press('q'); // b1 of screen 3: Home
    ASSERT_TRUE(waitForPage(3, QStringLiteral("root/root.htm")));
    EXPECT_TRUE(guardLines().contains(guardLine(3, path(QStringLiteral("root/root.htm")))));

    press('3'); // b3 of the remote screen 2: visiting\walks
    ASSERT_TRUE(waitForPage(2, QStringLiteral("visiting/walks.htm")));
    EXPECT_EQ(viewer.webBrowser(1)->url(), QUrl::fromLocalFile(path(QStringLiteral("visiting/visiting.htm"))));
}

// True when the picture holds more than one colour: the page has been painted.
bool showsSomething(const QImage& image)
{
    if (image.isNull())
        return false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 16)
        for (int x = 0; x < image.width(); x += 16)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

TEST_F(ViewerTest, ScreenshotOfASelectorPage)
{
    frmViewPage& viewer = showPage(QStringLiteral("shops/directory.htm"));
    // The selector's init() ran when the page loaded and marked its first row.
    EXPECT_EQ(evaluate(1, QStringLiteral("frames['con'].document.getElementById('sTable').rows[0].className"))
                  .toString(),
              QStringLiteral("current"));
    QImage shot;
    ASSERT_TRUE(waitUntil([&] {
        shot = viewer.grab().toImage();
        return showsSomething(shot);
    }));
    QDir().mkpath(QStringLiteral("/tmp/zel-shots"));
    EXPECT_TRUE(shot.save(QStringLiteral("/tmp/zel-shots/viewer-selector.png")));
    EXPECT_EQ(shot.size(), viewer.size() * viewer.devicePixelRatio());
}

} // namespace
