// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/content_height.h"
#include "check/finding.h"
#include "check/text_fit.h"
#include "maker/page_maker.h"
#include "pages/page_schedule.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class CopyProbe;
class StyleSheet;
class KioskSystem;

// Checks every page source of the open kiosk system without writing any file:
// the page maker reads each one in its dry run, so every faulty line comes
// with the very text Make shows; on top of that come a kioskSystemFolder
// moved by configuration.txt, references to missing page sources (named as
// written), missing, non-JPEG or unreadable pictures, pages out of date
// (never made, or a make would change one of their files or picture copies:
// the dry run's files are compared with those on disk, and each copy is
// judged by its copy record as a make judges it), pages no chain of buttons
// and items leads to from the root page, and button and item texts that may
// not fit their button or row, and page and page folder names against the
// name rule (made all the same), text colours of stylesheet.css too close to
// their background, buttons and selector rows too small to touch, and with
// the screen's size and mounting height given, buttons out of a wheelchair
// user's reach, and selector texts that a visitor's text at 200 % cuts off.
// By the pages' #show lines: pages that are
// over or never on show, and pages on show whose buttons and items all lead
// to pages off show at a moment from the check's moment on (with a moment
// given, at that moment), a visitor stranded there.
//
// Runs page by page so that a window can show progress and stop between
// pages: begin(), then checkNextPage() until it returns false (finish() is
// then done), or stop at any time. The problems the maker reports while a
// page is read become findings, their kind following the problem's kind.
class KioskCheck {
public:
    // Checks kiosk.
    explicit KioskCheck(KioskSystem& kiosk);
    ~KioskCheck();

    // The moment the pages' schedules are judged at; invalid (the default):
    // now, and a page stranded at any moment from then on.
    void setMoment(const QDateTime& moment) { m_givenMoment = moment; }

    // Reads the list of page sources and the layout; forgets earlier findings.
    void begin();
    // Checks the next page source; after the last one adds the pages nobody
    // reaches and sorts the findings. False when the check is complete.
    bool checkNextPage();
    // begin() and every page in one go.
    void run();
    // Checks pageSource alone, a page whose text is being written: its made
    // files are not judged (the text is ahead of them), though its picture
    // copies are, and no page is judged unreachable. The findings are all
    // about pageSource.
    void runOnPageBeingWritten(const QString& pageSource);

    // For a caller that knows some pages' findings already (the kiosk's
    // gate): a page for which skip returns true is not read (it has no
    // findings, references or schedule in this check); after each page read,
    // pageRead tells it with the full paths of the pictures it showed.
    void setSkip(std::function<bool(const QString& pageSource)> skip) { m_skip = std::move(skip); }
    void setPageRead(std::function<void(const QString& pageSource, const QStringList& pictures)> pageRead)
    {
        m_pageRead = std::move(pageRead);
    }
    // The page sources a page read refers to (clean absolute paths), whether they exist or not.
    QSet<QString> referencesOf(const QString& pageSource) const;

    int pagesTotal() const { return int(m_pages.size()); }
    int pagesChecked() const { return m_next; }
    bool complete() const { return m_complete; }
    // Sorted by page source and line once complete.
    const QList<Finding>& findings() const { return m_findings; }
    QString countLine() const { return ::countLine(pagesChecked(), m_findings); }

private:
    class ProblemCollector;

    KioskSystem& kiosk() const { return m_kiosk; }

    void checkPage(const QString& pageSource);
    void addTargetFindings(double buttonWidth, double buttonHeight, int rowHeight, double buttonGap);
    void noteUse(PageMaker::Use use, const QString& value);
    void noteProblem(const Problem& problem);
    void add(int line, const QString& kind, const QString& text);
    void checkMadePage(const QString& pageSource);
    void addFolderMove();
    void addBadNames();
    void addUnreachablePages();
    void checkSchedule(const QString& pageSource);
    void addStrandedPages();
    void setUpTextBoxes();
    void setUpEnlargedBoxes(StyleSheet sheet, double cellWidth, int rowHeight, int tableTop);

    KioskSystem& m_kiosk;
    std::unique_ptr<ProblemCollector> m_collector;
    // Made by begin() for the kiosk system checked.
    std::unique_ptr<PageMaker> m_maker;
    std::unique_ptr<CopyProbe> m_copies;
    QStringList m_pages;
    QString m_rootPage; // clean absolute path of root\root.zel
    int m_next = 0;
    bool m_complete = false;
    bool m_judgeMadeFiles = true;
    QList<Finding> m_findings;
    std::function<bool(const QString&)> m_skip;
    std::function<void(const QString&, const QStringList&)> m_pageRead;

    // The page being read.
    QString m_source;
    QString m_pageType;
    struct UsedPicture {
        QString path;
        int line = 0;
    };
    QList<UsedPicture> m_pictures;
    QString m_missingReference; // as written, until its message comes
    struct ChangedCopy {
        int line = 0;
        QString text;
    };
    QList<ChangedCopy> m_changedCopies;

    // page source -> page sources it refers to (clean absolute paths).
    QHash<QString, QSet<QString>> m_references;
    // By the same keys: when each page is on show, and the line of its first reference.
    QHash<QString, PageSchedule> m_schedules;
    QHash<QString, int> m_firstReference;
    QDateTime m_givenMoment;
    QDateTime m_moment;     // the one judged at
    TextBox m_buttonBox[2]; // root, branch
    TextBox m_itemBox;
    QHash<QString, TextBox> m_titleBox; // by page type line ("#leaf")
    // A selector's item text and title with the visitor's text at 200 %.
    TextBox m_enlargedItemBox;
    TextBox m_enlargedSelectorTitleBox;
    // Root and branch content against the screen height.
    std::unique_ptr<ContentHeight> m_contentHeight[2]; // root, branch
    double m_screenHeight = 0;
    ContentHeight* m_content = nullptr; // the page's, none for leaf and selector pages
    bool m_contentReported = false;
};
