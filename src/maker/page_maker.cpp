// The make driver: what to make, the files of one page, the page builder by
// page type, and page references turned into links.
#include "maker/page_maker.h"

#include "fileio/deferred_replacements.h"

#include "maker/maker_module.h"
#include "maker/picture_work.h"

#include "config/configuration.h"
#include "imaging/tool_runs.h"
#include "pages/files.h"
#include "pages/page_paths.h"
#include "pages/page_sources.h"
#include "pages/page_types.h"
#include "pages/support.h"
#include "platform/messages.h"
#include "platform/text_files.h"
#include "runtime/error_handler.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QChar kSeparator = QDir::separator();

QString withPath(const char* label, const QString& path)
{
    return QString::fromLatin1(label) + QStringLiteral("(") + path + QStringLiteral(")");
}

} // namespace

void PageMaker::makeOne(const QString& filePath)
{
    withErrorPath(makerModule(), [&] { return withPath("makeOne", filePath); }, [&] {
        m_pendingPagePath = filePath;
        m_makeAllMode = false;
    });
}

void PageMaker::makeAll()
{
    withErrorPath(makerModule(), QStringLiteral("makeAll"), [&] { m_makeAllMode = true; });
}

void PageMaker::run()
{
    m_preparedFolders.clear();
    // Pages are put in place in groups (see commitPages); what a failed run
    // did not commit keeps its old files.
    fileio::DeferredReplacements pages;
    m_pages = &pages;
    m_lastCommit.start();
    struct DetachPages {
        fileio::DeferredReplacements*& pages;
        ~DetachPages() { pages = nullptr; }
    } detachPages{m_pages};
    withErrorPath(makerModule(), QStringLiteral("Form_Activate"), [&] {
        if (m_pictureRuns == InPlace) {
            makeRequested();
            commitPages(true);
            return;
        }
        // Picture copies are made in the background while the pages are written.
        PictureWork work(m_pictureRuns == AutomaticRuns ? Jpeg::imageToolRuns() : m_pictureRuns, m_pictureCount);
        m_pictureWork = &work;
        struct Detach {
            PictureWork*& work;
            ~Detach() { work = nullptr; }
        } detach{m_pictureWork};
        makeRequested();
        // A copy that fails ends the make before the pages still held are put in place.
        work.finish();
        commitPages(true);
    });
}

