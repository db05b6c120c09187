// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The make driver: what to make, one page builder per page, progress, and
// when made pages are put in place.
#include "maker/page_maker.h"

#include "maker/maker_module.h"
#include "maker/page_builder.h"
#include "maker/page_reference.h"
#include "maker/picture_work.h"

#include "config/kiosk_system.h"
#include "imaging/tool_runs.h"
#include "pages/files.h"
#include "pages/page_paths.h"
#include "pages/page_sources.h"
#include "base/runtime_error.h"
#include "platform/session.h"
#include "text/text_codec.h"
#include "text/text_files.h"
#include "runtime/error_handler.h"

#include "fileio/deferred_replacements.h"
#include "fileio/replacement_journal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

namespace {

const QChar kSeparator = QDir::separator();

QString withPath(const char* label, const QString& path)
{
    return QString::fromLatin1(label) + QStringLiteral("(") + path + QStringLiteral(")");
}

// Counts the picture copies a dry run asks for; makes and removes nothing.
class CopyCounter : public Jpeg::CopySink {
public:
    bool resamples() override { return true; }
    void submit(const Jpeg::CopyJob&) override { ++count; }
    void removeOlder(const QString&) override {}
    int count = 0;
};

class NoProblems : public ProblemSink {
public:
    void report(const Problem&) override {}
};

} // namespace

PageMaker::PageMaker(KioskSystem& kiosk, ProblemSink& problems) : m_kiosk(&kiosk), m_problems(problems) {}

PageMaker::PageMaker(ProblemSink& problems) : m_problems(problems) {}

void PageMaker::InOrder::report(const Problem& problem)
{
    m_maker.inOrder([this, problem] { m_maker.m_problems.report(problem); });
}

KioskSystem& PageMaker::kiosk() const { return handedKioskSystem(m_kiosk); }

void PageMaker::makeOne(const QString& filePath)
{
    inProcedure(
        makerModule(), [&] { return withPath("makeOne", filePath); },
        [&] {
            m_pendingPagePath = filePath;
            m_makeAllMode = false;
        });
}

void PageMaker::makeAll()
{
    inProcedure(makerModule(), QStringLiteral("makeAll"), [&] { m_makeAllMode = true; });
}

void PageMaker::run()
{
    m_outputFolders.clear();
    Session& session = kiosk().session();
    // Pages are put in place in groups (see commitPages); what a failed run
    // did not commit keeps its old files.
    StagedReplacements pages(session);
    m_pages = &pages;
    m_lastCommit.start();
    const auto detachPages = qScopeGuard([this] { m_pages = nullptr; });
    inProcedure(makerModule(), QStringLiteral("Form_Activate"), [&] {
        // Pages that a killed make left half put in place are completed first.
        if (m_writeOutput)
            fileio::completeInterruptedGroupsBelow(QFile::encodeName(kiosk().folder()).toStdString());
        if (m_pictureRuns == InPlace) {
            // One for the whole make, so that its image tool is checked once.
            Jpeg::CopiesInPlace copies(session, m_inOrder);
            m_copiesInPlace = &copies;
            const auto detach = qScopeGuard([this] { m_copiesInPlace = nullptr; });
            makeRequested();
            commitPages(true);
            return;
        }
        // Picture copies are made in the background while the pages are written.
        const int runs =
            m_pictureRuns == AutomaticRuns ? Jpeg::imageToolRuns(session.imageTool(&m_inOrder)) : m_pictureRuns;
        const int picturesAhead = m_pictureCount ? pictureCopiesAhead() : 0;
        PictureWork work(runs, m_pictureCount, picturesAhead, session, m_problems);
        m_pictureWork = &work;
        const auto detach = qScopeGuard([this] { m_pictureWork = nullptr; });
        makeRequested();
        // A copy that fails ends the make before the pages still held are put in place.
        work.finish();
        commitPages(true);
    });
}

