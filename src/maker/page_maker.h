// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "maker/output_folders.h"
#include "maker/page_position.h"
#include "pages/page_types.h"
#include "platform/problem.h"

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
// drives the makes: what to make, the order of the pages, progress, the
// pictures made in the background during run() (picture_work.cpp) and when
// made pages are put in place. Each page is made by a PageBuilder of its own
// (page_builder.h), created for that page and gone after it. It makes the
// pages of the kiosk system it is handed, with that kiosk system's session
// (image tool, file faults), and reports its problems to the sink it is handed.
//
// Faulty lines are reported as problems (makeError) and making goes on.
// Unexpected failures go to the error path with the module "dlgMakePage",
// which ends the program. Generated HTML keeps backslash links
// ("..\sales\prices.htm", "images\prices00001.jpg") on every platform; files
// on disk use native paths.
namespace fileio {
class DeferredReplacements;
}
namespace Jpeg {
class CopiesInPlace;
class CopySink;
} // namespace Jpeg
class KioskSystem;
class PageBuilder;

class PageMaker {
public:
    // Makes the pages of kiosk. Every problem found during run() (those of
    // the pictures included) goes to problems, in the order a make that
    // waits for every picture finds them.
    PageMaker(KioskSystem& kiosk, ProblemSink& problems);
    // For an owner that outlives kiosk systems (the maker dialog): it hands
    // the open one with setKioskSystem before each make.
    explicit PageMaker(ProblemSink& problems);
    void setKioskSystem(KioskSystem& kiosk) { m_kiosk = &kiosk; }

    // Receives "Making page " + page + " in folder " + folder before each page.
    using ProgressHandler = std::function<void(const QString& text)>;
    // Receives the pages made so far and the pages of the whole make after each page.
    using CountHandler = std::function<void(int made, int total)>;

    // Receives the pictures done and the pictures of the whole make during
    // run(), as copies are asked for and done. The total is known from the
    // start: with a handler set, run() first reads the pages as a dry run does
    // and counts their pictures (it grows only when pages change meanwhile).
    using PictureCountHandler = std::function<void(int done, int total)>;

    void setProgressHandler(ProgressHandler handler) { m_progress = std::move(handler); }
    void setCountHandler(CountHandler handler) { m_count = std::move(handler); }
    void setPictureCountHandler(PictureCountHandler handler) { m_pictureCount = std::move(handler); }

    // How run() makes picture copies: AutomaticRuns (the default) hands them
    // to as many image tool runs at once as the tool allows (Jpeg::imageToolRuns)
    // and keeps copies that need no remaking; InPlace makes each copy when
    // its picture is placed, every time; a positive number is that many runs.
    // The made files, problems and their order are the same in every way.
    static constexpr int AutomaticRuns = -1;
    static constexpr int InPlace = 0;
    void setPictureRuns(int runs) { m_pictureRuns = runs; }

    // What a page uses, told while it is read: its page-type line, the page
    // source path of every well-named reference (whether it exists or not),
    // a reference to a missing page source as written (right before its
    // problem), the full path of every picture found, button and item texts,
    // every line written into the content file, the page's title, and the
    // picture of every #image and #item that no #alt line gave a text
    // alternative (as written).
    enum class Use {
        PageType,
        Reference,
        MissingReference,
        Picture,
        ButtonText,
        ItemText,
        ContentLine,
        TitleText,
        PictureWithoutText
    };
    using UseHandler = std::function<void(Use use, const QString& value)>;
    void setUseHandler(UseHandler handler) { m_use = std::move(handler); }
    // The 1-based number of the page source line read last (1 after the
    // page-type line, 0 before it); a problem is about this line.
    int currentLineNumber() const;

    // What to make on the next run(): one page source, or every page source of
    // the open kiosk system. Nothing is made yet.
    void makeOne(const QString& filePath);
    void makeAll();
    // Makes what makeOne or makeAll asked for (the dialog's activation).
    void run();

    // With false, pages are read and checked as in a make (same problems, same
    // picture sizes) but no page file or picture copy is written or removed and
    // no folder is made. True by default.
    void setWriteOutput(bool write) { m_writeOutput = write; }
    // In a dry run, picture copies go to probe (not owned; nullptr: nowhere),
    // which must write nothing. The pages come out the same either way.
    void setCopyProbe(Jpeg::CopySink* probe) { m_copyProbe = probe; }
    // After a dry run, the files of the page read last that a make would
    // write anew (PageBuilder::filesThatWouldChange); none when it was refused.
    const QStringList& filesThatWouldChange() const { return m_filesThatWouldChange; }

