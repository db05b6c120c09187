// Leaf pages: Up (b2) and Down (b7) scroll the content frame by most of its
// height, keeping a line of overlap, and do nothing at either end.
#include "display_fixture.h"

#include <QVariantMap>

namespace {

struct LeafCase {
    const char* name;
    const char* page;
};

const LeafCase kLeafCases[] = {
    {"NewsWithPicturesInEveryAlignment", "news/today.htm"},
    {"CastleWithTable", "visiting/castle.htm"},
    {"WalksWithCentredPicture", "visiting/walks.htm"},
};

void PrintTo(const LeafCase& leafCase, std::ostream* out) { *out << leafCase.page; }

class LeafScrolling : public DisplayFixture<::testing::TestWithParam<LeafCase>> {
protected:
    struct Scroll {
        int y = -1;
        int visible = 0;
        int maximum = 0;
    };

    Scroll scroll()
    {
        const QVariantMap answer = browser()
                                       .evaluate(QStringLiteral(
                                           "(function () { var c = window.frames['con'];"
                                           " var d = c.document.scrollingElement;"
                                           " return { y: c.scrollY, visible: c.innerHeight,"
                                           " maximum: d.scrollHeight - d.clientHeight }; })()"))
                                       .toMap();
        return {answer.value(QStringLiteral("y")).toInt(), answer.value(QStringLiteral("visible")).toInt(),
                answer.value(QStringLiteral("maximum")).toInt()};
    }
};

TEST_P(LeafScrolling, DownAndUpMoveByMostOfAScreenAndStopAtTheEnds)
{
    ASSERT_TRUE(open(QString::fromLatin1(GetParam().page)));
    Scroll start = scroll();
    ASSERT_EQ(start.y, 0);
    ASSERT_GT(start.maximum, 0) << "the sample page must be long enough to scroll";

    // Down until the end: every step moves most of a screen but keeps an overlap.
    int steps = 0;
    Scroll now = start;
    while (now.y < now.maximum && steps < 20) {
        const int before = now.y;
        ASSERT_TRUE(browser().touch(QStringLiteral("b7")));
        now = scroll();
        const int moved = now.y - before;
        ASSERT_GT(moved, 0);
        if (now.y < now.maximum) {
            EXPECT_GE(moved, now.visible / 2);
            EXPECT_LT(moved, now.visible - 20) << "a line of the previous screen stays in view";
        }
        ++steps;
    }
    EXPECT_EQ(now.y, now.maximum);
    ASSERT_TRUE(browser().touch(QStringLiteral("b7")));
    EXPECT_EQ(scroll().y, now.maximum) << "Down at the end does nothing";

    // Up again until the top, where Up does nothing.
    steps = 0;
    while (now.y > 0 && steps < 20) {
        const int before = now.y;
        ASSERT_TRUE(browser().touch(QStringLiteral("b2")));
        now = scroll();
        ASSERT_LT(now.y, before);
        ++steps;
    }
    EXPECT_EQ(now.y, 0);
    ASSERT_TRUE(browser().touch(QStringLiteral("b2")));
    EXPECT_EQ(scroll().y, 0) << "Up at the top does nothing";
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(SamplePages, LeafScrolling, ::testing::ValuesIn(kLeafCases),
                         [](const ::testing::TestParamInfo<LeafCase>& info) { return std::string(info.param.name); });

} // namespace
