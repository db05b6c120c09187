#include "viewer/viewer_test_support.h"

#include "viewer/frm_view_page.h"
#include "viewer/page_check.h"

#include <QWebEngineView>

namespace {

TEST_F(ViewerTest, MadePageLoadsWithNavAndConFrames)
{
    frmViewPage& viewer = showPage(QStringLiteral("root/root.htm"));
    const QVariantMap page = evaluate(1, PageCheck::inspectionScript()).toMap();
    EXPECT_EQ(page.value(QStringLiteral("count")).toInt(), 2);
    EXPECT_TRUE(page.value(QStringLiteral("nav")).toBool());
    EXPECT_TRUE(page.value(QStringLiteral("con")).toBool());
    EXPECT_TRUE(messages().isEmpty()) << messages().join(u'|').toStdString();
    EXPECT_EQ(viewer.screenCount(), 1);
    const QStringList lines = guardLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("webBrowser_BeforeNavigate2(1) ") + path(QStringLiteral("root/root.htm"))))
        << lines.join(u'\n').toStdString();
}

} // namespace
