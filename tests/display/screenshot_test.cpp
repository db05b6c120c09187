// What a visitor sees at 1280 x 1024: the buttons fill the navigation column,
// pictures stand where their alignment says, the highlighted selector row is
// beside Select. With ZEL_SHOT_FOLDER set, the screens are saved there as PNG
// files to be looked at.
#include "display_fixture.h"

#include <QDir>
#include <QVariantMap>

namespace {

struct ScreenCase {
    const char* name;
    const char* page;
};

void PrintTo(const ScreenCase& screen, std::ostream* out) { *out << screen.name; }

const ScreenCase kScreens[] = {
    {"root", "root/root.htm"},           {"branch", "visiting/visiting.htm"}, {"branch_whats_on", "news/news.htm"},
    {"leaf", "news/today.htm"},          {"leaf_castle", "visiting/castle.htm"}, {"selector", "shops/directory.htm"},
    {"shop", "shops/cafe.htm"},             {"missing", "missing.html"},
};

class Screens : public DisplayFixture<::testing::TestWithParam<ScreenCase>> {};

TEST_P(Screens, ButtonsFillTheNavigationColumn)
{
    ASSERT_TRUE(open(QString::fromLatin1(GetParam().page)));
    // Each button's visible face against its cell, and the cells against the frame.
    const QVariantMap answer =
        browser()
            .evaluate(QStringLiteral(
                "(function () { var nav = window.frames['nav'], links = nav.document.querySelectorAll('a.nav');"
                " var narrowest = 1, lowest = 1, total = 0, cells = nav.document.querySelectorAll('table.nav td');"
                " for (var i = 0; i < links.length; ++i) { if (!links[i].textContent) continue;"
                "   var a = links[i].getBoundingClientRect(), c = links[i].parentNode.getBoundingClientRect();"
                "   narrowest = Math.min(narrowest, a.width / nav.innerWidth);"
                "   lowest = Math.min(lowest, a.height / c.height); }"
                " for (var j = 0; j < cells.length; ++j) total += cells[j].getBoundingClientRect().height;"
                " return { narrowest: narrowest, lowest: lowest, total: total, frame: nav.innerHeight,"
                "   overflow: nav.document.scrollingElement.scrollHeight - nav.innerHeight }; })()"))
            .toMap();
    EXPECT_GE(answer.value(QStringLiteral("narrowest")).toDouble(), 0.85);
    EXPECT_GE(answer.value(QStringLiteral("lowest")).toDouble(), 0.8);
    EXPECT_GE(answer.value(QStringLiteral("total")).toDouble(), answer.value(QStringLiteral("frame")).toDouble() - 8);
    EXPECT_LE(answer.value(QStringLiteral("overflow")).toInt(), 0) << "the column fits the screen";

    const QImage screen = browser().grab();
    EXPECT_EQ(screen.size(), QSize(1280, 1024));
    const QByteArray folder = qgetenv("ZEL_SHOT_FOLDER");
    if (!folder.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(folder));
        EXPECT_TRUE(screen.save(QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromLatin1(GetParam().name) + ".png")));
    }
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Sample, Screens, ::testing::ValuesIn(kScreens),
                         [](const ::testing::TestParamInfo<ScreenCase>& info) { return std::string(info.param.name); });

class Pictures : public DisplayFixture<> {};

TEST_F(Pictures, StandWhereTheirAlignmentSays)
{
    ASSERT_TRUE(open(QStringLiteral("news/today.htm")));
    // today.zel: market left, harbour centre, lighthouse right.
    const QVariantList images =
        browser()
            .evaluate(QStringLiteral(
                "(function () { var con = window.frames['con'], width = con.document.documentElement.clientWidth;"
                " var out = [], images = con.document.images;"
                " for (var i = 0; i < images.length; ++i) { var r = images[i].getBoundingClientRect();"
                "   out.push({ left: r.left, right: width - r.right, width: r.width }); }"
                " return out; })()"))
            .toList();
    ASSERT_EQ(images.size(), 3);
    const QVariantMap left = images.at(0).toMap(), centre = images.at(1).toMap(), right = images.at(2).toMap();
    EXPECT_LE(left.value(QStringLiteral("left")).toDouble(), 10);
    EXPECT_GT(left.value(QStringLiteral("right")).toDouble(), 300);
    EXPECT_NEAR(centre.value(QStringLiteral("left")).toDouble(), centre.value(QStringLiteral("right")).toDouble(), 30);
    EXPECT_GE(centre.value(QStringLiteral("left")).toDouble(), 0);
    EXPECT_LE(right.value(QStringLiteral("right")).toDouble(), 10);
    EXPECT_GT(right.value(QStringLiteral("left")).toDouble(), 300);
    // Nothing is wider than the content frame: no sideways scrolling.
    EXPECT_EQ(browser().evaluate(QStringLiteral("window.frames['con'].document.scrollingElement.scrollWidth"
                                                " <= window.frames['con'].document.documentElement.clientWidth"))
                  .toBool(),
              true);
}

} // namespace
