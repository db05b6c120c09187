// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/runtime_error.h"
#include "fileio/atomic_file.h"
#include "pages/files.h"
#include "pages/page_paths.h"
#include "pages/page_schedule.h"
#include "pages/page_types.h"
#include "pages/support.h"
#include "platform/problem.h"
#include "support/kiosk_fixture.h"
#include "text/open_text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <gtest/gtest.h>

namespace {

// The file helpers on a real folder: what they answer, what they copy, the
// error numbers they raise.
class FilesOnDisk : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return QDir::toNativeSeparators(m_dir.filePath(relative)); }
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }
    QTemporaryDir m_dir;
};

TEST_F(FilesOnDisk, ExistenceCreateFolderAndCopyIntoAMissingFolder)
{
    writeBytes(path("news/today.zel"), "#leaf\r\n");
    EXPECT_TRUE(Files::fileExists(path("news/today.zel")) && Files::folderExists(path("news")));
    EXPECT_FALSE(Files::fileExists(path("news")) || Files::fileExists(QString())
                 || Files::folderExists(path("news/today.zel")));
    Files::createFolder(path("sport"));
    EXPECT_TRUE(Files::folderExists(path("sport")));
    EXPECT_EQ(raisedNumber([&] { Files::createFolder(path("sport")); }), 58);
    EXPECT_EQ(raisedNumber([&] { Files::createFolder(path("a/b")); }), 76);
    EXPECT_EQ(raisedNumber([&] { Files::copyFolderContents(path("news"), path("missing")); }), 76);
}

// A failed write keeping the old copy: the maker's table in page_maker_test.cpp.
TEST_F(FilesOnDisk, CopyFileReplacesAndKeepsBytes)
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    writeBytes(path("a.jpg"), bytes);
    writeBytes(path("b.jpg"), "older");
    EXPECT_EQ(raisedNumber([&] { Files::copyFile(path("none.jpg"), path("c.jpg"), nullptr); }), 53);
    EXPECT_EQ(raisedNumber([&] { Files::copyFile(path("a.jpg"), path("no/c.jpg"), nullptr); }), 76);
    Files::copyFile(path("a.jpg"), path("b.jpg"), nullptr);
    EXPECT_EQ(readBytes(path("b.jpg")), bytes);
    Files::copyFile(path("a.jpg"), path("a.jpg"), nullptr); // onto itself: nothing is lost
    EXPECT_EQ(readBytes(path("a.jpg")), bytes);
}

// A file (a page, a picture copy) whose temporary cannot be made beside it, or a link at it that leads to no file
// to replace (or any link, for the program's own records): the failure names the file the author knows, with the
// reason, never the temporary, and leaves the link as it was.
TEST_F(FilesOnDisk, AFailureToStartAReplacementNamesItsTargetNotItsTemporary)
{
    writeBytes(path("file"), "not a folder");
    const QMap<QString, QString> links = {{"dangling.htm", "gone.htm"},
                                          {"loop.htm", "loop.htm"},
                                          {"device.htm", "/dev/null"},
                                          {"folder.htm", "/"},
                                          {"record", "file"}};
    for (const auto& [link, target] : links.asKeyValueRange())
        QFile::link(target, path(link));
    const struct Row {
        const char* name;
        const char* target;
        int number;
        const char* reason;
        fileio::LinkAtTarget links = fileio::LinkAtTarget::Follow;
    } rows[] = {
        {"missing folder", "news/today.htm", 76, "No such file or directory"},
        {"a file where the folder should be", "file/today.htm", 75, "Not a directory"},
        {"a link to a missing file", "dangling.htm", 76, "is a symbolic link to a missing file"},
        {"a link in a loop", "loop.htm", 75, "is a symbolic link in a loop"},
        {"a link to a device", "device.htm", 75, "is a symbolic link to something that is not a regular file"},
        {"a link to a folder", "folder.htm", 75, "is a symbolic link to something that is not a regular file"},
        {"a link at a record of the program's own", "record", 75, "is a symbolic link", fileio::LinkAtTarget::Refuse},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            Errors::translatingFileErrors(
                [&] { fileio::replaceFile(path(row.target).toStdString(), "<html>", nullptr, row.links); });
            ADD_FAILURE() << "no failure";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), row.number);
            EXPECT_EQ(error.description(),
                      Errors::standardDescription(row.number) + ": " + path(row.target) + " (" + row.reason + ")");
        }
    }
    for (const QString& link : links.keys())
        EXPECT_TRUE(QFileInfo(path(link)).isSymLink()) << link.toStdString();
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"dangling.htm", "device.htm", "file", "folder.htm", "loop.htm", "record"}))
        << "no temporary left";
    EXPECT_EQ(readBytes(path("file")), "not a folder");
}

