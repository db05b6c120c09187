// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times renaming a page and back, and listing the lines that name it, in a
// kiosk system whose one large page source (N MB, default 50) holds either
// ordinary text or long lines without blanks, and prints their ratio. The
// reference scan looks at each byte a bounded number of times, so the ratio
// stays near 1 whatever the lines hold; beyond kPromise the run fails.
#include "platform/messages.h"
#include "platform/session.h"
#include "system/page_references.h"
#include "system/page_renaming.h"

#include "support/bench_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kPromise = 3.0;

// About size bytes of lines of words, a #button to the renamed page now and then.
QByteArray ordinaryText(qsizetype size)
{
    QByteArray bytes = "#leaf\r\n#title Large\r\n";
    const QByteArray line = "#para\r\nThe quick brown fox jumps over the lazy dog, again and again and again.\r\n";
    for (int i = 0; bytes.size() < size; ++i)
        bytes += (i % 100 == 0) ? QByteArray("#button news\\today Today\r\n") : line;
    return bytes;
}

// The same size in lines without blanks: a third directive-like lines, a
// third #item lines whose quote never closes, a third lines of a megabyte;
// then a #button to the page. (A scan that looks past the end of a line for
// a blank or a quote takes minutes here.)
QByteArray longLines(qsizetype size)
{
    QByteArray bytes = "#leaf\r\n#title Large\r\n";
    const QByteArray word(200, 'x');
    while (bytes.size() < size / 3)
        bytes += "#" + word + "\r\n";
    while (bytes.size() < 2 * size / 3)
        bytes += "#item \"" + word + "\r\n";
    const QByteArray megabyte(1024 * 1024, 'x');
    while (bytes.size() < size)
        bytes += megabyte + "\r\n";
    return bytes + "#button news\\today Today\r\n";
}

// Milliseconds of the best of three runs of a rename there and back, and of
// listing the lines naming the page.
struct Times {
    double rename = 1e300;
    double references = 1e300;
};

Times measure(const QByteArray& large)
{
    QTemporaryDir dir;
    const QString top = dir.path() + "/kiosk/";
    writeFile(top + "configuration.txt", "");
    writeFile(top + "root/root.zel", "#root\r\n#title Home\r\n#button news\\today Today\r\n");
    writeFile(top + "news/today.zel", "#leaf\r\n#title Today\r\n");
    writeFile(top + "news/large.zel", large);
    StandardErrorMessageBoxes messages;
    SessionServices services;
    services.messages = &messages;
    Session session(services);
    const qsizetype naming = large.count("#button news\\today") + 1; // and the root page's
    Times best;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        const bool there = PageRenaming::renamePage(session, top, {"news", "today"}, {"news", "heute"}).done;
        const bool back = PageRenaming::renamePage(session, top, {"news", "heute"}, {"news", "today"}).done;
        best.rename = std::min(best.rename, timer.nsecsElapsed() / 1e6);
        if (!there || !back) {
            std::fprintf(stderr, "rename failed\n");
            std::exit(2);
        }
        timer.restart();
        const qsizetype lines = PageReferences::linesNaming(top, {"news", "today"}).size();
        best.references = std::min(best.references, timer.nsecsElapsed() / 1e6);
        if (lines != naming) {
            std::fprintf(stderr, "found %lld lines naming the page, not %lld\n", static_cast<long long>(lines),
                         static_cast<long long>(naming));
            std::exit(2);
        }
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qsizetype megabytes = argc > 1 ? std::atoi(argv[1]) : 50;
    const qsizetype size = megabytes * 1024 * 1024;
    const Times ordinary = measure(ordinaryText(size));
    const Times hostile = measure(longLines(size));
    const double renameRatio = hostile.rename / ordinary.rename;
    const double referencesRatio = hostile.references / ordinary.references;
    std::printf("page source of %lld MB (best of 3)\n"
                "rename there and back: ordinary text %.0f ms, long lines without blanks %.0f ms, ratio %.2f\n"
                "references to the page: ordinary text %.0f ms, long lines without blanks %.0f ms, ratio %.2f\n"
                "promise: each ratio at most %.1f\n",
                static_cast<long long>(megabytes), ordinary.rename, hostile.rename, renameRatio, ordinary.references,
                hostile.references, referencesRatio, kPromise);
    return renameRatio <= kPromise && referencesRatio <= kPromise ? 0 : 1;
}