void PageMaker::commitPages(bool all)
{
    if (!m_pages || m_pages->empty() || (!all && m_lastCommit.elapsed() < kPageCommitIntervalMs))
        return;
    Errors::translatingFileErrors([&] { m_pages->commit(); });
    m_lastCommit.restart();
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
    const QString top = configuration::kioskSystemFolder();
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
    withErrorPath(makerModule(), QStringLiteral("makeAllPages"), [&] {
        const QString top = configuration::kioskSystemFolder();
        if (!Files::folderExists(top)) {
            // configuration.txt may set kioskSystemFolder to anything.
            Messages::show(QStringLiteral("Kiosk System Folder - ") + top
                           + QStringLiteral(" does NOT exist - no pages were made"));
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
    withErrorPath(makerModule(), [&] { return withPath("makeOnePage", filePath); }, [&] {
        QString folderName;
        QString pageName;
        Files::splitPageSourcePath(filePath, folderName, pageName);
        if (m_progress)
            inOrder([this, text = QStringLiteral("Making page ") + pageName + QStringLiteral(" in folder ") + folderName] {
                m_progress(text);
            });

        m_buttonCount = 0;
        m_imageCounter = 1;
        m_pageTitle.clear();
        m_sourcePath = filePath;
        // A message about this page must never show a line of the previous one.
        m_currentLine.clear();
        m_lineNumber = 0;

        if (!pageSourceReadable(filePath))
            return;
        m_inputFile = TextFiles::freeFile();
        TextFiles::openForInput(m_inputFile, filePath);
        QString drive;
        QString extension;
        Files::splitFilePath(filePath, drive, m_pageFolderPath, m_pageName, extension);
        openOutputFiles();

        const PageType type = Support::readPageType(m_inputFile);
        m_lineNumber = 1;
        tellUse(Use::PageType, Support::pageTypeDirective(std::int16_t(type)));
        switch (type) {
        case PageType::Leaf:
            makeLeaf();
            break;
        case PageType::Branch:
            makeBranch();
            break;
        case PageType::Root:
            makeRoot();
            break;
        case PageType::Selector:
            makeSelector();
            break;
        case PageType::Invalid:
            makeError(QStringLiteral("Invalid Zel Page"));
            break;
        }

        TextFiles::close(m_inputFile);
        closeOutputFiles();
        ++m_pagesMade;
        reportCount();
    });
}

bool PageMaker::pageSourceReadable(const QString& filePath)
{
    const std::string problem = fileio::regularFileProblem(filePath.toStdString());
    QString reason;
    if (problem == "is not a regular file" || problem == "is a folder")
        reason = QString::fromStdString(problem);
    else if (problem.empty() && QFileInfo(filePath).size() > TextFiles::kMaximumInputSize)
        reason = QStringLiteral("is larger than 64 MB");
    if (reason.isEmpty())
        return true;
    Messages::show(QStringLiteral("Page source - ") + filePath + QStringLiteral(" ") + reason
                   + QStringLiteral(" - the page was not made"));
    return false;
}

void PageMaker::prepareOutputFolder(const QString& folder)
{
    if (m_preparedFolders.contains(folder))
        return;
    Files::ensureFolder(folder);
    fileio::removeDeadTemporaries(folder.toStdString());
    m_preparedFolders.append(folder);
}

void PageMaker::openOutputFiles()
{
    if (m_writeOutput)
        prepareOutputFolder(m_pageFolderPath);
    const auto open = [&](const QString& suffix, QString& fileName, int& handle) {
        fileName = m_pageName + suffix;
        handle = TextFiles::freeFile();
        TextFiles::openForOutput(handle, m_pageFolderPath + kSeparator + fileName,
                                 TextFiles::Encoding::Windows1252References);
    };
    open(QStringLiteral("_con.htm"), m_contentFileName, m_contentFile);
    open(QStringLiteral("_nav.htm"), m_navigationFileName, m_navigationFile);
    open(QStringLiteral(".htm"), m_mainFileName, m_mainFile);
}

void PageMaker::closeOutputFiles()
{
    if (m_writeOutput) {
        TextFiles::closeTogether({m_contentFile, m_navigationFile, m_mainFile}, m_pages);
        commitPages(false);
        return;
    }
    for (int handle : {m_contentFile, m_navigationFile, m_mainFile})
        TextFiles::discard(handle);
}

QString PageMaker::pageRefToURL(const QString& pageReference)
{
    return withErrorPath(makerModule(), QStringLiteral("pageRefToURL"), [&] {
        QString url;
        QString checkPath;
        qsizetype separator = pageReference.indexOf(u'\\');
        if (separator < 0)
            separator = pageReference.indexOf(u'/');
        if (separator < 0) {
            if (Support::isValidPageName(pageReference)) {
                url = pageReference + QStringLiteral(".htm");
                checkPath = PageSources::pathOf(m_pageFolderPath, pageReference);
            } else {
                url = QStringLiteral("..\\missing.html");
            }
        } else {
            const QString folder = pageReference.left(separator);
            const QString page = pageReference.mid(separator + 1);
            const bool folderValid = Support::isValidFolderName(folder);
            const bool pageValid = Support::isValidPageName(page);
            if (folderValid && pageValid) {
                url = QStringLiteral("..\\") + folder + QStringLiteral("\\") + page + QStringLiteral(".htm");
                checkPath = PageSources::pathOf(configuration::kioskSystemFolder() + folder, page);
            } else {
                url = QStringLiteral("..\\missing.html");
            }
        }
        if (!checkPath.isEmpty())
            tellUse(Use::Reference, checkPath);
        if (!checkPath.isEmpty() && !Files::fileExists(checkPath))
            makeError(QStringLiteral("Reference to non-existent page"));
        return url;
    });
}
