// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/folder_state.h"
#include "support/kiosk_fixture.h"
#include "system/page_references.h"
#include "system/page_renaming.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Page sources whose references are written as {A} (the page alone), {B}
// ("folder\page") and {S} ("folder/page") for the page renamed; every other
// word stays as written. {E} is a non-ASCII letter in the file's encoding.
struct PageTemplate {
    QString path;
    QStringList lines;
};

const QList<PageTemplate> kPages = {
    {"news/today.zel",
     {"#branch", "#title Today{E}", "#button index Back", "#button {A} Itself", "#button sport\\today Sport"}},
    {"news/index.zel",
     {"#branch", "#title News{E}", "#button {A} Today", "#BUTTON {B} Today again", "#Button {S} Slash",
      "#button   {A}   spaced{E}  ", "#button sport\\today Not this one", "#button todayx Longer name",
      "#button News\\Today Capitals are no valid name", "#buttons today Another directive", "# #button today comment",
      "#para", "today", "#button {A}", "#button"}},
    {"sport/today.zel", {"#leaf", "#title Sport today{E}", "#para", "today news\\today"}}, // text, no reference
    {"sport/index.zel",
     {"#branch", "#button today Own today", "#button {B} News today{E}", "#button news/todayx Other"}},
    {"sel/pick.zel",
     {"#selector", "#title Pick{E}", "#item cat.jpg {B} Cat{E}", "#ITEM \"my news\\today.jpg\" {S} Quoted picture",
      "#item today.jpg today Own folder", "#item news\\today.jpg other\\x Picture only", "#item lone.jpg",
      "#item \"open.jpg news\\today Unmatched"}},
    {"root/root.zel", {"#root", "#button {B} News", "#button news\\index Index{E}"}},
};

struct Style {
    const char* name;
    bool utf8; // else Windows-1252
    QByteArray lineEnd;
};
const Style kStyles[] = {
    {"Windows-1252 CR LF", false, "\r\n"},
    {"Windows-1252 LF", false, "\n"},
    {"UTF-8 CR", true, "\r"},
    {"UTF-8 CR LF", true, "\r\n"},
};

// The made files of news\today, removed by a rename.
const QStringList kMadeFiles = {"news/today.htm", "news/today_con.htm", "news/today_nav.htm",
                                "news/images/today00001.jpg", "news/images/today00002.jpg"};

// Writes the page sources into the folder with the references to news\today written as forms gives them (the page
// alone, "folder\page", "folder/page"; formsOf: other forms for one page source), each at its path after renamed;
// the made files of news\today unless it was renamed, and other pages' files whose names begin alike.
void writePages(const QString& folder, const Style& style,
                const QStringList& forms = {"today", "news\\today", "news/today"},
                const QMap<QString, QString>& renamed = {}, const QMap<QString, QStringList>& formsOf = {})
{
    for (const PageTemplate& page : kPages) {
        const QStringList form = formsOf.value(page.path, forms);
        QByteArray bytes;
        for (QString line : page.lines) {
            line.replace("{A}", form[0]).replace("{B}", form[1]).replace("{S}", form[2]).replace("{E}", "\u00e9");
            bytes += (style.utf8 ? line.toUtf8() : line.toLatin1()) + style.lineEnd;
        }
        writeBytes(folder + renamed.value(page.path, page.path), bytes);
    }
    writeBytes(folder + "more/.keep", "");
    for (const QString& made : renamed.isEmpty() ? kMadeFiles : QStringList())
        writeBytes(folder + made, "made");
    for (const char* other :
         {"news/images/today000001.jpg", "news/images/todayx00001.jpg", "news/index.htm", "news/images/today.jpg"})
        writeBytes(folder + other, "other");
}

// Replaces text in a file of the folder.
void replaceIn(const QString& path, const QByteArray& before, const QByteArray& after)
{
    writeBytes(path, readBytes(path).replace(before, after));
}

class RenamingPages : public ::testing::Test {
protected:
    // Renames "folder/page" to "folder/page", or a folder when from names no page.
    PageRenaming::Result rename(const QString& from, const QString& to)
    {
        Session& session = kiosk.session.session();
        if (!from.contains('/'))
            return PageRenaming::renameFolder(session, kiosk.folder(), from, to);
        return PageRenaming::renamePage(session, kiosk.folder(), {from.section('/', 0, 0), from.section('/', 1)},
                                        {to.section('/', 0, 0), to.section('/', 1)});
    }
    // The kiosk folder's page sources anew, with what the replacements must keep: a mode other than the usual, a
    // link to a file outside the page folders and (for the superuser, who can make one) another owner.
    void writePagesKeepingAttributes()
    {
        QDir(kiosk.folder()).removeRecursively();
        writePages(kiosk.folder(), kStyles[1]);
        ::chmod(QFile::encodeName(kiosk.path("news/index.zel")), 0664);
        writeBytes(kiosk.path(".kept/sport-index.zel"), readBytes(kiosk.path("sport/index.zel")));
        QFile::remove(kiosk.path("sport/index.zel"));
        QFile::link("../.kept/sport-index.zel", kiosk.path("sport/index.zel"));
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(QFile::encodeName(kiosk.path("root/root.zel")), 65534, 65534), 0);
        }
    }

    int failAt = -1; // the number of the file operation to fail; -1: none
    int operations = 0;
    TemporaryKiosk kiosk{{}, {.fileFaults = [this](std::string_view, const std::string&) {
                             return (operations++ == failAt) ? EIO : 0;
                         }}};
};

