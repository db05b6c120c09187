// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// An author's file that goes or becomes something else just when the program
// reads it: one row per read point and fault. Never a fatal report, never a
// hang (ctest bounds each row), no lost text, and what is said names the file.
#include "check/kiosk_check.h"
#include "maker/page_maker.h"
#include "support/check_kiosk.h"
#include "support/executable_script.h"
#include "support/recording_problems.h"
#include "support/window_fixture.h"
#include "system/page_renaming.h"
#include "system/page_search.h"

#include <QProcess>
#include <sys/mount.h>

namespace {

enum class ReadPoint { Make, MakePicture, Check, PreviewMake, Rename, References, Search, Save };
const char* const kReadPoints[] = {"Make",   "MakePicture", "Check",  "PreviewMake",
                                   "Rename", "References",  "Search", "Save"};

// Each fault as a shell command on the file "$1" (the image tool of a make runs it too).
enum class Fault { Removed, Folder, Fifo, LinkToDevZero, Unreadable, DiskUnmounted };
const struct {
    const char* name;
    const char* command;
} kFaults[] = {
    {"Removed", "rm -f \"$1\""},
    {"Folder", "rm -f \"$1\" && mkdir \"$1\""},
    {"Fifo", "rm -f \"$1\" && mkfifo \"$1\""},
    {"LinkToDevZero", "rm -f \"$1\" && ln -s /dev/zero \"$1\""},
    // chmod 000 does not stop root, who meets a link that names itself instead.
    {"Unreadable", "if [ \"$(id -u)\" = 0 ]; then rm -f \"$1\" && ln -s \"$1\" \"$1\"; else chmod 000 \"$1\"; fi"},
    // The page folder is a disk of its own (tmpfs), unmounted lazily.
    {"DiskUnmounted", "umount -l \"${1%/*}\""},
};
// Rename, References and Search list the page sources and read them in one
// call: a page source removed in between is, to the read, a name without a
// file; a folder or an unmounted disk put there before the call only takes
// the page out of the list, so those rows are left out.
const char* const kRemovedAfterListing = "rm -f \"$1\" && ln -s \"$1.gone\" \"$1\"";

struct Row {
    ReadPoint point;
    Fault fault;
};

bool listsThenReads(ReadPoint point)
{
    return point == ReadPoint::Rename || point == ReadPoint::References || point == ReadPoint::Search;
}

std::vector<Row> allRows()
{
    std::vector<Row> rows;
    for (int point = 0; point < int(std::size(kReadPoints)); ++point)
        for (int fault = 0; fault < int(std::size(kFaults)); ++fault)
            if (!listsThenReads(ReadPoint(point))
                || (Fault(fault) != Fault::Folder && Fault(fault) != Fault::DiskUnmounted))
                rows.push_back({ReadPoint(point), Fault(fault)});
    return rows;
}

class ReadRaceTest : public WindowTest, public ::testing::WithParamInterface<Row> {
protected:
    void TearDown() override
    {
        WindowTest::TearDown();
        for (const QString& disk : m_disks)
            ::umount2(qPrintable(disk), MNT_DETACH);
    }
    // The kiosk system every row reads; page b is the one the fault hits.
    bool writeKiosk(TemporaryKiosk& system)
    {
        if (GetParam().fault == Fault::DiskUnmounted) {
            QDir().mkpath(system.path("news"));
            if (::mount("tmpfs", qPrintable(system.path("news")), "tmpfs", 0, "size=1m") != 0)
                return false;
            m_disks.append(system.path("news"));
        }
        writeTextFile(system.path("root/root.zel"),
                      {"#root", "#title Start", "#button news\\a A", "#button news\\b B"});
        writeTextFile(system.path("news/a.zel"), {"#leaf", "#title A"});
        writeTextFile(system.path("news/b.zel"), {"#leaf", "#title B", "#image town.jpg"});
        QFile::copy(ZEL_SOURCE_DIR "/examples/sample/root/town.jpg", system.path("news/town.jpg"));
        return true;
    }
    QString faultCommand() const
    {
        const Row row = GetParam();
        return row.fault == Fault::Removed && listsThenReads(row.point) ? kRemovedAfterListing
                                                                        : kFaults[int(row.fault)].command;
    }
    void hit(const QString& path) const
    {
        EXPECT_EQ(QProcess::execute("/bin/sh", {"-c", faultCommand(), "sh", path}), 0);
    }
    QStringList m_disks;
};

TEST_P(ReadRaceTest, NoFatalReportHangOrLostTextAndTheFileIsNamed)
{
    const Row row = GetParam();
    if (!writeKiosk(kiosk))
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    const QString page = kiosk.path("news/b.zel");
    QStringList said; // what the read point said
    RecordingProblems problems;
    switch (row.point) {
    case ReadPoint::Make: {
        // The page list is read first; page b goes while page a is made.
        PageMaker maker(workbench.kioskSystem(), problems);
        maker.setPictureRuns(PageMaker::InPlace);
        maker.setProgressHandler([&](const QString& text) {
            if (text.startsWith("Making page b "))
                hit(page);
        });
        maker.makeAll();
        EXPECT_FALSE(endsProgram([&] { maker.run(); }));
        said = problems.texts();
        EXPECT_TRUE(QFileInfo(kiosk.path("root/root.htm")).isFile()) << "the next page is made";
        break;
    }
    case ReadPoint::MakePicture: {
        // The image tool takes the picture away while it is being copied, and fails.
        TemporaryKiosk system({}, {.imageTool = ImageToolChoice{kiosk.path("tool.sh"), 60 * 1000, true}});
        ASSERT_TRUE(writeKiosk(system));
        writeExecutableScript(kiosk.path("tool.sh"),
                              "set -- \"" + system.path("news/town.jpg") + "\"\n" + faultCommand() + "\nexit 1\n");
        PageMaker maker(system.openHeadless(), problems);
        maker.makeAll();
        EXPECT_FALSE(endsProgram([&] { maker.run(); }));
        said = problems.texts();
        EXPECT_TRUE(said.join('\n').contains(system.path("news/town.jpg"))) << said.join('\n').toStdString();
        EXPECT_TRUE(QFileInfo(system.path("root/root.htm")).isFile()) << "the next page is made";
        return;
    }
    case ReadPoint::Check: {
        KioskCheck check(workbench.kioskSystem());
        check.begin();
        hit(page);
        EXPECT_FALSE(endsProgram([&] {
            while (check.checkNextPage()) {
            }
        }));
        for (const Finding& finding : check.findings())
            said.append(finding.toLine());
        break;
    }
    case ReadPoint::PreviewMake: {
        hit(page);
        const MakeRun run = runZelMake({"--problems", kiosk.folder(), page});
        // 2 is also what a page source named on the command line that is not there gives.
        EXPECT_TRUE(run.exitCode >= 0 && run.exitCode <= 2) << run.exitCode;
        EXPECT_FALSE(run.err.contains("Runtime error")) << run.err.toStdString();
        said = {run.out, run.err};
        break;
    }
    case ReadPoint::Rename: {
        const QByteArray root = readBytes(kiosk.path("root/root.zel"));
        hit(page);
        const PageRenaming::Result result =
            PageRenaming::renamePage(kiosk.session.session(), kiosk.folder(), {"news", "a"}, {"news", "c"});
        EXPECT_FALSE(result.done);
        said = {result.problem};
        EXPECT_TRUE(result.problem.startsWith("Nothing was renamed: ")) << result.problem.toStdString();
        EXPECT_EQ(readBytes(kiosk.path("root/root.zel")), root);
        EXPECT_TRUE(QFileInfo(kiosk.path("news/a.zel")).isFile());
        EXPECT_FALSE(QFileInfo::exists(kiosk.path("news/c.zel")));
        break;
    }
    case ReadPoint::References:
    case ReadPoint::Search: {
        hit(page);
        const QList<PageReferences::ReferenceLine> lines =
            row.point == ReadPoint::Search ? PageSearch::linesContaining(kiosk.folder(), "#title", false)
                                           : PageReferences::linesNaming(kiosk.folder(), {"news", "a"});
        for (const PageReferences::ReferenceLine& line : lines)
            said.append(line.pageSource + ":" + QString::number(line.line) + ": " + line.text);
        EXPECT_EQ(said.filter(page + ":0: Not read: ").size(), 1) << said.join('\n').toStdString();
        break;
    }
    case ReadPoint::Save: {
        EditorWindow* editor = editorOn("news/b.zel", "#leaf\r\n#title B\r\n");
        type(editor, "#para\nTyped\n");
        hit(page);
        EXPECT_FALSE(endsProgram([&] { editor->saveFile(); }));
        said = kiosk.messages.texts();
        const bool onDisk = QFileInfo(page).isFile() && readBytes(page).contains("Typed");
        EXPECT_TRUE(onDisk || (editor->bodyText().contains("Typed") && said.join('\n').contains(page)))
            << said.join('\n').toStdString();
        return;
    }
    }
    EXPECT_EQ(kiosk.session.endCount(), 0) << kiosk.messages.texts().join('\n').toStdString();
    EXPECT_TRUE(said.join('\n').contains(page)) << said.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(ReadPointsAndFaults, ReadRaceTest, ::testing::ValuesIn(allRows()),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(kReadPoints[int(info.param.point)]) + "_"
                                    + kFaults[int(info.param.fault)].name;
                         });

} // namespace
