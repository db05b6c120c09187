// The viewer's rules on their own: what each key stands for, what the guard
// lets through, and the page check's reasons no made page can give.
#include "support/kiosk_fixture.h"

#include "viewer/navigation_guard.h"
#include "viewer/page_check.h"
#include "viewer/viewer_keys.h"

#include <QUrl>
#include <QVariantMap>
#include <gtest/gtest.h>

namespace {

// Key and "remotescreen", then the screen and button the key stands for
// (screen 0: nothing); z and Z close the viewer.
const struct {
    const char* name;
    char key;
    int remoteScreen, screen, button;
} kKeys[] = {
    {"a", 'a', 1, 1, 1},  {"h", 'h', 1, 1, 8},  {"i", 'i', 1, 2, 1},        {"p", 'p', 1, 2, 8},
    {"q", 'q', 1, 3, 1},  {"x", 'x', 1, 3, 8},  {"A", 'A', 1, 4, 1},        {"K", 'K', 1, 5, 3},
    {"X", 'X', 1, 6, 8},  {"1_remote2", '1', 2, 2, 1}, {"8_remote6", '8', 6, 6, 8}, {"5_remote0", '5', 0, 0, 0},
    {"3_remote_negative", '3', -1, 0, 0}, {"0", '0', 1, 0, 0}, {"9", '9', 1, 0, 0}, {"y", 'y', 1, 0, 0},
    {"Y", 'Y', 1, 0, 0},  {"blank", ' ', 1, 0, 0}, {"return", '\r', 1, 0, 0}, {"z", 'z', 1, 0, 0}, {"Z", 'Z', 1, 0, 0},
};

TEST(ViewerKeys, EachKeyStandsForItsScreenAndButton)
{
    for (const auto& row : kKeys) {
        const ViewerKeys::KeyCommand command = ViewerKeys::keyCommand(row.key, std::int16_t(row.remoteScreen));
        EXPECT_EQ(command.screen, row.screen) << row.name;
        EXPECT_EQ(row.screen ? command.button : 0, row.button) << row.name;
        EXPECT_EQ(command.closesViewer, row.key == 'z' || row.key == 'Z') << row.name;
    }
}

// {folder} holds page.htm.
const struct {
    const char* name;
    const char* target;
    bool allowed;
} kTargets[] = {
    {"script_link_capitals", "JavaScript:select()", true}, {"script_prefix_only", "JAVASCRIPT:", true},
    {"script_without_colon", "javascript", false},         {"existing_file", "{folder}/page.htm", true},
    {"folder_is_not_a_file", "{folder}", false},           {"file_url_text", "file://{folder}/page.htm", false},
    {"empty", "", false},
};

TEST(NavigationGuard, AllowsScriptLinksAndExistingFilesOnly)
{
    QTemporaryDir folder;
    writeTextFile(folder.filePath(QStringLiteral("page.htm")), {QStringLiteral("<html></html>")});
    for (const auto& row : kTargets)
        EXPECT_EQ(NavigationGuard::allows(QString::fromLatin1(row.target).replace(QStringLiteral("{folder}"), folder.path())),
                  row.allowed) << row.name;
    EXPECT_EQ(NavigationGuard::targetText(QUrl(QStringLiteral("file:///k/a%20b/c.htm"))), QStringLiteral("/k/a b/c.htm"));
}

TEST(PageCheck, NoAnswerNoDocumentAndNoFrames)
{
    const auto page = [](bool document, bool frames) {
        return QVariantMap{{QStringLiteral("document"), document}, {QStringLiteral("frames"), frames},
                           {QStringLiteral("count"), 2}, {QStringLiteral("nav"), true}, {QStringLiteral("con"), true}};
    };
    EXPECT_EQ(PageCheck::failureReason(QVariant()), QStringLiteral("no document"));
    EXPECT_EQ(PageCheck::failureReason(page(false, true)), QStringLiteral("no document"));
    EXPECT_EQ(PageCheck::failureReason(page(true, false)), QStringLiteral("no frames"));
    EXPECT_EQ(PageCheck::failureReason(page(true, true)), QString());
}

} // namespace
