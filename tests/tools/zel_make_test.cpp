// zel-make as a script calls it: exit status, messages on standard error,
// progress on standard output.
#include "support/kiosk_fixture.h"

#include "pages/files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct MakeRun {
    int exitCode = -1;
    QString out;
    QString err;
};

MakeRun runZelMake(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(ZEL_PROGRAM_DIR "/zel-make"), arguments);
    MakeRun run;
    if (!process.waitForFinished(120000)) {
        ADD_FAILURE() << "zel-make did not finish";
        process.kill();
        process.waitForFinished();
        return run;
    }
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "zel-make crashed";
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

class ZelMake : public ::testing::Test {
protected:
    ZelMake() : kiosk({QStringLiteral("screenheight 706")})
    {
        writeTextFile(kiosk.path(QStringLiteral("root/root.zel")),
                      {QStringLiteral("#root"), QStringLiteral("#title Start"), QStringLiteral("#button news\\today Today")});
        writeTextFile(kiosk.path(QStringLiteral("news/today.zel")),
                      {QStringLiteral("#leaf"), QStringLiteral("#para"), QStringLiteral("Hello")});
    }
    TemporaryKiosk kiosk;
};

TEST_F(ZelMake, CleanKioskMakesEveryPageAndExitsZero)
{
    const MakeRun run = runZelMake({kiosk.folder()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), "Making page today in folder news\nMaking page root in folder root\n");
    EXPECT_EQ(run.err.toStdString(), "");
    EXPECT_TRUE(QFile::exists(kiosk.path(QStringLiteral("root/root_nav.htm"))));
    EXPECT_TRUE(QFile::exists(kiosk.path(QStringLiteral("news/today.htm"))));
    const QStringList logs = QDir(kiosk.folder()).entryList({QStringLiteral("log*.txt")}, QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    EXPECT_EQ(readLines(kiosk.path(logs.first())).last().toStdString(), "log file closed");
}

TEST_F(ZelMake, NamedPageSourcesAreMadeInTheGivenOrderOnly)
{
    writeTextFile(kiosk.path(QStringLiteral("news/other.zel")), {QStringLiteral("#leaf")});
    const MakeRun run = runZelMake({kiosk.folder(), kiosk.path(QStringLiteral("root/root.zel")),
                                kiosk.path(QStringLiteral("news/today.zel"))});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), "Making page root in folder root\nMaking page today in folder news\n");
    EXPECT_FALSE(QFile::exists(kiosk.path(QStringLiteral("news/other.htm"))));
}

TEST_F(ZelMake, FaultyLinesGoToStandardErrorAndExitOne)
{
    const QString page = kiosk.path(QStringLiteral("news/today.zel"));
    writeTextFile(page, {QStringLiteral("#leaf"), QStringLiteral("junk"), QStringLiteral("#button x y")});
    const MakeRun run = runZelMake({kiosk.folder(), page});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.toStdString(), ("Expected valid directive\nIn line - junk\nIn file - " + page + "\n\n"
                                      "You can not put buttons on a leaf page\nIn line - #button x y\nIn file - " + page
                                      + "\n\n")
                                         .toStdString());
}

struct FatalRow {
    const char* name;
    const char* expectedStart;
};

class ZelMakeFatal : public ZelMake, public ::testing::WithParamInterface<FatalRow> {};

TEST_P(ZelMakeFatal, StopsWithExitTwoAndAClearMessage)
{
    const std::string name = GetParam().name;
    QStringList arguments;
    if (name == "no_arguments") {
    } else if (name == "missing_folder") {
        arguments = {kiosk.path(QStringLiteral("nowhere"))};
    } else if (name == "missing_page_source") {
        arguments = {kiosk.folder(), kiosk.path(QStringLiteral("news/today.zel")), kiosk.path(QStringLiteral("news/gone.zel"))};
    } else if (name == "page_source_is_a_folder") {
        arguments = {kiosk.folder(), kiosk.path(QStringLiteral("news"))};
    } else if (name == "missing_configuration") {
        QFile::remove(kiosk.path(QStringLiteral("configuration.txt")));
        arguments = {kiosk.folder()};
    } else if (name == "bad_configuration_line") {
        writeTextFile(kiosk.path(QStringLiteral("configuration.txt")), {QStringLiteral("buttons many")});
        arguments = {kiosk.folder()};
    }
    const MakeRun run = runZelMake(arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith(QString::fromLatin1(GetParam().expectedStart))) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("\n\n"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(kiosk.path(QStringLiteral("news/today.htm"))));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ZelMakeFatal,
    ::testing::Values(FatalRow{"no_arguments", "Usage: zel-make KIOSK_FOLDER [PAGE_SOURCE ...]"},
                      FatalRow{"missing_folder", "Fatal Error - Kiosk System Folder - "},
                      FatalRow{"missing_page_source", "Page source - "},
                      FatalRow{"page_source_is_a_folder", "Page source - "},
                      FatalRow{"missing_configuration", "The System has encountered a problem\nConfiguration File - "},
                      FatalRow{"bad_configuration_line", "The System has encountered a problem\nError processing configuration file"}),
    [](const ::testing::TestParamInfo<FatalRow>& info) { return std::string(info.param.name); });

// The Template alone (a new kiosk system) and the bundled sample make
// without a single message.
TEST(ZelMakeBundled, TemplateAndSampleMakeWithoutMessages)
{
    struct Row {
        const char* name;
        bool withSample;
        int pages;
    };
    for (const Row& row : {Row{"template alone", false, 1}, Row{"sample", true, 19}}) {
        SCOPED_TRACE(row.name);
        TemporaryKiosk kiosk;
        if (row.withSample) {
            copySampleKiosk(kiosk.folder());
        } else {
            Files::copyFolderContents(QDir::toNativeSeparators(QStringLiteral(ZEL_SOURCE_DIR "/template")), kiosk.folder());
            QFile::remove(kiosk.path(QStringLiteral("CMakeLists.txt")));
        }
        const MakeRun run = runZelMake({kiosk.folder()});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err.toStdString(), "");
        EXPECT_EQ(run.out.count(QStringLiteral("Making page ")), row.pages);
    }
}

} // namespace
