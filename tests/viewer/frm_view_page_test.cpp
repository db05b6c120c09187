#include "viewer/viewer_test_support.h"

#include "viewer/page_check.h"

#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// A visit with the keyboard: a made page and its frames, the keys of the one
// screen, keys sent to a browser, "z" and a fresh viewer, a selector page.
TEST_F(ViewerTest, MadePagesAnswerTheKeysAndZClosesTheViewer)
{
    // Created: the pointer went beyond the window's bottom-right corner.
    const frmViewPage& created = workbench.instance<frmViewPage>();
    EXPECT_EQ(QCursor::pos(), created.mapToGlobal(QPoint(2 * created.width(), 2 * created.height())));
    frmViewPage& viewer = showPage(QStringLiteral("root/root.htm"));
    const QVariantMap page = evaluate(1, PageCheck::inspectionScript()).toMap();
    EXPECT_TRUE(page.value(QStringLiteral("count")).toInt() == 2 && page.value(QStringLiteral("nav")).toBool()
                && page.value(QStringLiteral("con")).toBool());
    EXPECT_TRUE(viewer.windowFlags().testFlag(Qt::FramelessWindowHint) && viewer.isMaximized());
    EXPECT_EQ(viewer.webBrowser(1)->geometry(), QRect(0, 0, viewer.width(), viewer.height()));
    EXPECT_TRUE(viewer.Command1()->x() > viewer.width() && !viewer.lblMessage(1)->isVisible());
    // The frameset and both of its frames passed the guard.
    for (const char* file : {"root/root.htm", "root/root_con.htm", "root/root_nav.htm"})
        EXPECT_TRUE(logged(1, QString::fromLatin1(file))) << file;

    frmViewPage& visiting = showPage(QStringLiteral("visiting/visiting.htm"));
    const qsizetype linesBefore = guardLines().size();
    for (char key : {'i', 'A', 'y'}) // Home of screens 2 and 4, no button: there is one screen
        press(key);
    press('b'); // b2: the first button, visiting\castle
    ASSERT_TRUE(waitForPage(1, QStringLiteral("visiting/castle.htm")));
    EXPECT_EQ(guardLines().mid(linesBefore).first(), guardLine(1, path(QStringLiteral("visiting/castle.htm"))));
    press('h'); // b8 of a leaf page: Back, a script link
    ASSERT_TRUE(waitForPage(1, QStringLiteral("visiting/visiting.htm")));
    EXPECT_TRUE(guardLines().contains(guardLine(1, QStringLiteral("javascript:goBack()"))));
    QTest::keyClick(visiting.webBrowser(1)->focusProxy(), 'c'); // reaches the window first: b3, visiting\walks
    ASSERT_TRUE(waitForPage(1, QStringLiteral("visiting/walks.htm")));
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();

    QPointer<frmViewPage> first(&visiting);
    press('z');
    EXPECT_FALSE(workbench.exists<frmViewPage>());
    ASSERT_TRUE(waitUntil([&] { return first.isNull(); }));
    frmViewPage& second = showPage(QStringLiteral("shops/directory.htm"));
    EXPECT_TRUE(logged(1, QStringLiteral("shops/directory.htm")));
    // The selector's init() ran when the page loaded and marked its first row.
    EXPECT_EQ(evaluate(1, QStringLiteral("frames['con'].document.getElementById('sTable').rows[0].className")),
              QStringLiteral("current"));
    // The kiosk script sees the edit mode, so an idle viewer keeps the author's page.
    EXPECT_EQ(runScript(second.webBrowser(1)->page(),
                        QStringLiteral("window.zelEditMode === true && kioskTop().zelEditMode === true"),
                        QWebEngineScript::MainWorld),
              QVariant(true));
    QImage shot;
    EXPECT_TRUE(waitUntil([&] { return (shot = second.grab().toImage()).pixel(0, 0) != shot.pixel(400, 300); }));
    if (const QString folder = qEnvironmentVariable("ZEL_SHOT_FOLDER"); !folder.isEmpty())
        EXPECT_TRUE(QDir().mkpath(folder) && shot.save(folder + QStringLiteral("/viewer-selector.png")));
}

// Links the guard refuses (the message names the target, the page stays) and
// a backslash link to an existing page, which the engine resolves and which passes.
// Target: a page of the kiosk system, or the URL as it stands.
const struct {
    const char* href;
    const char* target;
    bool passes;
} kLinks[] = {
    {"http://www.example.com/", "http://www.example.com/", false},
    {"..\\news\\gone.htm", "news/gone.htm", false},
    {"nothing.htm", "odd/nothing.htm", false},
    {"..\\news\\today.htm", "news/today.htm", true},
};