int PageMaker::pictureCopiesAhead()
{
    NoProblems none;
    CopyCounter counter;
    PageMaker dry(kiosk(), none);
    dry.setWriteOutput(false);
    dry.setCopyProbe(&counter);
    dry.m_makeAllMode = m_makeAllMode;
    dry.m_pendingPagePath = m_pendingPagePath;
    dry.makeRequested();
    return counter.count;
}

void PageMaker::commitPages(bool all)
{
    if (!m_pages || m_pages->empty() || (!all && m_lastCommit.elapsed() < kPageCommitIntervalMs))
        return;
    m_lastCommit.restart();
    if (all) {
        Errors::translatingFileErrors([&] { m_pages->commit(); });
        reportVanishedPageFiles();
        return;
    }
    // A page goes in place only once the picture copies it links to are made,
    // so a make that is killed never leaves a page without its pictures.
    inOrder([this, upTo = m_pages->stagedCount()] {
        if (!m_pages)
            return;
        Errors::translatingFileErrors([&] { m_pages->commitThrough(upTo); });
        reportVanishedPageFiles();
    });
}

// A page folder removed, or its disk unmounted, while the make ran takes its
// made files with it: a problem of that page, and the make goes on.
void PageMaker::reportVanishedPageFiles()
{
    for (const std::string& target : m_pages->takeVanished()) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(target));
        reportRefusedPage(path, QCoreApplication::translate(
                                    "PageMaker", "Page file - %1 could not be put in place: its folder is gone")
                                    .arg(path));
    }
}

void PageMaker::markPageComplete()
{
    if (!m_pages)
        return;
    inOrder([this, upTo = m_pages->stagedCount()] {
        if (m_pages && !(m_pictureWork && m_pictureWork->copyFailed()))
            m_pages->markCompleteThrough(upTo);
    });
}

void PageMaker::makeRequested()
{
    if (m_makeAllMode) {
        makeAllPages();
    } else {
        m_pagesMade = 0;
        m_pagesTotal = 1;
        makeOnePage(m_pendingPagePath);
    }
}

void PageMaker::inOrder(std::function<void()> event)
{
    if (m_pictureWork)
        m_pictureWork->inOrder(std::move(event));
    else
        event();
}

QStringList PageMaker::allPageSources() const
{
    QStringList pages;
    const QString top = kiosk().folder();
    const QDir topFolder(top);
    for (const QString& folderName : topFolder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folderPath = top + folderName;
        for (const QString& fileName : PageSources::fileNamesIn(folderPath))
            pages.append(folderPath + kSeparator + fileName);
    }
    return pages;
}

void PageMaker::makeAllPages()
{
    inProcedure(makerModule(), QStringLiteral("makeAllPages"), [&] {
        const QString top = kiosk().folder();
        if (!Files::folderExists(top)) {
            // configuration.txt may set kioskSystemFolder to anything.
            m_inOrder.report(
                Problem{.kind = Problem::Kind::KioskFolder,
                        .place = {},
                        .message = QCoreApplication::translate(
                                       "PageMaker", "Kiosk System Folder - %1 does NOT exist - no pages were made")
                                       .arg(top)});
            return;
        }
        const QStringList pages = allPageSources();
        m_pagesMade = 0;
        m_pagesTotal = int(pages.size());
        for (const QString& page : pages)
            makeOnePage(page);
    });
}

void PageMaker::reportCount()
{
    if (m_count)
        inOrder([this, made = m_pagesMade, total = m_pagesTotal] { m_count(made, total); });
}

void PageMaker::makeOnePage(const QString& filePath)
{
    inProcedure(
        makerModule(), [&] { return withPath("makeOnePage", filePath); },
        [&] {
            QString folderName;
            QString pageName;
            PagePaths::splitPageSourcePath(filePath, folderName, pageName);
            if (m_progress)
                inOrder([this, text = QCoreApplication::translate("PageMaker", "Making page %1 in folder %2")
                                          .arg(pageName, folderName)] { m_progress(text); });

            // Until its builder reads a line, a message is about no line of this page source.
            m_lastPage = PagePosition{QString(), filePath, QString(), 0};
            m_filesThatWouldChange.clear();
            QStringList lines;
            if (!readPageSource(filePath, lines) || !pageFilesFree(filePath) || !pageFileNamesFit(filePath))
                return;
            buildPage(filePath, lines);
            ++m_pagesMade;
            reportCount();
        });
}

