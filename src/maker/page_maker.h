#pragma once

#include "pages/page_types.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

// The page maker: turns page sources into the three HTML files of a page
// (main frameset, "_con.htm" content, "_nav.htm" navigation bar) and the
// scaled picture copies in the page folder's "images" sub-folder.
//
// One PageMaker lives as long as its owner (the maker dialog, zel-make) and
// keeps its fields between makes; every per-page field is reset when a page
// starts. Needs an open kiosk system (configuration items by name).
//
// Faulty lines are reported through Messages (makeError) and making goes on.
// Unexpected failures go to the error path with the module "dlgMakePage",
// which ends the program. Generated HTML keeps backslash links
// ("..\sales\prices.htm", "images\prices00001.jpg") on every platform; files
// on disk use native paths.
//
// The implementation is split by responsibility: directive reading
// (directive_reader.cpp), page frame and navigation bar (page_frame.cpp),
// root/branch/leaf builders (text_pages.cpp), selector builder
// (selector_page.cpp), make driver (page_maker.cpp), picture placement
// (image_placement.cpp) and the copies made in the background during run()
// (picture_work.cpp).
namespace fileio {
class DeferredReplacements;
}

class PageMaker {
public:
    // Receives "Making page " + page + " in folder " + folder before each page.
    using ProgressHandler = std::function<void(const QString& text)>;
    // Receives the pages made so far and the pages of the whole make after each page.
    using CountHandler = std::function<void(int made, int total)>;

    // Receives the pictures done and the pictures asked for so far during run().
    using PictureCountHandler = std::function<void(int done, int total)>;

    void setProgressHandler(ProgressHandler handler) { m_progress = std::move(handler); }
    void setCountHandler(CountHandler handler) { m_count = std::move(handler); }
    void setPictureCountHandler(PictureCountHandler handler) { m_pictureCount = std::move(handler); }

    // How run() makes picture copies: AutomaticRuns (the default) hands them
    // to as many image tool runs at once as the tool allows (Jpeg::imageToolRuns)
    // and keeps copies that need no remaking; InPlace makes each copy when
    // its picture is placed, every time; a positive number is that many runs.
    // The made files, messages and their order are the same in every way.
    static constexpr int AutomaticRuns = -1;
    static constexpr int InPlace = 0;
    void setPictureRuns(int runs) { m_pictureRuns = runs; }

    // What a page uses, told while it is read: its page-type line, the page
    // source path of every well-named reference (whether it exists or not),
    // the full path of every picture found, and button and item texts.
    enum class Use { PageType, Reference, Picture, ButtonText, ItemText };
    using UseHandler = std::function<void(Use use, const QString& value)>;
    void setUseHandler(UseHandler handler) { m_use = std::move(handler); }
    // The 1-based number of the page source line read last (1 after the
    // page-type line); a message is about this line.
    int currentLineNumber() const { return m_lineNumber; }

    // What to make on the next run(): one page source, or every page source of
    // the open kiosk system. Nothing is made yet.
    void makeOne(const QString& filePath);
    void makeAll();
    // Makes what makeOne or makeAll asked for (the dialog's activation).
    void run();

    // With false, pages are read and checked as in a make (same messages, same
    // picture sizes) but no page file or picture copy is written or removed and
    // no folder is made. True by default.
    void setWriteOutput(bool write) { m_writeOutput = write; }
    bool writesOutput() const { return m_writeOutput; }

    // Every page source (PageSources) in the direct sub-folders of the kiosk
    // system folder; folders and files sorted by name.
    void makeAllPages();
    // Makes one page source; its three HTML files are created or replaced
    // together when the page is complete. Until then nothing on disk changes,
    // so a page whose make fails keeps its previous files whole. A page source
    // that is not a regular file or is larger than 64 MB is refused with a
    // message.
    void makeOnePage(const QString& filePath);

    // The relative link of a page reference ("prices", "sales\prices",
    // "sales/prices") as written into pages; "..\missing.html" for a badly
    // named reference. Reports bad names and missing page sources.
    QString pageRefToURL(const QString& pageReference);

