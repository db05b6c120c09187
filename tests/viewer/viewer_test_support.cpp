#include "viewer/viewer_test_support.h"

#include "maker/page_maker.h"
#include "viewer/frm_view_page.h"

#include <QDir>
#include <QPointer>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QWindow>

namespace {
constexpr int kTimeout = 20000;
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
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    EXPECT_TRUE(waitForPage(1, relative)) << relative.toStdString();
    return viewer;
}

bool ViewerTest::waitForPage(int screen, const QString& relative)
{
    const QString expected = path(relative);
    const bool loaded = QTest::qWaitFor(
        [&] {
            const QStringList& loads = (*m_loads)[size_t(screen - 1)];
            return !loads.isEmpty() && loads.last() == expected;
        },
        kTimeout);
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return answer->done; }, kTimeout)) << script.toStdString();
    return answer->value;
}

void ViewerTest::closeViewer()
{
    if (!frmViewPage::exists())
        return;
    QPointer<frmViewPage> viewer(&frmViewPage::instance());
    viewer->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer.isNull(); }, kTimeout));
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
