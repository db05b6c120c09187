#include "viewer/viewer_test_support.h"

#include "maker/page_maker.h"

#include <QTest>
#include <QWebEngineView>
#include <QWindow>

void ViewerTest::SetUp()
{
    m_kiosk = std::make_unique<TemporaryKiosk>();
    copySampleKiosk(m_kiosk->folder());
    writeTextFile(path(QStringLiteral("configuration.txt")),
                  readLines(path(QStringLiteral("configuration.txt"))) + extraConfiguration());
    m_kiosk->openHeadless();
    PageMaker maker;
    maker.makeAll();
    maker.run();
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("shops/directory.htm"))));
    m_kiosk->messages.clear();
}

void ViewerTest::TearDown()
{
    closeViewer();
    m_kiosk.reset();
}

QString ViewerTest::guardLine(int screen, const QString& target) const
{
    return QStringLiteral("webBrowser_BeforeNavigate2(%1) ").arg(screen) + target;
}

QStringList ViewerTest::guardLines() const
{
    return m_kiosk->logLines().filter(QStringLiteral("webBrowser_BeforeNavigate2("));
}

frmViewPage& ViewerTest::showPage(const QString& relative)
{
    if (frmViewPage::exists() && frmViewPage::instance().isVisible())
        closeViewer();
    frmViewPage& viewer = frmViewPage::instance();
    for (int screen = 1; screen <= viewer.screenCount(); ++screen) {
        QWebEngineView* browser = viewer.webBrowser(screen);
        QObject::connect(browser, &QWebEngineView::loadFinished, browser,
                         [browser] { browser->setProperty("finishedUrl", browser->url()); });
    }
    viewer.setPage(path(relative));
    viewer.show();
    EXPECT_TRUE(waitUntil([&] { return viewer.windowHandle() && viewer.windowHandle()->isExposed(); }));
    EXPECT_TRUE(waitForPage(1, relative)) << relative.toStdString();
    return viewer;
}

bool ViewerTest::waitForPage(int screen, const QString& relative)
{
    QWebEngineView* browser = frmViewPage::instance().webBrowser(screen);
    if (!waitUntil([&] { return browser->property("finishedUrl") == QUrl::fromLocalFile(path(relative)); }))
        return false;
    // The page check's script was queued before this one, so its answer is in.
    evaluate(screen, QStringLiteral("1"));
    return true;
}

void ViewerTest::press(char key) { QTest::keyClick(frmViewPage::instance().windowHandle(), key); }

void ViewerTest::closeViewer()
{
    if (!frmViewPage::exists())
        return;
    QPointer<frmViewPage> viewer(&frmViewPage::instance());
    viewer->close();
    EXPECT_TRUE(waitUntil([&] { return viewer.isNull(); }));
}

QVariant ViewerTest::evaluate(int screen, const QString& script)
{
    return runScript(frmViewPage::instance().webBrowser(screen)->page(), script, QWebEngineScript::ApplicationWorld);
}

void ViewerTest::writeFile(const QString& relative, const QString& text)
{
    writeTextFile(path(relative), text.split(u'\n'));
}

void ViewerTest::writeLinksPage(const QString& relative, const QStringList& targets)
{
    const QString base = relative.chopped(4), name = base.mid(base.lastIndexOf(u'/') + 1);
    writeFile(relative, QStringLiteral("<html>\n<head>\n<title>Links - Main</title>\n</head>\n<frameset cols=\"900,300\">\n"
                                       "<frame src=\"%1_con.htm\" name=\"con\">\n<frame src=\"%1_nav.htm\" name=\"nav\">\n"
                                       "</frameset>\n</html>").arg(name));
    writeFile(base + QStringLiteral("_con.htm"), QStringLiteral("<html>\n<body>\n<p>Links</p>\n</body>\n</html>"));
    QString navigation = QStringLiteral("<html>\n<body>\n");
    for (int index = 0; index < targets.size(); ++index)
        navigation += QStringLiteral("<a href=\"%1\" id=\"b%2\" target=\"_top\">Link</a>\n").arg(targets[index]).arg(index + 1);
    writeFile(base + QStringLiteral("_nav.htm"), navigation + QStringLiteral("</body>\n</html>"));
}