TEST_F(FilesOnDisk, NamesAndFoldersOfPaths)
{
    writeBytes(path("photo.large.jpg"), "x");
    writeBytes(path("readme"), "x");
    EXPECT_EQ(Files::fileExtension(path("photo.large.jpg")) + Files::fileExtension(path("readme")), "jpgreadme");
    EXPECT_EQ(raisedNumber([&] { Files::fileNameOf(path("gone.jpg")); }), 53);
    // Picture names, by text alone: only the last extension counts.
    for (const char* name : {"a.b.jpg", "photo.jpg.PNG", "x.HEIC", "x.tiff", "x.webp", "x.avif"})
        EXPECT_TRUE(Files::hasPictureExtension(name)) << name;
    for (const char* name : {"photo.png.txt", "jpg", "photo.jpgx", "photo.", "photo.jpe", "x.svg"})
        EXPECT_FALSE(Files::hasPictureExtension(name)) << name;
    // The parent and last folder are taken from the text alone.
    const QString sep = QDir::separator(), news = sep + "kiosk" + sep + "news";
    EXPECT_EQ(Files::parentFolderOf(sep + "photo.jpg"), sep);
    EXPECT_EQ(Files::parentFolderOf("photo.jpg"), QString());
    EXPECT_EQ(Files::lastFolderName(news + sep + "photo.jpg") + Files::lastFolderName(news + sep), "newsnews");
    EXPECT_THROW(Files::lastFolderName("photo.jpg"), RuntimeError);
}

// The tools' way of staging: their own temporary name, locked until the
// rename, so that a cleaner never takes a working run's file for abandoned.
TEST_F(FilesOnDisk, LockedStagedFileHoldsItsLockUntilRenamed)
{
    const std::string target = path("news1.cab").toStdString();
    {
        fileio::StagedFile file(target, {".news1.cab.", true});
        fileio::writeAll(file.descriptor(), "MSCF", target);
        file.finish();
        EXPECT_TRUE(fileio::heldLocked(file.temporary()));
        file.commit();
        fileio::StagedFile dropped(target, {".news1.cab.", true});
    }
    EXPECT_EQ(readBytes(path("news1.cab")), "MSCF");
    EXPECT_EQ(entries(), QStringList{"news1.cab"});
}

// Page types, the paths derived from a page source, and the rules for names and numbers an author types.
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

