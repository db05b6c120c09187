// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Page types, the paths derived from a page source, and the rules for names and numbers an author types.
#include "support/kiosk_fixture.h"

#include "pages/page_paths.h"
#include "pages/page_types.h"
#include "pages/support.h"
#include "platform/problem.h"
#include "text/open_text_file.h"

#include <gtest/gtest.h>

namespace {

// A file without lines, or one whose first line is not exactly a page type,
// is invalid; the next line is "body" (the four page types, and one in
// capitals, are the made pages of page_files_test.cpp).
TEST(ReadPageType, OnlyAnExactPageTypeLineIsRecognised)
{
    TemporaryKiosk kiosk;
    for (const QByteArray& bytes : {QByteArray(), QByteArray("#leaf \r\nbody\r\n")}) {
        writeBytes(kiosk.path("page.zel"), bytes);
        TextFiles::InputFile file(kiosk.path("page.zel"));
        EXPECT_EQ(PageTypes::readPageType(file), PageType::Invalid) << bytes.constData();
        EXPECT_EQ(file.atEnd() ? QString() : file.lineInput(), bytes.isEmpty() ? "" : "body");
    }
}

// The html path of a page source is cut at the last dot of the whole path,
// even one in a folder's name. A page source that has gone is still split;
// one without an extension is refused (the parts of a good one name the made
// pages and the maker's progress lines).
TEST(PagePaths, HtmlPathAndRefusedPageSources)
{
    EXPECT_EQ(PageTypes::pageHtmlPath("/k/v1.2/page"), "/k/v1.htm");
    EXPECT_EQ(PageTypes::pageHtmlPath("/k/v1.2/to.day.zel"), "/k/v1.2/to.day.htm");
    EXPECT_EQ(raisedNumber([] { PageTypes::stripExtension("/k/noext"); }), 5);
    TemporaryKiosk kiosk;
    const QString noExtension = kiosk.path("v1.0/page");
    writeTextFile(noExtension, {});
    QString folderName, pageName; // both splits share these checks
    PagePaths::splitPageSourcePath(kiosk.path("news/gone.zel"), folderName, pageName);
    EXPECT_EQ(folderName + "|" + pageName, "news|gone") << "a page source that has gone is still named";
    EXPECT_EQ(raisedNumber([&] { PagePaths::splitPageSourcePath(noExtension, folderName, pageName); }), 5);
}

// Lower case letters, digits, '_' and '-' only; no other letter. The message
// (also for capitals) is insert_dialog_test.cpp's.
TEST(NameRule, FolderAndPageNamesShareTheRule)
{
    const std::pair<QString, bool> rows[] = {{"my_page-2", true}, {QString::fromUtf8("caf\xc3\xa9"), false}};
    for (const auto& [text, valid] : rows) {
        TestSession session;
        ProblemBoxes boxes(session.messages);
        EXPECT_EQ(Support::isValidFolderName(text, boxes), valid);
        EXPECT_EQ(Support::isValidPageName(text, boxes), valid);
    }
}

// A name is stored as a file name (a folder), or gives file names up to "<page>00001.jpg" (a page): 255 bytes
// at most. A longer name is refused with a message of the rule's form, and it stays the only message.
TEST(NameRule, NamesLongerThanTheFileSystemStoresAreRefused)
{
    const struct Row {
        const char* name;
        int length;
        bool page, valid;
    } rows[] = {
        {"folder of 255 characters", 255, false, true},  {"folder of 256 characters", 256, false, false},
        {"folder of 300 characters", 300, false, false}, {"page of 246 characters", 246, true, true},
        {"page of 247 characters", 247, true, false},    {"page of 300 characters", 300, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestSession session;
        ProblemBoxes boxes(session.messages);
        const QString name(row.length, u'x');
        EXPECT_EQ(row.page ? Support::isValidPageName(name, boxes) : Support::isValidFolderName(name, boxes),
                  row.valid);
        const QString kind = row.page ? "page" : "folder";
        EXPECT_EQ(session.messages.texts(),
                  row.valid ? QStringList()
                            : QStringList{name + " is not a valid " + kind + " name\r\nA valid " + kind
                                          + " name may be at most " + (row.page ? "246" : "255") + " characters long"});
    }
}

// In the range, its ends included; anything else (also what is no number) falls back.
TEST(IntegerInRange, FallsBackOnAnythingOutsideTheRange)
{
    const std::pair<const char*, int> rows[] = {{"50", 50}, {"1", 1}, {"100", 100}, {"0", 0}, {"101", 0}, {"abc", 0}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(Support::integerInRange(text, 1, 100, 0), expected) << text;
}

} // namespace
