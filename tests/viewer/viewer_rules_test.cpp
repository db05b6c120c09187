// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
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
    char key;
    int remoteScreen, screen, button;
} kKeys[] = {
    {'a', 1, 1, 1}, {'h', 1, 1, 8}, {'i', 1, 2, 1}, {'p', 1, 2, 8}, {'q', 1, 3, 1},  {'x', 1, 3, 8},  {'A', 1, 4, 1},
    {'K', 1, 5, 3}, {'X', 1, 6, 8}, {'1', 2, 2, 1}, {'8', 6, 6, 8}, {'5', 0, 0, 0},  {'3', -1, 0, 0}, {'0', 1, 0, 0},
    {'9', 1, 0, 0}, {'y', 1, 0, 0}, {'Y', 1, 0, 0}, {' ', 1, 0, 0}, {'\r', 1, 0, 0}, {'z', 1, 0, 0},  {'Z', 1, 0, 0},
};

TEST(ViewerKeys, EachKeyStandsForItsScreenAndButton)
{
    for (const auto& row : kKeys) {
        const ViewerKeys::KeyCommand command = ViewerKeys::keyCommand(row.key, std::int16_t(row.remoteScreen));
        SCOPED_TRACE(testing::Message() << "key " << int(row.key) << " remote " << row.remoteScreen);
        EXPECT_EQ(command.screen, row.screen);
        EXPECT_EQ(row.screen ? command.button : 0, row.button);
        EXPECT_EQ(command.closesViewer, row.key == 'z' || row.key == 'Z');
    }
}

// {folder} holds page.htm.
const struct {
    const char* target;
    bool allowed;
} kTargets[] = {
    {"JavaScript:select()", true}, {"JAVASCRIPT:", true}, {"javascript", false},
    {"{folder}/page.htm", true},   {"{folder}", false},   {"http://www.example.com/", false},
};

TEST(NavigationGuard, AllowsScriptLinksAndExistingFilesOnly)
{
    QTemporaryDir folder;
    TestSession session;
    writeTextFile(folder.filePath(QStringLiteral("page.htm")), {QStringLiteral("<html></html>")});
    for (const auto& row : kTargets)
        EXPECT_EQ(
            NavigationGuard::allows(session.session(),
                                    QString::fromLatin1(row.target).replace(QStringLiteral("{folder}"), folder.path())),
            row.allowed)
            << row.target;
    EXPECT_EQ(NavigationGuard::targetText(QUrl(QStringLiteral("file:///k/a%20b/c.htm"))),
              QStringLiteral("/k/a b/c.htm"));
    EXPECT_EQ(NavigationGuard::targetText(QUrl(QStringLiteral("http://www.example.com/"))),
              QStringLiteral("http://www.example.com/"));
}

TEST(PageCheck, NoAnswerNoDocumentAndNoFrames)
{
    const auto page = [](bool document, bool frames) {
        return QVariantMap{{"document", document}, {"frames", frames}, {"count", 2}, {"nav", true}, {"con", true}};
    };
    EXPECT_EQ(PageCheck::failureReason(QVariant()), QStringLiteral("no document"));
    EXPECT_EQ(PageCheck::failureReason(page(false, true)), QStringLiteral("no document"));
    EXPECT_EQ(PageCheck::failureReason(page(true, false)), QStringLiteral("no frames"));
}

} // namespace