// A rename rewrites exactly the references that name the page, in the form each was written in, in every page
// source (as #button and #item, "\" and "/", the page alone in its own folder, the directive in any letter case),
// and nothing else: every other byte of every file stays, in each encoding and line-end style. The made files and
// picture copies of the page are removed; other pages' are not. A move to another folder: references from the old
// folder that named the page alone now name its folder; the moved page's own references to its old neighbours
// name their folder, and its reference to itself stays alone. Renaming a folder moves every page in it: "folder\page"
// references to any of them are rewritten, references between its pages by page alone stay.
TEST_F(RenamingPages, RenameMoveAndFolderRenameRewriteExactlyTheReferences)
{
    const struct {
        const char *name, *from, *to;
        QList<int> styles; // of kStyles
        QMap<QString, QString> renamed;
        QStringList forms;
        QMap<QString, QStringList> formsOf = {};
        std::function<void(const QString& want)> alsoChanged = {};
    } rows[] = {
        {"rename",
         "news/today",
         "news/heute",
         {0, 1, 2, 3},
         {{"news/today.zel", "news/heute.zel"}},
         {"heute", "news\\heute", "news/heute"}},
        {"move",
         "news/today",
         "more/today",
         {0},
         {{"news/today.zel", "more/today.zel"}},
         {"today", "more\\today", "more/today"},
         {{"news/index.zel", {"more\\today", "more\\today", "more/today"}}},
         [](const QString& want) {
             replaceIn(want + "more/today.zel", "#button index Back", "#button news\\index Back");
         }},
        {"folder rename",
         "news",
         "latest",
         {3},
         {{"news/today.zel", "news/today.zel"}},
         {"today", "latest\\today", "latest/today"},
         {},
         [](const QString& want) {
             replaceIn(want + "root/root.zel", "news\\index", "latest\\index");
             // A reference into the folder to a page it lacks still points into it.
             replaceIn(want + "sport/index.zel", "news/todayx", "latest/todayx");
             QFile::remove(want + "news/index.htm"); // made files of the pages moved
             QDir().rename(want + "news", want + "latest");
         }},
    };
    for (const auto& row : rows)
        for (const int style : row.styles) {
            SCOPED_TRACE(std::string(row.name) + ", " + kStyles[style].name);
            QDir(kiosk.folder()).removeRecursively();
            writePages(kiosk.folder(), kStyles[style]);
            const auto result = rename(row.from, row.to);
            ASSERT_TRUE(result.done) << result.problem.toStdString();
            QTemporaryDir want;
            writePages(want.path() + "/", kStyles[style], row.forms, row.renamed, row.formsOf);
            if (row.alsoChanged)
                row.alsoChanged(want.path() + "/");
            EXPECT_EQ(folderState(kiosk.folder()), folderState(want.path()));
            EXPECT_TRUE(kiosk.messages.texts().isEmpty());
            EXPECT_EQ(result.moved.size(), row.from == std::string_view("news") ? 2 : 1);
        }
}

// A failure at any file operation of a rename, a move or a folder rename (writing, syncing, closing, renaming a
// temporary, removing the old page source, renaming the folder) leaves every file as it was, bytes, modes, owners
// and links, and says which file failed.
TEST_F(RenamingPages, FailureAtAnyStepLeavesEveryFileAsItWas)
{
    for (const auto& [from, to] :
         {std::pair{"news/today", "news/heute"}, {"news/today", "more/today"}, {"news", "latest"}}) {
        // Counts the operations of a rename that succeeds, then fails each in turn.
        writePagesKeepingAttributes();
        operations = 0;
        failAt = -1;
        ASSERT_TRUE(rename(from, to).done) << to;
        EXPECT_EQ(entryState(kiosk.path("sport/index.zel")), "link to ../.kept/sport-index.zel");
        const int total = operations;
        ASSERT_GT(total, 10) << to;
        for (failAt = 0; failAt < total; ++failAt) {
            SCOPED_TRACE(std::string(to) + " failing operation " + std::to_string(failAt));
            writePagesKeepingAttributes();
            const std::map<std::string, std::string> state = folderState(kiosk.folder());
            operations = 0;
            const auto result = rename(from, to);
            EXPECT_FALSE(result.done);
            EXPECT_TRUE(result.problem.startsWith("Nothing was renamed: " + kiosk.folder())
                        && result.problem.endsWith(": Input/output error"))
                << result.problem.toStdString();
            EXPECT_EQ(folderState(kiosk.folder()), state);
        }
        failAt = -1;
    }
}

