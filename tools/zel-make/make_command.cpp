#include "make_command.h"

#include "app/core/log_file.h"
#include "app/core/open_kiosk_system.h"
#include "check/kiosk_check.h"
#include "maker/page_maker.h"
#include "platform/messages.h"
#include "platform/program_end.h"
#include "platform/text_files.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

namespace {

void printLine(const QString& text)
{
    const QByteArray bytes = (text + u'\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    // A script watching the make sees each page as it starts.
    std::fflush(stdout);
}

// Opens the kiosk system without a log, so that nothing at all is written.
int check(const QString& folder)
{
    openKioskSystemHeadless(folder, false);
    KioskCheck check;
    check.run();
    for (const Finding& finding : check.findings())
        printLine(finding.toLine());
    printLine(check.countLine());
    std::fflush(stdout);
    return check.findings().isEmpty() ? MakeCommand::Success : MakeCommand::MessagesShown;
}

// A page source that is missing or cannot be read stops before anything is made.
bool checkPageSources(const QStringList& paths)
{
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists() || info.isDir()) {
            Messages::show(QStringLiteral("Page source - ") + path + QStringLiteral(" does NOT exist"));
            return false;
        }
        if (!info.isReadable()) {
            Messages::show(QStringLiteral("Page source - ") + path + QStringLiteral(" can NOT be read"));
            return false;
        }
    }
    return true;
}

QString absolute(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

} // namespace

namespace MakeCommand {

int run(const QStringList& arguments)
{
    static StandardErrorMessageBoxes messages;
    Messages::install(&messages);
    ProgramEnd::setEndHook([] {
        std::fflush(nullptr);
        std::exit(Fatal);
    });

    if (arguments.isEmpty() || (arguments.first() == QLatin1String("--check") && arguments.size() != 2)) {
        Messages::show(QStringLiteral("Usage: zel-make KIOSK_FOLDER [PAGE_SOURCE ...]\n"
                                      "       zel-make --check KIOSK_FOLDER"));
        return Fatal;
    }
    if (arguments.first() == QLatin1String("--check"))
        return check(absolute(arguments.at(1)));
    QStringList pageSources;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        pageSources.append(absolute(arguments.at(i)));
    if (!checkPageSources(pageSources))
        return Fatal;

    // A missing folder or configuration file is a fatal report of the open itself.
    openKioskSystemHeadless(absolute(arguments.first()));
    PageMaker maker;
    maker.setProgressHandler(printLine);
    if (pageSources.isEmpty()) {
        maker.makeAll();
        maker.run();
    } else {
        for (const QString& path : pageSources) {
            maker.makeOne(path);
            maker.run();
        }
    }
    closeLogFile();
    TextFiles::closeAll();
    std::fflush(stdout);
    return messages.shownCount() > 0 ? MessagesShown : Success;
}

} // namespace MakeCommand
