// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary page sources through the directive reader and
// every page builder. A run must not crash or hang, must not end the program
// through the fatal path, and must write nothing outside the page folder
// except the kiosk's own log. Fuzzed by scripts/fuzz-page-maker; its seeds
// are replayed by ctest.
#include "maker/page_maker.h"
#include "platform/messages.h"
#include "platform/problem.h"
#include "platform/session.h"
#include "system/open_kiosk_system.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

class SilentMessages : public MessageBoxes {
public:
    void show(const QString&, MessageIcon) override {}
    Answer askYesNo(const QString&, Answer) override { return Answer::No; }
    Answer askYesNoCancel(const QString&) override { return Answer::Cancel; }
};

QTemporaryDir* g_kiosk = nullptr;
QString g_pageFolder;
QStringList g_kioskFiles;
PageMaker* g_maker = nullptr;

// Every file under the kiosk folder outside the page folder.
QStringList filesOutsidePageFolder()
{
    QStringList files;
    QDirIterator it(g_kiosk->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.startsWith(g_pageFolder + u'/'))
            files.append(path);
    }
    files.sort();
    return files;
}

const QStringList kTypeLines = {QStringLiteral("#root"), QStringLiteral("#branch"), QStringLiteral("#leaf"),
                                QStringLiteral("#selector")};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    static SilentMessages messages;
    SessionServices services;
    services.messages = &messages;
    services.endProgram = [] {
        std::fprintf(stderr, "the maker ended the program through the fatal path\n");
        std::abort();
    };
    static Session session(std::move(services));
    g_kiosk = new QTemporaryDir();
    QFile configuration(g_kiosk->filePath(QStringLiteral("configuration.txt")));
    configuration.open(QIODevice::WriteOnly);
    configuration.write("screenheight 706\r\nbuttons 6\r\n");
    configuration.close();
    g_pageFolder = g_kiosk->filePath(QStringLiteral("pages"));
    QDir().mkpath(g_pageFolder);
    QDir().mkpath(g_kiosk->filePath(QStringLiteral("other")));
    QFile::copy(QString::fromLocal8Bit(std::getenv("ZEL_FUZZ_PICTURE") ? std::getenv("ZEL_FUZZ_PICTURE") : ""),
                g_pageFolder + QStringLiteral("/cat.jpg"));
    QFile::copy(g_pageFolder + QStringLiteral("/cat.jpg"), g_kiosk->filePath(QStringLiteral("other/dog.jpg")));
    // Open for the whole fuzzing run, like the session.
    static ProblemBoxes problems(messages);
    g_maker = new PageMaker(*openKioskSystemHeadless(session, g_kiosk->path() + u'/').release(), problems);
    g_kioskFiles = filesOutsidePageFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the page-type line (or none), the rest is the body.
    QByteArray source;
    if (data[0] % 5 < 4)
        source = kTypeLines.at(data[0] % 5).toLatin1() + "\r\n";
    source.append(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString path = g_pageFolder + QStringLiteral("/p.zel");
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(source);
    file.close();

    g_maker->makeOnePage(path);

    const QStringList now = filesOutsidePageFolder();
    if (now != g_kioskFiles) {
        std::fprintf(stderr, "files appeared outside the page folder:\n%s\n", qPrintable(now.join(u'\n')));
        std::abort();
    }
    static const QRegularExpression allowed(
        QStringLiteral("^(p\\.zel|p\\.htm|p_con\\.htm|p_nav\\.htm|cat\\.jpg|images|images/p\\d{5}\\.jpg)$"));
    QDirIterator it(g_pageFolder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = it.next().mid(g_pageFolder.size() + 1);
        if (!allowed.match(relative).hasMatch()) {
            std::fprintf(stderr, "unexpected file in the page folder: %s\n", qPrintable(relative));
            std::abort();
        }
    }
    return 0;
}
