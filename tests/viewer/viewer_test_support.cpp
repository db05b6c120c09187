#include "viewer/viewer_test_support.h"

#include "maker/page_maker.h"

#include <QTest>
#include <QWindow>

void ViewerTest::SetUp()
{
    m_kiosk = std::make_unique<TemporaryKiosk>();
    copySampleKiosk(m_kiosk->folder());
    writeTextFile(path(QStringLiteral("configuration.txt")),
                  readLines(path(QStringLiteral("configuration.txt"))) + extraConfiguration());
    workbench.setKioskSystem(&m_kiosk->openHeadless());
    PageMaker maker(m_kiosk->system());
    maker.makeAll();
    maker.run();
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("shops/directory.htm"))));
    m_kiosk->messages.clear();
}

frmViewPage& ViewerTest::showPage(const QString& relative)
{
    if (workbench.exists<frmViewPage>() && workbench.instance<frmViewPage>().isVisible())
        closeViewer();
    frmViewPage& viewer = workbench.instance<frmViewPage>();
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
    QWebEngineView* browser = workbench.instance<frmViewPage>().webBrowser(screen);
    const bool loaded =
        waitUntil([&] { return browser->property("finishedUrl") == QUrl::fromLocalFile(path(relative)); });
    // The page check's script was queued before this one, so its answer is in.
    return loaded && evaluate(screen, QStringLiteral("1")).isValid();
}

void ViewerTest::press(char key) { QTest::keyClick(workbench.instance<frmViewPage>().windowHandle(), key); }

void ViewerTest::closeViewer()
{
    QPointer<frmViewPage> viewer(workbench.exists<frmViewPage>() ? &workbench.instance<frmViewPage>() : nullptr);
    if (viewer)
        viewer->close();
    EXPECT_TRUE(waitUntil([&] { return viewer.isNull(); }));
}

void ViewerTest::writeLinksPage(const QString& relative, const QStringList& targets)
{
    const QString base = relative.chopped(4), name = base.mid(base.lastIndexOf(u'/') + 1);
    writeFile(relative, QStringLiteral("<html><head><title>Links - Main</title></head><frameset cols=\"900,300\">"
                                       "<frame src=\"%1_con.htm\" name=\"con\"><frame src=\"%1_nav.htm\" name=\"nav\">"
                                       "</frameset></html>")
                            .arg(name));
    writeFile(base + QStringLiteral("_con.htm"), QStringLiteral("<html><body><p>Links</p></body></html>"));
    QString navigation;
    for (int index = 0; index < targets.size(); ++index)
        navigation +=
            QStringLiteral("<a href=\"%1\" id=\"b%2\" target=\"_top\">Link</a>\n").arg(targets[index]).arg(index + 1);
    writeFile(base + QStringLiteral("_nav.htm"), QStringLiteral("<html><body>\n%1</body></html>").arg(navigation));
}