TEST_F(ViewerTest, GuardRefusesWebAddressesAndMissingFilesWithTheMessage)
{
    QStringList hrefs;
    for (const auto& link : kLinks)
        hrefs.append(QString::fromLatin1(link.href));
    writeLinksPage(QStringLiteral("odd/links.htm"), hrefs);
    frmViewPage& viewer = showPage(QStringLiteral("odd/links.htm"));
    for (char key = 'a'; const auto& link : kLinks) {
        SCOPED_TRACE(link.href);
        const QString target = QString::fromLatin1(link.target).contains(u':') ? QString::fromLatin1(link.target)
                                                                               : path(QString::fromLatin1(link.target));
        m_kiosk->messages.clear();
        press(key++);
        if (link.passes) {
            ASSERT_TRUE(waitForPage(1, QString::fromLatin1(link.target)));
            EXPECT_TRUE(guardLines().contains(guardLine(1, target)));
            EXPECT_EQ(messages(), QStringList());
            continue;
        }
        ASSERT_TRUE(waitUntil([&] { return !messages().isEmpty(); }));
        EXPECT_EQ(messages(), QStringList{target + QStringLiteral(" does not exist")});
        EXPECT_EQ(guardLines().last(), guardLine(1, target));
        EXPECT_EQ(evaluate(1, QStringLiteral("document.title")), QStringLiteral("Links - Main"));
        EXPECT_EQ(viewer.webBrowser(1)->url(), QUrl::fromLocalFile(path(QStringLiteral("odd/links.htm"))));
    }
}

// Pages that fail the page check (frame names; none: a page without frames):
// the reason is shown and the browser steps back.
const char* const kBadPages[][3] = {{"three_frames", "con nav extra", "3 frames"},
                                    {"no_frames", "", "0 frames"},
                                    {"nav_looked_up_before_con", "left right", "no nav frame"},
                                    {"no_con_frame", "nav content", "no con frame"}};

TEST_F(ViewerTest, PagesFailingTheCheckAreReportedAndTheBrowserGoesBack)
{
    QStringList hrefs;
    for (const auto& [name, frames, reason] : kBadPages) {
        QString html = QStringLiteral("<html>\n<frameset cols=\"1,1,1\">\n");
        for (const QString& frame : QString::fromLatin1(frames).split(u' ', Qt::SkipEmptyParts))
            html += QStringLiteral("<frame src=\"../root/root_con.htm\" name=\"%1\">\n").arg(frame);
        writeFile(QStringLiteral("odd/%1.htm").arg(QString::fromLatin1(name)),
                  *frames ? html + QStringLiteral("</frameset>\n</html>")
                          : QStringLiteral("<html>\n<p>Plain</p>\n</html>"));
        hrefs.append(QString::fromLatin1(name) + QStringLiteral(".htm"));
    }
    writeLinksPage(QStringLiteral("odd/links.htm"), hrefs);
    showPage(QStringLiteral("odd/links.htm"));
    for (char key = 'a'; const auto& [name, frames, reason] : kBadPages) {
        SCOPED_TRACE(name);
        const QString file = path(QStringLiteral("odd/%1.htm").arg(QString::fromLatin1(name)));
        m_kiosk->messages.clear();
        press(key++);
        ASSERT_TRUE(waitUntil([&] { return !messages().isEmpty(); }));
        EXPECT_EQ(messages(), QStringList{QString::fromLatin1(reason) + QStringLiteral(" in ") + file});
        ASSERT_TRUE(waitForPage(1, QStringLiteral("odd/links.htm")));
        EXPECT_EQ(messages().size(), 1);
        EXPECT_TRUE(logged(1, QStringLiteral("odd/%1.htm").arg(QString::fromLatin1(name))));
    }
    // Without an earlier page the reason is shown and the page stays.
    closeViewer();
    m_kiosk->messages.clear();
    frmViewPage& viewer = showPage(QStringLiteral("odd/no_frames.htm"));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("0 frames in ") + path(QStringLiteral("odd/no_frames.htm"))});
    EXPECT_EQ(viewer.webBrowser(1)->url(), QUrl::fromLocalFile(path(QStringLiteral("odd/no_frames.htm"))));
}

// Three kiosk screens side by side; the digit keys act on the remote screen 2.
struct ThreeScreenViewerTest : ViewerTest {
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
    EXPECT_EQ(viewer.webBrowser(3)->geometry(),
              QRect(2 * qRound(viewer.width() / 3.0), 0, qRound(viewer.width() / 3.0), viewer.height()));
    press('q'); // b1 of screen 3: Home
    ASSERT_TRUE(waitForPage(3, QStringLiteral("root/root.htm")));
    EXPECT_TRUE(logged(3, QStringLiteral("root/root.htm")));
    press('3'); // b3 of the remote screen 2: visiting\walks
    ASSERT_TRUE(waitForPage(2, QStringLiteral("visiting/walks.htm")));
    EXPECT_EQ(viewer.webBrowser(1)->url(), QUrl::fromLocalFile(path(QStringLiteral("visiting/visiting.htm"))));
}

} // namespace
