// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "make_command.h"

#include "check/finding.h"
#include "check/kiosk_check.h"
#include "pages/page_schedule.h"
#include "maker/page_maker.h"
#include "platform/messages.h"
#include "platform/problem.h"
#include "platform/session.h"
#include "runtime/log_file.h"
#include "system/open_kiosk_system.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// Once a write to standard output has failed (its reader has gone), nothing
// more is written there: progress is only news, and the make goes on.
bool outputOpen = true;

void printText(const char* text, size_t size)
{
    if (!outputOpen)
        return;
    // A script watching the make sees each page as it starts.
    if (std::fwrite(text, 1, size, stdout) != size || std::fflush(stdout) != 0) {
        outputOpen = false;
        std::clearerr(stdout);
    }
}

void printText(const char* text) { printText(text, std::strlen(text)); }

void printLine(const QString& text)
{
    const QByteArray bytes = (text + u'\n').toLocal8Bit();
    printText(bytes.constData(), size_t(bytes.size()));
}

// Opens the kiosk system without a log, so that nothing at all is written.
int check(Session& session, const QString& folder, const QDateTime& moment)
{
    const std::unique_ptr<KioskSystem> kiosk = openKioskSystemHeadless(session, folder, false);
    KioskCheck check(*kiosk);
    check.setMoment(moment);
    check.run();
    for (const Finding& finding : check.findings())
        printLine(finding.toLine());
    printLine(check.countLine());
    std::fflush(stdout);
    return check.findings().isEmpty() ? MakeCommand::Success : MakeCommand::MessagesShown;
}

// A page source that is missing or cannot be read stops before anything is made.
bool checkPageSources(Session& session, const QStringList& paths)
{
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists() || info.isDir()) {
            Messages::show(session, QStringLiteral("Page source - ") + path + QStringLiteral(" does NOT exist"));
            return false;
        }
        if (!info.isReadable()) {
            Messages::show(session, QStringLiteral("Page source - ") + path + QStringLiteral(" can NOT be read"));
            return false;
        }
    }
    return true;
}

// The made page's links and picture copies assume a page folder directly in
// the kiosk system folder, so a page source anywhere else is not made.
bool checkPageFolders(Session& session, const QStringList& paths, const QString& kioskFolder)
{
    const QString kiosk = QFileInfo(kioskFolder).canonicalFilePath();
    for (const QString& path : paths) {
        const QString pageFolder = QFileInfo(path).canonicalPath();
        if (kiosk.isEmpty() || QFileInfo(pageFolder).canonicalPath() != kiosk || pageFolder == kiosk) {
            Messages::show(session, QStringLiteral("Page source - ") + path
                                        + QStringLiteral(" is NOT in a page folder of ") + kioskFolder);
            return false;
        }
    }
    return true;
}

// On a terminal, the pictures done so far on one line that is rewritten in
// place (a "Making page" line starts below it); elsewhere nothing, so that
// the output of a make stays the same however its pictures are made.
struct PictureCount {
    int done = 0;
    int total = 0;
    void print() const
    {
        if (total > 0)
            printText(QStringLiteral("\rPictures done: %1 of %2\x1b[K").arg(done).arg(total).toLatin1().constData());
    }
};

QString absolute(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

// The problems of a make as records on standard output (Finding::toRecord),
// placed on the line read last when they name no page source.
class ProblemRecords : public ProblemSink {
public:
    void report(const Problem& problem) override
    {
        const bool placed = !problem.place.pageSource.isEmpty();
        print(Finding{placed ? problem.place.pageSource : pageSource,
                      placed ? problem.place.line : (maker ? maker->currentLineNumber() : 0),
                      FindingKind::of(problem.kind), problem.message});
    }
    void print(const Finding& finding)
    {
        printLine(finding.toRecord());
        ++count;
    }

    const PageMaker* maker = nullptr;
    QString pageSource; // the one being made
    int count = 0;
};

// What the check finds in a page being written that a make does not report:
// texts that may not fit, and picture copies a make would redo. Run before
// the page is made, while the copies are still those of the last make.
void printCheckFindings(KioskSystem& kiosk, const QString& pageSource, ProblemRecords& records)
{
    KioskCheck check(kiosk);
    check.runOnPageBeingWritten(pageSource);
    for (const Finding& finding : check.findings())
        if (finding.kind == FindingKind::MayNotFit || finding.kind == FindingKind::OutOfDate)
            records.print(finding);
}

} // namespace