// New names follow the name rule (its message is shown); a page or folder in the way, a missing folder and the
// root page are refused with a reason; nothing changes. A name without "/" is a folder's.
TEST_F(RenamingPages, RefusedRenamesChangeNothing)
{
    writePages(kiosk.folder(), kStyles[0]);
    writeBytes(kiosk.path("news/heute_con.zel"), "#leaf\r\n");
    const std::map<std::string, std::string> before = folderState(kiosk.folder());
    const QString k = kiosk.folder();
    const struct Row {
        const char *name, *from, *to;
        QString message; // shown by the name rule
        QString problem;
    } rows[] = {
        {"capital letter", "news/today", "news/Heute", "Heute is not a valid page name", ""},
        {"invalid folder", "news/today", "my news/today", "my news is not a valid folder name", ""},
        {"page exists", "news/today", "news/index", "",
         "Page index can not be used in folder news: " + k + "news/index.zel is there"},
        {"made files clash", "news/today", "news/heute", "",
         "Page heute can not be used in folder news: " + k + "news/heute_con.zel is there"},
        {"no such folder", "news/today", "gone/today", "", "There is no folder gone"},
        {"no such page", "news/gone", "news/here", "", "There is no page gone in folder news"},
        {"root page", "root/root", "root/start", "",
         "The root page keeps its name and folder: every Home button leads to root\\root."},
        {"root folder", "root", "start", "", "The root folder keeps its name: every Home button leads to root\\root."},
        {"folder exists", "news", "sport", "", "There is already a folder sport"},
        {"invalid new folder", "news", "News", "News is not a valid folder name", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kiosk.messages.clear();
        const auto result = rename(row.from, row.to);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.problem, row.problem);
        EXPECT_EQ(kiosk.messages.texts().size(), row.message.isEmpty() ? 0 : 1);
        if (!row.message.isEmpty()) {
            EXPECT_TRUE(kiosk.messages.texts().value(0).startsWith(row.message))
                << kiosk.messages.texts().value(0).toStdString();
        }
        EXPECT_EQ(folderState(kiosk.folder()), before);
    }
}

// The lines that name a page, by page source and line, as the author wrote them.
TEST_F(RenamingPages, ReferencesListEveryLineNamingThePage)
{
    writePages(kiosk.folder(), kStyles[2]);
    QStringList found;
    for (const auto& line : PageReferences::linesNaming(kiosk.folder(), {"news", "today"}))
        found.append(QDir(kiosk.folder()).relativeFilePath(line.pageSource) + ":" + QString::number(line.line) + ": "
                     + line.text);
    EXPECT_EQ(found, (QStringList{
                         "news/index.zel:3: #button today Today",
                         "news/index.zel:4: #BUTTON news\\today Today again",
                         "news/index.zel:5: #Button news/today Slash",
                         "news/index.zel:6: #button   today   spaced\u00e9  ",
                         "news/index.zel:14: #button today",
                         "news/today.zel:4: #button today Itself",
                         "root/root.zel:2: #button news\\today News",
                         "sel/pick.zel:3: #item cat.jpg news\\today Cat\u00e9",
                         "sel/pick.zel:4: #ITEM \"my news\\today.jpg\" news/today Quoted picture",
                         "sport/index.zel:3: #button news\\today News today\u00e9",
                     }));
}

// Long lines without blanks, quotes or line ends where the scan looks for them: every reference after them is
// found on its own line, and none is made up from a later line.
TEST(ReferenceSpots, LongLinesHideNoReferenceAndLendNone)
{
    const QByteArray x(100000, 'x');
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList spots; // "line:reference"
    } rows[] = {
        {"a directive without a blank", "#leaf\n#" + x + "\n#button a Text", {"3:a"}},
        {"a directive name run on", "#leaf\r#button" + x + "\r#button b", {"3:b"}},
        {"an unclosed quote", "#selector\r\n#item \"" + x + "\r\n#item \"p q.jpg\" c Text\r\n", {"3:c"}},
        {"a picture name to the end of the line", "#selector\n#item " + x + "\n#item p.jpg d", {"3:d"}},
        {"a long reference", "#leaf\n#button " + x + " Text\n#button e", {"2:" + QString(x), "3:e"}},
    };
    for (const auto& row : rows) {
        QStringList spots;
        for (const PageReferences::Spot& spot : PageReferences::spotsIn(row.bytes))
            spots.append(QString::number(spot.line) + ":" + row.bytes.mid(spot.start, spot.length));
        EXPECT_EQ(spots, row.spots) << row.name;
    }
}

} // namespace
