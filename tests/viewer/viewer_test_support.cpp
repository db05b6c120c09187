#include "viewer/viewer_test_support.h"

#include "maker/page_maker.h"
#include "viewer/frm_view_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QPointer>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QWindow>

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        // Objects deleted later are deleted only from the caller's level.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (condition())
            return true;
        if (elapsed.hasExpired(timeoutMs))
            return false;
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (condition())
                loop.quit();
        });
        QTimer slice;
        slice.setSingleShot(true);
        QObject::connect(&slice, &QTimer::timeout, &loop, &QEventLoop::quit);
        poll.start();
        slice.start(50);
        loop.exec();
    }
}

void ViewerTest::SetUp()
{
    m_kiosk = std::make_unique<TemporaryKiosk>();
    copySampleKiosk(m_kiosk->folder());
    QStringList configuration = readLines(m_kiosk->path(QStringLiteral("configuration.txt")));
    configuration.append(extraConfiguration());
    writeTextFile(m_kiosk->path(QStringLiteral("configuration.txt")), configuration);
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

QString ViewerTest::path(const QString& relative) const { return m_kiosk->path(relative); }

void ViewerTest::watch(frmViewPage& viewer)
{
    m_watched = &viewer;
    m_loads = std::make_shared<std::vector<QStringList>>(size_t(viewer.screenCount()));
    for (int screen = 1; screen <= viewer.screenCount(); ++screen) {
        QWebEngineView* browser = viewer.webBrowser(screen);
        QObject::connect(browser, &QWebEngineView::loadFinished, browser, [loads = m_loads, browser, screen] {
            (*loads)[size_t(screen - 1)].append(QDir::toNativeSeparators(browser->url().toLocalFile()));
        });
    }
}

frmViewPage& ViewerTest::showPage(const QString& relative)
{
    frmViewPage& viewer = frmViewPage::instance();
    if (m_watched != &viewer)
        watch(viewer);
    viewer.setPage(path(relative));
    viewer.show();
    EXPECT_TRUE(waitUntil([&] { return viewer.windowHandle() && viewer.windowHandle()->isExposed(); }));
    EXPECT_TRUE(waitForPage(1, relative)) << relative.toStdString();
    return viewer;
}

bool ViewerTest::waitForPage(int screen, const QString& relative)
{
    const QString expected = path(relative);
    const bool loaded = waitUntil(
        [&] {
            const QStringList& loads = (*m_loads)[size_t(screen - 1)];
            return !loads.isEmpty() && loads.last() == expected;
        },
        kViewerTimeout);
    if (!loaded)
        return false;
    // The page check's script was queued before this one, so its answer is in.
    evaluate(screen, QStringLiteral("1"));
    return true;
}

void ViewerTest::press(char key)
{
    QTest::keyClick(frmViewPage::instance().windowHandle(), key);
}

QVariant ViewerTest::evaluate(int screen, const QString& script)
{
    struct Answer {
        bool done = false;
        QVariant value;
    };
    auto answer = std::make_shared<Answer>();
    frmViewPage::instance().webBrowser(screen)->page()->runJavaScript(
        script, QWebEngineScript::ApplicationWorld, [answer](const QVariant& value) {
            answer->value = value;
            answer->done = true;
        });
    EXPECT_TRUE(waitUntil([&] { return answer->done; }, kViewerTimeout)) << script.toStdString();
    return answer->value;
}

void ViewerTest::closeViewer()
{
    if (!frmViewPage::exists())
        return;
    QPointer<frmViewPage> viewer(&frmViewPage::instance());
    viewer->close();
    EXPECT_TRUE(waitUntil([&] { return viewer.isNull(); }, kViewerTimeout));
}

QStringList ViewerTest::guardLines() const
{
    return m_kiosk->logLines().filter(QStringLiteral("webBrowser_BeforeNavigate2("));
}

void ViewerTest::writeFile(const QString& relative, const QString& text)
{
    writeTextFile(path(relative), text.split(u'\n'));
}

void ViewerTest::writeLinksPage(const QString& relative, const QStringList& targets)
{
    const QString base = relative.chopped(4);
    const QString name = base.mid(base.lastIndexOf(u'/') + 1);
    writeFile(relative, QStringLiteral("<html>\n<head>\n<title>Links - Main</title>\n</head>\n"
                                       "<frameset cols=\"900,300\" frameBorder=0 frameSpacing=0 border=0>\n"
                                       "<frame src=\"%1_con.htm\" name=\"con\" frameborder=0 scrolling=no>\n"
                                       "<frame src=\"%1_nav.htm\" name=\"nav\" frameborder=0 scrolling=no>\n"
                                       "</frameset>\n</html>")
                            .arg(name));
    writeFile(base + QStringLiteral("_con.htm"), QStringLiteral("<html>\n<body>\n<p>Links</p>\n</body>\n</html>"));
    QString navigation = QStringLiteral("<html>\n<body>\n<table class=\"nav\" border=1 cellspacing=0>\n");
    for (int index = 0; index < targets.size(); ++index)
        navigation += QStringLiteral("<tr>\n<td>\n<a href=\"%1\" class=\"nav\" id=\"b%2\" target=\"_top\">Link</a>\n"
                                     "</td>\n</tr>\n")
                          .arg(targets[index])
                          .arg(index + 1);
    navigation += QStringLiteral("</table>\n</body>\n</html>");
    writeFile(base + QStringLiteral("_nav.htm"), navigation);
}