namespace MakeCommand {

SessionServices services(StandardErrorMessageBoxes& messages)
{
    SessionServices services;
    services.messages = &messages;
    services.endProgram = [] {
        std::fflush(nullptr);
        std::exit(Fatal);
    };
    return services;
}

int run(Session& session, const StandardErrorMessageBoxes& messages, const QStringList& arguments)
{
    const bool atGiven = arguments.size() == 3 && arguments.at(2).startsWith(QLatin1String("--at="));
    if (arguments.isEmpty() || (arguments.first() == QLatin1String("--check") && arguments.size() != 2 && !atGiven)) {
        session.messages().show(QStringLiteral("Usage: zel-make [--problems] KIOSK_FOLDER [PAGE_SOURCE ...]\n"
                                               "       zel-make --check KIOSK_FOLDER"),
                                MessageIcon::None);
        return Fatal;
    }
    if (arguments.first() == QLatin1String("--check"))
        return check(session, absolute(arguments.at(1)),
                     atGiven ? PageSchedule::parseMoment(arguments.at(2).mid(5)) : QDateTime());
    const bool asRecords = arguments.first() == QLatin1String("--problems");
    const qsizetype first = asRecords ? 1 : 0;
    if (arguments.size() <= first) {
        session.messages().show(QStringLiteral("Usage: zel-make [--problems] KIOSK_FOLDER [PAGE_SOURCE ...]"),
                                MessageIcon::None);
        return Fatal;
    }
    QStringList pageSources;
    for (qsizetype i = first + 1; i < arguments.size(); ++i)
        pageSources.append(absolute(arguments.at(i)));
    if (!checkPageSources(session, pageSources))
        return Fatal;

    // A missing folder or configuration file is a fatal report of the open itself.
    const std::unique_ptr<KioskSystem> kiosk = openKioskSystemHeadless(session, absolute(arguments.at(first)));
    if (!checkPageFolders(session, pageSources, kiosk->folder()))
        return Fatal;
    ProblemBoxes boxes(session.messages());
    ProblemRecords records;
    PageMaker maker(*kiosk, asRecords ? static_cast<ProblemSink&>(records) : boxes);
    records.maker = &maker;
    const bool terminal = !asRecords && isatty(STDOUT_FILENO);
    PictureCount pictures;
    // With records, they alone go to standard output.
    maker.setProgressHandler([asRecords, terminal, &pictures](const QString& text) {
        if (asRecords)
            return;
        if (terminal)
            printText("\r\x1b[K");
        printLine(text);
        if (terminal)
            pictures.print();
    });
    if (terminal)
        maker.setPictureCountHandler([&pictures](int done, int total) {
            pictures = {done, total};
            pictures.print();
        });
    // Make All ends with the count of references to page sources that do not exist.
    int deadReferences = 0;
    if (pageSources.isEmpty()) {
        maker.setUseHandler([&deadReferences](PageMaker::Use use, const QString&) {
            deadReferences += use == PageMaker::Use::MissingReference ? 1 : 0;
        });
        maker.makeAll();
        maker.run();
        if (deadReferences > 0 && !asRecords)
            printLine(PageMaker::deadReferencesLine(deadReferences));
    } else {
        for (const QString& path : pageSources) {
            records.pageSource = path;
            if (asRecords)
                printCheckFindings(*kiosk, path, records);
            maker.makeOne(path);
            maker.run();
        }
    }
    if (terminal)
        printText("\n");
    closeLogFile(session);
    session.closeAllFiles();
    std::fflush(stdout);
    return messages.shownCount() + records.count > 0 ? MessagesShown : Success;
}

} // namespace MakeCommand