void PageMaker::buildPage(const QString& filePath, const QStringList& lines)
{
    // Copies go to the run's picture work, or are made at once.
    Jpeg::CopiesInPlace inPlace(kiosk().session(), m_inOrder);
    Jpeg::CopySink* const copies = m_pictureWork     ? static_cast<Jpeg::CopySink*>(m_pictureWork)
                                   : m_copiesInPlace ? static_cast<Jpeg::CopySink*>(m_copiesInPlace)
                                                     : &inPlace;
    const MakeContext make{kiosk(),  m_writeOutput, m_outputFolders, m_use, m_writeOutput ? copies : m_copyProbe,
                           m_inOrder};
    PageBuilder page(filePath, lines, make);
    // While the page is made its builder tells the line number; afterwards,
    // also when the make fails, the position where it stopped is kept.
    const auto current = qScopeGuard([this, &page] {
        m_lastPage = page.position();
        m_page = nullptr;
    });
    m_page = &page;
    page.build();
    if (m_writeOutput) {
        page.commit(m_pages);
        markPageComplete();
        commitPages(false);
    } else {
        m_filesThatWouldChange = page.filesThatWouldChange();
    }
}

int PageMaker::currentLineNumber() const { return m_page ? m_page->lineNumber() : m_lastPage.lineNumber; }

void PageMaker::reportRefusedPage(const QString& path, const QString& message)
{
    m_inOrder.report(Problem{.kind = Problem::Kind::RefusedPage, .place = {path, 0, {}}, .message = message});
}

bool PageMaker::readPageSource(const QString& filePath, QStringList& lines)
{
    QByteArray bytes;
    const QString reason = TextFiles::readAuthorFile(filePath, bytes);
    if (reason.isEmpty()) {
        lines = TextCodec::splitLines(TextCodec::decode(bytes));
        return true;
    }
    reportRefusedPage(filePath, QCoreApplication::translate("PageMaker", "Page source - %1 %2 - the page was not made")
                                    .arg(filePath, TextFiles::afterFileName(reason)));
    return false;
}

bool PageMaker::pageFilesFree(const QString& filePath)
{
    const QString other = PageSources::clashingPageSource(filePath);
    if (other.isEmpty())
        return true;
    reportRefusedPage(filePath,
                      QCoreApplication::translate("PageMaker", "Page source - %1 would overwrite %2.htm of page source "
                                                               "%3 - the page was not made")
                          .arg(filePath, QFileInfo(filePath).completeBaseName(), other));
    return false;
}

bool PageMaker::pageFileNamesFit(const QString& filePath)
{
    QString drive, folder, page, extension;
    PagePaths::splitFilePath(filePath, drive, folder, page, extension);
    for (const char* suffix : {"_con.htm", "_nav.htm", ".htm"}) {
        const QString name = page + QString::fromLatin1(suffix);
        if (Files::fitsFileSystem(folder + kSeparator + name))
            continue;
        reportRefusedPage(filePath,
                          QCoreApplication::translate("PageMaker", "Page source - %1 has a name too long for its made "
                                                                   "file %2 - the page was not made")
                              .arg(filePath, name));
        return false;
    }
    return true;
}

QString PageMaker::pageRefToURL(const QString& pageReference)
{
    return ::pageRefToURL(pageReference, m_lastPage.folderPath, kiosk().folder(), m_use, m_inOrder,
                          ProblemPlace{m_lastPage.sourcePath, m_lastPage.lineNumber, m_lastPage.line});
}

QString PageMaker::deadReferencesLine(int count)
{
    return QCoreApplication::translate(
               "PageMaker", "Dead references: %1 (buttons or items to pages that do not exist strand the visitor)")
        .arg(count);
}