    // Every "*.zel" file of the open kiosk system, as makeAllPages makes them.
    QStringList allPageSources() const;

    int pagesMade() const { return m_pagesMade; }
    int pagesTotal() const { return m_pagesTotal; }
    bool makeAllMode() const { return m_makeAllMode; }

    // Text escaping of #title, #head and #para text: "<" and ">" only.
    static QString encode(const QString& text);
    // Escaping of src and href values: '"', '&', '<' and '>'; other text unchanged.
    static QString encodeAttribute(const QString& text);

    // Classifies a page source line: "IGNORE" for an empty line, "NOT DIRECTIVE"
    // when it does not start with "#", otherwise the lower-cased name between
    // "#" and the first blank ("" for a comment). arguments receives the text
    // after the first blank, trimmed of blanks.
    static QString classifyLine(const QString& line, QString& arguments);

private:
    using Dispatch = void (PageMaker::*)(const QString& directive);

    // Directive reader
    QString getDirective();
    void readNextLine();
    void directiveLoop(Dispatch dispatch);
    void copyTitle();
    void copyHead(const QString& cssClass);
    void copyPara(const QString& cssClass);
    void copyHTML();
    void insertBreak();
    void makeError(const QString& message);
    // The lines that follow a faulty-line message: the line and the page source.
    QString errorContext() const;
    void writeContent(const QString& line);
    // Copies the following plain lines until a directive line (held) or the end.
    void copyBlock(bool escape);

    // Page frame and navigation bar
    void makeHeader(int handle, const QString& frameName);
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
    void writeNavigation(const QString& line);

    // Root, branch and leaf pages
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

    // Driver
    void reportCount();
    bool pageSourceReadable(const QString& filePath);
    void openOutputFiles();
    void closeOutputFiles();
    // Makes the folder when missing and removes dead temporaries in it, once per run.
    void prepareOutputFolder(const QString& folder);
    void tellUse(Use use, const QString& value)
    {
        if (m_use)
            m_use(use, value);
    }
    void makeRequested();
    // Puts the pages made so far in place: all of them, or only when the last
    // commit lies kPageCommitIntervalMs back (one file-system sync a group).
    void commitPages(bool all);
    // Runs event now, or, while pictures are made in the background, once
    // everything asked for before it has been shown.
    void inOrder(std::function<void()> event);

    // Driver state
    bool m_makeAllMode = false;
    QString m_pendingPagePath;
    QString m_sourcePath;
    QString m_pageFolderPath;
    QString m_pageName;
    QString m_contentFileName;
    QString m_navigationFileName;
    QString m_mainFileName;
    std::int16_t m_imageCounter = 1;
    int m_inputFile = 0;
    int m_contentFile = 0;
    int m_navigationFile = 0;
    int m_mainFile = 0;
    int m_pagesMade = 0;
    int m_pagesTotal = 0;
    bool m_writeOutput = true;
    QStringList m_preparedFolders;
    static constexpr int kPageCommitIntervalMs = 250;
    fileio::DeferredReplacements* m_pages = nullptr; // during run()
    QElapsedTimer m_lastCommit;
    ProgressHandler m_progress;
    CountHandler m_count;
    UseHandler m_use;
    int m_lineNumber = 0;
    PictureCountHandler m_pictureCount;
    int m_pictureRuns = AutomaticRuns;
    class PictureWork* m_pictureWork = nullptr; // during run(), unless InPlace

    // Directive reader state
    QString m_currentLine;
    QString m_directiveArguments;
    bool m_lineHeld = false;
    QString m_pageTitle;

    // Navigation and layout state (set when a page builder starts)
    std::int16_t m_buttonCount = 0;
    std::int16_t m_remainingNavigationHeight = 0;
    std::int16_t m_buttonWidth = 0;
    std::int16_t m_buttons = 0;
    std::int16_t m_navigationHeight = 0;
    std::int16_t m_maximumImageWidth = 0;
    std::int16_t m_contentAvailableWidth = 0;
    bool m_itemTableStarted = false;
};
