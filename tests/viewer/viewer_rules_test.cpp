#include "support/kiosk_fixture.h"

#include "platform/runtime_error.h"
#include "viewer/mouse.h"
#include "viewer/navigation_guard.h"
#include "viewer/page_check.h"
#include "viewer/viewer_keys.h"

#include <QCursor>
#include <QUrl>
#include <QWidget>
#include <QVariantMap>
#include <gtest/gtest.h>

namespace {

struct KeyRow {
    const char* name;
    char key;
    std::int16_t remoteScreen;
    std::int16_t screen;
    std::int16_t button;
    bool closes;
};

class KeyTable : public ::testing::TestWithParam<KeyRow> {};

TEST_P(KeyTable, MapsTheKey)
{
    const KeyRow& row = GetParam();
    const ViewerKeys::KeyCommand command = ViewerKeys::keyCommand(row.key, row.remoteScreen);
    EXPECT_EQ(command.screen, row.screen);
    if (row.screen != 0)
        EXPECT_EQ(command.button, row.button);
    EXPECT_EQ(command.closesViewer, row.closes);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyTable,
                         ::testing::Values(KeyRow{"a_screen1_button1", 'a', 1, 1, 1, false},
                                           KeyRow{"h_screen1_button8", 'h', 1, 1, 8, false},
                                           KeyRow{"i_screen2_button1", 'i', 1, 2, 1, false},
                                           KeyRow{"p_screen2_button8", 'p', 1, 2, 8, false},
                                           KeyRow{"q_screen3_button1", 'q', 1, 3, 1, false},
                                           KeyRow{"x_screen3_button8", 'x', 1, 3, 8, false},
                                           KeyRow{"A_screen4_button1", 'A', 1, 4, 1, false},
                                           KeyRow{"K_screen5_button3", 'K', 1, 5, 3, false},
                                           KeyRow{"X_screen6_button8", 'X', 1, 6, 8, false},
                                           KeyRow{"digit1_remote2", '1', 2, 2, 1, false},
                                           KeyRow{"digit5_remote2", '5', 2, 2, 5, false},
                                           KeyRow{"digit8_remote6", '8', 6, 6, 8, false},
                                           KeyRow{"digit_remote0_nothing", '5', 0, 0, 0, false},
                                           KeyRow{"digit_remote_negative_nothing", '3', -1, 0, 0, false},
                                           KeyRow{"digit0_nothing", '0', 1, 0, 0, false},
                                           KeyRow{"digit9_nothing", '9', 1, 0, 0, false},
                                           KeyRow{"y_nothing", 'y', 1, 0, 0, false},
                                           KeyRow{"Y_nothing", 'Y', 1, 0, 0, false},
                                           KeyRow{"blank_nothing", ' ', 1, 0, 0, false},
                                           KeyRow{"return_nothing", '\r', 1, 0, 0, false},
                                           KeyRow{"z_closes", 'z', 1, 0, 0, true},
                                           KeyRow{"Z_closes", 'Z', 1, 0, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct GuardRow {
    const char* name;
    QString target;
    bool allowed;
};

class GuardTable : public ::testing::TestWithParam<GuardRow> {};

TEST_P(GuardTable, DecidesTheTarget)
{
    QTemporaryDir folder;
    writeTextFile(folder.filePath(QStringLiteral("page.htm")), {QStringLiteral("<html></html>")});
    QString target = GetParam().target;
    target.replace(QStringLiteral("{folder}"), folder.path());
    EXPECT_EQ(NavigationGuard::allows(target), GetParam().allowed) << target.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Guard, GuardTable,
    ::testing::Values(GuardRow{"script_link", QStringLiteral("javascript:goBack()"), true},
                      GuardRow{"script_link_capitals", QStringLiteral("JavaScript:select()"), true},
                      GuardRow{"script_link_all_capitals", QStringLiteral("JAVASCRIPT:init()"), true},
                      GuardRow{"script_prefix_only", QStringLiteral("javascript:"), true},
                      GuardRow{"script_without_colon", QStringLiteral("javascript"), false},
                      GuardRow{"existing_file", QStringLiteral("{folder}/page.htm"), true},
                      GuardRow{"missing_file", QStringLiteral("{folder}/gone.htm"), false},
                      GuardRow{"folder_is_not_a_file", QStringLiteral("{folder}"), false},
                      GuardRow{"web_address", QStringLiteral("http://www.example.com/"), false},
                      GuardRow{"file_url_text", QStringLiteral("file://{folder}/page.htm"), false},
                      GuardRow{"empty", QString(), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GuardTarget, FileUrlsBecomeLocalPathsAndOtherUrlsStayText)
{
    EXPECT_EQ(NavigationGuard::targetText(QUrl(QStringLiteral("file:///kiosk/news/today.htm"))),
              QStringLiteral("/kiosk/news/today.htm"));
    EXPECT_EQ(NavigationGuard::targetText(QUrl(QStringLiteral("file:///kiosk/a%20b/c.htm"))),
              QStringLiteral("/kiosk/a b/c.htm"));
    EXPECT_EQ(NavigationGuard::targetText(QUrl(QStringLiteral("javascript:goBack()"))),
              QStringLiteral("javascript:goBack()"));
    EXPECT_EQ(NavigationGuard::targetText(QUrl(QStringLiteral("http://www.example.com/"))),
              QStringLiteral("http://www.example.com/"));
    EXPECT_EQ(NavigationGuard::targetText(QUrl()), QString());
}

TEST(StartsWith, ComparesTheLowerCasedBeginning)
{
    EXPECT_TRUE(NavigationGuard::startsWith(QStringLiteral("JavaScript:x"), QStringLiteral("javascript:")));
    EXPECT_FALSE(NavigationGuard::startsWith(QStringLiteral("java"), QStringLiteral("javascript:")));
    EXPECT_TRUE(NavigationGuard::startsWith(QStringLiteral("anything"), QString()));
}

struct CheckRow {
    const char* name;
    QVariant inspection;
    QString reason;
};

QVariantMap inspection(bool document, bool frames, int count, bool nav, bool con)
{
    return {{QStringLiteral("document"), document}, {QStringLiteral("frames"), frames},
            {QStringLiteral("count"), count},       {QStringLiteral("nav"), nav},
            {QStringLiteral("con"), con}};
}

class CheckTable : public ::testing::TestWithParam<CheckRow> {};

TEST_P(CheckTable, GivesTheFirstFailure)
{
    EXPECT_EQ(PageCheck::failureReason(GetParam().inspection), GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    PageCheck, CheckTable,
    ::testing::Values(CheckRow{"made_page_passes", inspection(true, true, 2, true, true), QString()},
                      CheckRow{"no_answer", QVariant(), QStringLiteral("no document")},
                      CheckRow{"answer_not_a_map", QVariant(QStringLiteral("page")), QStringLiteral("no document")},
                      CheckRow{"no_document", inspection(false, false, 0, false, false),
                               QStringLiteral("no document")},
                      CheckRow{"no_frames", inspection(true, false, 0, false, false), QStringLiteral("no frames")},
                      CheckRow{"zero_frames", inspection(true, true, 0, false, false), QStringLiteral("0 frames")},
                      CheckRow{"one_frame", inspection(true, true, 1, true, false), QStringLiteral("1 frames")},
                      CheckRow{"three_frames", inspection(true, true, 3, true, true), QStringLiteral("3 frames")},
                      CheckRow{"nav_before_con", inspection(true, true, 2, false, false),
                               QStringLiteral("no nav frame")},
                      CheckRow{"no_con", inspection(true, true, 2, true, false), QStringLiteral("no con frame")}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

struct MouseRow {
    const char* name;
    float x;
    float y;
    QPoint client;
};

class MouseTable : public ::testing::TestWithParam<MouseRow> {};

TEST_P(MouseTable, PutsThePointerAtTheRoundedClientPoint)
{
    QWidget window;
    window.setGeometry(40, 30, 200, 100);
    Mouse::setMousePosition(&window, GetParam().x, GetParam().y);
    EXPECT_EQ(QCursor::pos(), window.mapToGlobal(GetParam().client));
}

INSTANTIATE_TEST_SUITE_P(Mouse, MouseTable,
                         ::testing::Values(MouseRow{"whole_numbers", 10.0f, 20.0f, QPoint(10, 20)},
                                           MouseRow{"halves_to_even_down", 10.5f, 20.5f, QPoint(10, 20)},
                                           MouseRow{"halves_to_even_up", 11.5f, 21.5f, QPoint(12, 22)},
                                           MouseRow{"beyond_the_window", 400.0f, 200.0f, QPoint(400, 200)},
                                           MouseRow{"negative", -3.5f, -0.4f, QPoint(-4, 0)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Mouse, PointOutsideThe32BitRangeIsAnOverflow)
{
    QWidget window;
    try {
        Mouse::setMousePosition(&window, 3.0e9f, 0.0f);
        FAIL() << "no failure";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), Errors::Overflow);
    }
}

} // namespace