namespace {

// #show lines read into a schedule, judged at moments of the kiosk's clock
// (2026-12-07 is a Monday); a wrong line named by its number, and then
// always on show.
TEST(PageSchedule, ShowLinesAreReadAndJudgedByTheClock)
{
    const struct {
        const char* name;
        QString lines; // "|" between them
        int errorLine; // 0: none
        const char* error;
        QString on, off; // moments, "|" between them
    } rows[] = {
        {"no show lines", "#leaf|#para", 0, "", "2000-01-01 00:00", ""},
        {"from, time", "#leaf|#show from 2026-12-01 10:00", 0, "", "2026-12-01 10:00", "2026-12-01 09:59"},
        {"until a day: through its end", "#leaf|#SHOW until 2026-12-24", 0, "", "2026-12-24 23:59", "2026-12-25 00:00"},
        {"range on one line", "#leaf|#show from 2026-12-01 until 2026-12-24 18:00", 0, "", "2026-12-24 17:59",
         "2026-11-30 23:59|2026-12-24 18:00"},
        {"the later from and the earlier until count",
         "#leaf|#show from 2026-12-01|#show from 2026-12-03|#show until 2026-12-20|#show until 2026-12-28", 0, "",
         "2026-12-03 00:00", "2026-12-02 12:00|2026-12-21 00:00"},
        {"weekly times add up, with the dates",
         "#branch|#show Mon-Fri 11:30-14:00|#show Sat 10:00-14:00|#show until 2026-12-31", 0, "",
         "2026-12-07 11:30|2026-12-12 10:00", "2026-12-07 14:00|2026-12-13 12:00|2027-01-04 12:00"},
        {"past midnight", "#leaf|#show Fri 22:00-02:00", 0, "", "2026-12-11 23:00|2026-12-12 01:59",
         "2026-12-12 02:00|2026-12-11 01:00"},
        {"31 February", "#leaf|#show from 2026-02-31|#show Mon 10:00-11:00", 2, "\"2026-02-31\" is no date",
         "2026-12-08 12:00", ""},
        {"ends before it starts", "#leaf|#show from 2026-12-24|#show until 2026-12-01", 3,
         "it ends at 2026-12-02 00:00, not after it starts at 2026-12-24 00:00", "2026-12-30 12:00", ""},
        {"unknown day", "#leaf|#show Mon-Fry 10:00-12:00", 2, "\"Mon-Fry 10:00-12:00\" is not of the form",
         "2026-12-12 09:00", ""},
        {"nothing given", "#leaf|#show", 2, "no date or time given", "", ""},
        {"hour 25", "#leaf|#show from 2026-12-01 25:00", 2, "\"2026-12-01 25:00\" is no date", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QList<PageSchedule::LineError> errors;
        const PageSchedule schedule = PageSchedule::ofLines(row.lines.split('|'), &errors);
        ASSERT_EQ(errors.size(), row.errorLine ? 1 : 0);
        if (row.errorLine) {
            EXPECT_EQ(errors.front().line, row.errorLine);
            EXPECT_TRUE(errors.front().message.startsWith(QString::fromUtf8(row.error)))
                << errors.front().message.toStdString();
            EXPECT_TRUE(schedule.always());
        }
        const QStringList on = row.on.split('|', Qt::SkipEmptyParts), off = row.off.split('|', Qt::SkipEmptyParts);
        for (const QString& moment : on)
            EXPECT_TRUE(schedule.isOnShowAt(PageSchedule::parseMoment(moment))) << moment.toStdString();
        for (const QString& moment : off)
            EXPECT_FALSE(schedule.isOnShowAt(PageSchedule::parseMoment(moment))) << moment.toStdString();
        // What a made page carries (the kiosk reads it back) judges every moment alike.
        const PageSchedule made = PageSchedule::ofMadePage("<title>x</title>\r\n<meta name=\"kiosk-show\" content=\""
                                                           + schedule.toAttribute().toLatin1() + "\">\r\n");
        EXPECT_EQ(made.toAttribute(), schedule.toAttribute());
        for (const QString& moment : on)
            EXPECT_TRUE(made.isOnShowAt(PageSchedule::parseMoment(moment))) << moment.toStdString();
    }
}

// What the check asks of schedules: over, never on show, and the first
// moment a page's buttons all lead to pages off show.
TEST(PageSchedule, OverNeverAndStrandedMoments)
{
    const auto schedule = [](QStringList lines) {
        lines.prepend("#leaf");
        return PageSchedule::ofLines(lines);
    };
    const QDateTime monday = PageSchedule::parseMoment("2026-12-07 09:00");
    const PageSchedule lunch = schedule({"#show Mon-Fri 11:30-14:00"});
    const PageSchedule fair = schedule({"#show from 2026-12-10", "#show until 2026-12-24 18:00"});
    EXPECT_TRUE(fair.isOverAt(PageSchedule::parseMoment("2026-12-24 18:00")));
    EXPECT_FALSE(fair.isOverAt(monday) || lunch.isOverAt(monday));
    EXPECT_TRUE(lunch.everOnShow() && fair.everOnShow());
    EXPECT_FALSE(
        schedule({"#show from 2026-12-08 10:00 until 2026-12-08 12:00", "#show Mon 09:00-17:00"}).everOnShow());
    const struct {
        const char* name;
        PageSchedule page;
        QList<PageSchedule> targets;
        const char* stranded; // "" none
    } rows[] = {
        {"one target always on show", PageSchedule(), {lunch, PageSchedule()}, ""},
        {"no targets", PageSchedule(), {}, ""},
        {"lunch alone: off now", PageSchedule(), {lunch}, "2026-12-07 09:00"},
        {"the page off show while they are", lunch, {fair}, "2026-12-07 11:30"},
        {"both, until the fair opens", schedule({"#show from 2026-12-08"}), {lunch, fair}, "2026-12-08 00:00"},
        {"covered every minute", schedule({"#show Mon-Fri 12:00-13:00"}), {lunch}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<QDateTime> moment = PageSchedule::firstStrandedMoment(row.page, row.targets, monday);
        EXPECT_EQ(moment ? moment->toString("yyyy-MM-dd HH:mm").toStdString() : std::string(), row.stranded);
    }
}

} // namespace
