#pragma once

#include "maker/directive_reader.h"
#include "maker/page_maker.h"
#include "maker/page_position.h"
#include "platform/open_text_file.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace fileio {
class DeferredReplacements;
}
class KioskSystem;
class OutputFolders;
namespace Jpeg {
class CopySink;
}

// What the pages of one make share with the make: the kiosk system they
// belong to, whether files are written, the output folders prepared so far,
// who is told what a page uses, where picture copies go (nullptr when files
// are not written), and where problems are reported.
struct MakeContext {
    const KioskSystem& kiosk;
    bool writeOutput;
    OutputFolders& folders;
    const PageMaker::UseHandler& use;
    Jpeg::CopySink* copies;
    ProblemSink& problems;
};

// Makes one page. Constructing it opens the page source and the page's three
// HTML files (main frameset, "_con.htm" content, "_nav.htm" navigation bar);
// build() reads the page-type line and runs the builder of that page type;
// commit() puts the three files in place as one step. What is not committed
// when the builder goes is dropped and the page keeps its previous files.
// A builder lives for one page only, so nothing of a page reaches the next.
//
// The implementation is split by responsibility: directive reading and text
// blocks (directive_reader.cpp), page frame and navigation bar
// (page_frame.cpp), root/branch/leaf builders (text_pages.cpp), selector
// builder (selector_page.cpp), picture placement (image_placement.cpp), and
// the page's files and references (page_builder.cpp).
class PageBuilder {
public:
    using Use = PageMaker::Use;

    // sourcePath must name a readable page source.
    PageBuilder(const QString& sourcePath, const MakeContext& make);
    PageBuilder(const PageBuilder&) = delete;
    PageBuilder& operator=(const PageBuilder&) = delete;

    void build();
    // Writes the three files and puts them in place; with batch, they are
    // staged there and put in place by batch->commit().
    void commit(fileio::DeferredReplacements* batch);

    // After build(): the names of the page's files (main, content,
    // navigation) that do not yet hold what commit() would write. Only reads.
    QStringList filesThatWouldChange() const;

    int lineNumber() const { return m_reader.lineNumber(); }
    PagePosition position() const;

    // The relative link of a page reference as written into a page of
    // pageFolderPath in the kiosk system folder kioskFolder (see
    // PageMaker::pageRefToURL) on the line at of a page source. A
    // well-named reference's page source is told to use; a bad name or a
    // missing page source is reported to problems, placed at that line.
    static QString pageRefToURL(const QString& pageReference, const QString& pageFolderPath, const QString& kioskFolder,
                                const PageMaker::UseHandler& use, ProblemSink& problems, const ProblemPlace& at);

private:
    using Dispatch = void (PageBuilder::*)(const QString& directive);

    // The page folder, the page name and the names of the page's three files;
    // the folder is made ready first when the make writes files.
    struct Place {
        Place(const QString& sourcePath, const MakeContext& make);
        QString folderPath;
        QString pageName;
        QString contentFileName;
        QString navigationFileName;
        QString mainFileName;
    };

    // Directive reader
    void directiveLoop(Dispatch dispatch);
    void copyTitle();
    void copyHead(const QString& cssClass);
    void copyPara(const QString& cssClass);
    void copyHTML();
    void insertBreak();
    void makeError(const QString& message, Problem::Kind kind = Problem::Kind::FaultyLine);
    void writeContent(const QString& line)
    {
        tellUse(Use::ContentLine, line);
        m_contentFile.printLine(line);
    }
    // Copies the following plain lines until a directive line (held) or the end.
    void copyBlock(bool escape);

    // Page frame and navigation bar
    void makeHeader(TextFiles::OutputFile& file, const QString& frameName);
    void makeContentHeader();
    void makeContentFooter();
    void startNavigationHeader();
    void completeNavigationFooter();
    void makeMainPage(std::int16_t contentWidth, std::int16_t navigationWidth, const QString& scrolling,
                      bool withOnload);
    void makeNavigationButton(const QString& url, const QString& text);
    void makeNavigationDoubleButton(const QString& url, const QString& text);
    void makeNavigationHomeButton();
    void makeNavigationBackButton();
    void makeBranchNavigationHeader();
    void makeRootNavigationFooter();
    void makeBranchNavigationFooter();
    void makeLeafNavigationFooter();
    void makeselectorNavigationFooter();
    void writeNavigation(const QString& line) { m_navigationFile.printLine(line); }

    // Root, branch and leaf pages
    std::int16_t item(const QString& name) const;
    void setLayout(const QString& pageType);
    void makeRoot();
    void makeBranch();
    void makeLeaf();
    void makeRootPage();
    void dispatchRootOrBranch(const QString& directive);
    void dispatchLeaf(const QString& directive);
    void insertButton();
    void insertImage();

    // Selector pages
    void makeSelector();
    void dispatchSelector(const QString& directive);
    void insertItem();
    void makeSelectorContentFooter();

    // Picture placement
    void ScaleImage(const QString& fileName, std::int32_t requiredHeight, std::int32_t requiredWidth,
                    std::int32_t& scaledHeight, std::int32_t& scaledWidth, QString& scaledFileName,
                    const bool& noScaleUp);
    void placePicture(const QString& fileName, std::int32_t requiredHeight, std::int32_t requiredWidth,
                      std::int32_t& scaledHeight, std::int32_t& scaledWidth, QString& scaledFileName, bool noScaleUp);
    // The picture file named by fileName relative to the page folder ("\" or
    // "/" between parts, each part matched ignoring letter case); "" when there is none.
    QString findPicture(const QString& fileName) const;

    // Page files and references
    QString pageRefToURL(const QString& pageReference);
    TextFiles::OutputFile openOutput(const QString& fileName) const;
    void tellUse(Use use, const QString& value)
    {
        if (m_make.use)
            m_make.use(use, value);
    }

    // Made in this order: the page source opened, the page folder made ready,
    // the content, navigation and main files opened.
    const MakeContext& m_make;
    DirectiveReader m_reader;
    const Place m_place;
    TextFiles::OutputFile m_contentFile;
    TextFiles::OutputFile m_navigationFile;
    TextFiles::OutputFile m_mainFile;

    QString m_pageTitle;
    std::int16_t m_imageCounter = 1;

    // Navigation and layout (set by the page type's builder)
    std::int16_t m_buttonCount = 0;
    std::int16_t m_remainingNavigationHeight = 0;
    std::int16_t m_buttonWidth = 0;
    std::int16_t m_buttons = 0;
    std::int16_t m_navigationHeight = 0;
    std::int16_t m_maximumImageWidth = 0;
    std::int16_t m_contentAvailableWidth = 0;
    bool m_itemTableStarted = false;
};
