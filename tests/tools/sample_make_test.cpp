// The Template folder and the bundled sample kiosk system make without a
// single message: zel-make runs over them, exits with 0 and writes nothing to
// its error channel, and every page gets its three files and its pictures.
#include "pages/files.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString makeProgram = QStringLiteral(ZEL_PROGRAM_DIR "/zel-make");

struct MakeRun {
    bool finished = false;
    int exitCode = -1;
    QString output;
    QString errors;
};

MakeRun runMake(const QString& kioskFolder)
{
    QProcess process;
    process.start(makeProgram, {kioskFolder});
    MakeRun run;
    run.finished = process.waitForFinished(120000); // guards against a hang only
    run.exitCode = process.exitCode();
    run.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// A new kiosk system as Create New Kiosk System makes it: the Template alone.
void copyTemplateOnly(const QString& folder)
{
    Files::copyFolderContents(QDir::toNativeSeparators(QStringLiteral(ZEL_SOURCE_DIR "/template")),
                              QDir::toNativeSeparators(folder));
    QFile::remove(folder + QStringLiteral("CMakeLists.txt"));
}

struct KioskCase {
    const char* name;
    void (*prepare)(const QString& folder);
    int pages;
};

void PrintTo(const KioskCase& kiosk, std::ostream* out) { *out << kiosk.name; }

const KioskCase kKiosks[] = {
    {"TemplateAlone", copyTemplateOnly, 1},
    {"Sample", copySampleKiosk, 19},
};

class QuietMake : public ::testing::TestWithParam<KioskCase> {};

TEST_P(QuietMake, ZelMakeReportsNothing)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    GetParam().prepare(folder);
    const MakeRun run = runMake(dir.path());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.errors.toStdString(), "");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output.count(QStringLiteral("Making page ")), GetParam().pages) << run.output.toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("root/root.htm")));
}

INSTANTIATE_TEST_SUITE_P(Bundled, QuietMake, ::testing::ValuesIn(kKiosks),
                         [](const ::testing::TestParamInfo<KioskCase>& info) { return std::string(info.param.name); });

// The made pages of the sample and the scaled pictures each one links.
struct SamplePage {
    const char* name;
    const char* page; // folder/page
    int pictures;
};

void PrintTo(const SamplePage& page, std::ostream* out) { *out << page.page; }

const SamplePage kSamplePages[] = {
    {"RootPage", "root/root", 1},
    {"VisitingBranch", "visiting/visiting", 1},
    {"WhatsOnBranch", "news/news", 1},
    {"LeafWithThreeAlignments", "news/today", 3},
    {"LeafWithTable", "visiting/castle", 1},
    {"LeafWithCentredPicture", "visiting/walks", 1},
    {"ShopDirectorySelector", "shops/directory", 12},
    {"ShopLeaf", "shops/toyshop", 1},
};

class MadeSample : public ::testing::TestWithParam<SamplePage> {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        copySampleKiosk(s_dir->path() + u'/');
        s_run = new MakeRun(runMake(s_dir->path()));
    }
    static void TearDownTestSuite()
    {
        delete s_run;
        delete s_dir;
    }
    static inline QTemporaryDir* s_dir = nullptr;
    static inline MakeRun* s_run = nullptr;
};

TEST_P(MadeSample, PageHasItsFilesAndPictures)
{
    ASSERT_EQ(s_run->errors.toStdString(), "");
    const QString base = s_dir->path() + u'/' + QString::fromLatin1(GetParam().page);
    for (const QString& suffix : {QStringLiteral(".htm"), QStringLiteral("_con.htm"), QStringLiteral("_nav.htm")})
        EXPECT_GT(QFileInfo(base + suffix).size(), 0) << (base + suffix).toStdString();
    const QString content = QString::fromLatin1(readBytes(base + QStringLiteral("_con.htm")));
    const QString pageName = QFileInfo(base).fileName();
    EXPECT_EQ(content.count(QStringLiteral("src=\"images\\") + pageName), GetParam().pictures);
    for (int i = 1; i <= GetParam().pictures; ++i) {
        const QString picture = QFileInfo(base).path() + QStringLiteral("/images/") + pageName
                                + QStringLiteral("%1.jpg").arg(i, 5, 10, QChar(u'0'));
        EXPECT_TRUE(QFileInfo::exists(picture)) << picture.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Sample, MadeSample, ::testing::ValuesIn(kSamplePages),
                         [](const ::testing::TestParamInfo<SamplePage>& info) { return std::string(info.param.name); });

} // namespace