    // Every page source (PageSources) in the direct sub-folders of the kiosk
    // system folder; folders and files sorted by name.
    void makeAllPages();
    // Makes one page source; its three HTML files are created or replaced
    // together when the page is complete. Until then nothing on disk changes,
    // so a page whose make fails keeps its previous files whole. A page source
    // that is not a regular file or is larger than 64 MB is refused with a
    // problem, and so is one whose main file is a file of another page
    // ("a_con.zel" beside "a.zel", PageSources::clashingPageSource), and
    // one whose made files' names would be too long for the file system
    // (Files::fitsFileSystem).
    void makeOnePage(const QString& filePath);

    // The relative link of a page reference ("prices", "sales\prices",
    // "sales/prices") as written into the page made last; "..\missing.html"
    // for a badly named reference. Reports bad names and missing page sources.
    QString pageRefToURL(const QString& pageReference);

    // Every "*.zel" file of the kiosk system, as makeAllPages makes them.
    QStringList allPageSources() const;

    int pagesMade() const { return m_pagesMade; }
    int pagesTotal() const { return m_pagesTotal; }
    bool makeAllMode() const { return m_makeAllMode; }

    // What Make All ends with when buttons or items refer to page sources that
    // do not exist (count: the MissingReference uses told): a kiosk strands a
    // visitor who touches one of them.
    static QString deadReferencesLine(int count);

private:
    // Reports to the caller's problems once everything found before has been.
    class InOrder : public ProblemSink {
    public:
        explicit InOrder(PageMaker& maker) : m_maker(maker) {}
        void report(const Problem& problem) override;

    private:
        PageMaker& m_maker;
    };

    // Makes a page source, its lines read, with a builder of its own and,
    // when writing, puts its files in place.
    void buildPage(const QString& filePath, const QStringList& lines);
    void reportCount();
    // Reads the page source whole into lines; a page source that cannot be
    // read (gone, a folder, a FIFO, too large) is that page's problem.
    bool readPageSource(const QString& filePath, QStringList& lines);
    // A page (its source or made files at path) that is not made, in the page order.
    void reportRefusedPage(const QString& path, const QString& message);
    bool pageFilesFree(const QString& filePath);
    bool pageFileNamesFit(const QString& filePath);
    void makeRequested();
    // The picture copies makeRequested will ask for, counted by a dry run of
    // it that reports nothing.
    int pictureCopiesAhead();
    // Puts the pages made so far in place: all of them, or only when the last
    // commit lies kPageCommitIntervalMs back (one file-system sync a group).
    void reportVanishedPageFiles();
    void commitPages(bool all);
    // Marks the pages staged so far complete once the picture copies they
    // link to are in place, so that a make ending on a failure of a later
    // page still puts them in place (the fatal report commits them).
    void markPageComplete();
    // Runs event now, or, while pictures are made in the background, once
    // everything asked for before it has been shown.
    void inOrder(std::function<void()> event);

    KioskSystem& kiosk() const;

    KioskSystem* m_kiosk = nullptr; // none yet: making raises Invalid argument (5)
    ProblemSink& m_problems;
    InOrder m_inOrder{*this};
    bool m_makeAllMode = false;
    QString m_pendingPagePath;
    int m_pagesMade = 0;
    int m_pagesTotal = 0;
    bool m_writeOutput = true;
    Jpeg::CopySink* m_copyProbe = nullptr;
    QStringList m_filesThatWouldChange;
    ProgressHandler m_progress;
    CountHandler m_count;
    UseHandler m_use;
    PictureCountHandler m_pictureCount;
    int m_pictureRuns = AutomaticRuns;

    // The page being made, and where the page made last (or refused) stopped.
    const PageBuilder* m_page = nullptr;
    PagePosition m_lastPage;

    // State of one run(); the folders also serve makeOnePage called on its own.
    OutputFolders m_outputFolders;
    static constexpr int kPageCommitIntervalMs = 250;
    fileio::DeferredReplacements* m_pages = nullptr; // during run()
    QElapsedTimer m_lastCommit;
    class PictureWork* m_pictureWork = nullptr;     // during run(), unless InPlace
    Jpeg::CopiesInPlace* m_copiesInPlace = nullptr; // during run() when InPlace
};
