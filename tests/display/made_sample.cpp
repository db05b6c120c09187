#include "made_sample.h"

#include "support/kiosk_fixture.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QString makerProgram() { return QStringLiteral(ZEL_PROGRAM_DIR) + QStringLiteral("/zel-make"); }

} // namespace

MadeSample::MadeSample()
{
    copySampleKiosk(QDir::toNativeSeparators(m_dir.path()) + QDir::separator());
    m_messages = runMaker({});
    m_made = !madePages().isEmpty();
}

QString MadeSample::path(const QString& relative) const { return QDir(m_dir.path()).filePath(relative); }

QStringList MadeSample::madePages() const
{
    QStringList pages;
    const QDir top(m_dir.path());
    for (const QString& folder : top.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        for (const QString& source : QDir(top.filePath(folder)).entryList({QStringLiteral("*.zel")}, QDir::Files)) {
            const QString page = folder + u'/' + source.chopped(4) + QStringLiteral(".htm");
            if (QFile::exists(path(page)))
                pages.append(page);
        }
    }
    pages.sort();
    return pages;
}

QString MadeSample::addPage(const QString& relative, const QStringList& lines)
{
    writeTextFile(path(relative), lines);
    return runMaker({path(relative)});
}

QString MadeSample::runMaker(const QStringList& pageSources)
{
    QProcess maker;
    maker.setProgram(makerProgram());
    maker.setArguments(QStringList{m_dir.path()} + pageSources);
    maker.start();
    const bool finished = maker.waitForFinished(120000);
    EXPECT_TRUE(finished) << "zel-make did not finish";
    return QString::fromLocal8Bit(maker.readAllStandardError());
}
