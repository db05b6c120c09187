// One page's files, its page builder by page type, and page references
// turned into links.
#include "maker/page_builder.h"

#include "maker/maker_module.h"
#include "maker/output_folders.h"

#include "config/kiosk_system.h"
#include "pages/files.h"
#include "pages/page_paths.h"
#include "pages/page_sources.h"
#include "pages/support.h"
#include "platform/problem.h"
#include "platform/session.h"
#include "runtime/error_handler.h"

#include <QDir>

PageBuilder::Place::Place(const QString& sourcePath, const MakeContext& make)
{
    QString drive;
    QString extension;
    Files::splitFilePath(sourcePath, drive, folderPath, pageName, extension);
    contentFileName = pageName + QStringLiteral("_con.htm");
    navigationFileName = pageName + QStringLiteral("_nav.htm");
    mainFileName = pageName + QStringLiteral(".htm");
    if (make.writeOutput)
        make.folders.prepared(folderPath);
}

PageBuilder::PageBuilder(const QString& sourcePath, const MakeContext& make)
    : m_make(make), m_reader(sourcePath), m_place(sourcePath, make), m_contentFile(openOutput(m_place.contentFileName)),
      m_navigationFile(openOutput(m_place.navigationFileName)), m_mainFile(openOutput(m_place.mainFileName))
{}

TextFiles::OutputFile PageBuilder::openOutput(const QString& fileName) const
{
    return TextFiles::OutputFile(m_place.folderPath + QDir::separator() + fileName,
                                 TextFiles::Encoding::Windows1252References, m_make.kiosk.session().fileFaults());
}

void PageBuilder::build()
{
    const PageType type = m_reader.readPageType();
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
}

void PageBuilder::commit(fileio::DeferredReplacements* batch)
{
    TextFiles::OutputFile::closeTogether({&m_contentFile, &m_navigationFile, &m_mainFile}, batch);
}

QStringList PageBuilder::filesThatWouldChange() const
{
    QStringList names;
    for (const auto& [file, name] : {std::pair{&m_mainFile, &m_place.mainFileName},
                                     {&m_contentFile, &m_place.contentFileName},
                                     {&m_navigationFile, &m_place.navigationFileName}})
        if (!file->targetHolds())
            names.append(*name);
    return names;
}

PagePosition PageBuilder::position() const
{
    return PagePosition{m_place.folderPath, m_reader.sourcePath(), m_reader.currentLine(), m_reader.lineNumber()};
}

QString PageBuilder::pageRefToURL(const QString& pageReference)
{
    return pageRefToURL(pageReference, m_place.folderPath, m_make.kiosk.folder(), m_make.use, m_make.problems,
                        m_reader.place());
}

QString PageBuilder::pageRefToURL(const QString& pageReference, const QString& pageFolderPath,
                                  const QString& kioskFolder, const PageMaker::UseHandler& use, ProblemSink& problems,
                                  const ProblemPlace& at)
{
    return withErrorPath(makerModule(), QStringLiteral("pageRefToURL"), [&] {
        QString url;
        QString checkPath;
        ProblemsAt names(problems, at);
        qsizetype separator = pageReference.indexOf(u'\\');
        if (separator < 0)
            separator = pageReference.indexOf(u'/');
        if (separator < 0) {
            if (Support::isValidPageName(pageReference, names)) {
                url = pageReference + QStringLiteral(".htm");
                checkPath = PageSources::pathOf(pageFolderPath, pageReference);
            } else {
                url = QStringLiteral("..\\missing.html");
            }
        } else {
            const QString folder = pageReference.left(separator);
            const QString page = pageReference.mid(separator + 1);
            const bool folderValid = Support::isValidFolderName(folder, names);
            const bool pageValid = Support::isValidPageName(page, names);
            if (folderValid && pageValid) {
                url = QStringLiteral("..\\") + folder + QStringLiteral("\\") + page + QStringLiteral(".htm");
                checkPath = PageSources::pathOf(kioskFolder + folder, page);
            } else {
                url = QStringLiteral("..\\missing.html");
            }
        }
        if (!checkPath.isEmpty() && use)
            use(Use::Reference, checkPath);
        if (!checkPath.isEmpty() && !Files::fileExists(checkPath)) {
            if (use)
                use(Use::MissingReference, pageReference);
            reportLineProblem(problems, Problem::Kind::MissingPage, QStringLiteral("Reference to non-existent page"),
                              at);
        }
        return url;
    });
}
