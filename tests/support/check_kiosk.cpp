// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/recording_problems.h"
#include "support/check_kiosk.h"

#include "maker/page_maker.h"
#include "support/kiosk_fixture.h"
#include "support/program_run.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

void setModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)
        || !file.setFileTime(when, QFileDevice::FileModificationTime))
        ADD_FAILURE() << "cannot set the time of " << path.toStdString();
}

void writeKioskWithEveryFinding(TemporaryKiosk& kiosk)
{
    const QString source = QStringLiteral(ZEL_SOURCE_DIR);
    QFile::copy(source + "/template/stylesheet.css", kiosk.path("stylesheet.css"));
    QDir().mkpath(kiosk.path("news"));
    QDir().mkpath(kiosk.path("shops"));
    QFile::copy(source + "/examples/sample/root/town.jpg", kiosk.path("news/photo.jpg"));
    QFile::copy(source + "/examples/sample/shops/cafe.jpg", kiosk.path("shops/shop.jpg"));
    writeTextFile(
        kiosk.path("root/root.zel"),
        {"#root", "#title Start", "#button news\\news News", "#button news\\gone Gone",
         "#button shops\\list Opening hours of every museum, gallery and library in the town and the valley"});
    writeTextFile(kiosk.path("news/news.zel"),
                  {"#branch", "#title News", "#head Oops", "#image missing.jpg", "#image broken.jpg",
                   "#image photo.svg", "#image photo.jpg", "#button old Old news"});
    writeBytes(kiosk.path("news/broken.jpg"), "not a JPEG at all, nor any other picture");
    writeBytes(kiosk.path("news/photo.svg"), "<svg/>");
    writeTextFile(kiosk.path("news/old.zel"), {"#leaf", "#para", "Last year"});
    writeTextFile(
        kiosk.path("shops/list.zel"),
        {"#selector", "#title Shops of the harbour town", "#item shop.jpg shop <b>Shop</b><br>Open every day.",
         "#item shop.jpg shop <b>Market</b><br>Mon<br>Tue<br>Wed<br>Thu<br>Fri<br>Sat<br>Sun", "#alt The hall",
         "#item shop.jpg shop <b>Town hall</b><br>Monday to Saturday, from nine to six<br>Sunday<br>from ten<br>"
         "Holidays<br>Closed"});
    writeTextFile(kiosk.path("shops/lost.zel"),
                  {"#leaf",
                   "#title Where the old harbour master kept the lighthouse keys, the tide tables and the "
                   "logbooks of every ship that called between the wars",
                   "#para", "Nobody comes here", "#alt Nothing after it"});

    SessionProblems problems(kiosk.session.session());
    PageMaker maker(kiosk.openHeadless(), problems);
    maker.makeAll();
    maker.run();

    // Made pages an hour ago, their sources and pictures before that; then
    // one source and one picture changed after the make (another picture of
    // the same size: a comment segment after the start marker), and a new page.
    const QDateTime made = QDateTime::currentDateTime().addSecs(-3600);
    QDirIterator files(kiosk.folder(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        setModified(path, path.endsWith(".htm") || path.contains("/images/") ? made : made.addSecs(-600));
    }
    QByteArray photo = readBytes(kiosk.path("news/photo.jpg"));
    photo.insert(2, QByteArray("\xFF\xFE\x00\x05"
                               "new",
                               7));
    writeBytes(kiosk.path("news/photo.jpg"), photo);
    setModified(kiosk.path("news/photo.jpg"), made.addSecs(-60));
    writeTextFile(kiosk.path("news/old.zel"), {"#leaf", "#para", "Last year and before"});
    setModified(kiosk.path("news/old.zel"), made.addSecs(60));
    // Copied from a machine whose clock runs a day ahead.
    setModified(kiosk.path("shops/list.zel"), QDateTime::currentDateTime().addDays(1));
    writeTextFile(kiosk.path("shops/shop.zel"), {"#leaf", "#para", "Opening soon"});
}

QStringList expectedFindingLines(const QString& folder)
{
    QStringList lines = {
        "Knews/news.zel:3: faulty line: Expected valid directive",
        "Knews/news.zel:4: no text alternative: Picture without a text alternative (#alt): missing.jpg",
        "Knews/news.zel:4: picture: Image Knews/missing.jpg does not exist",
        "Knews/news.zel:5: no text alternative: Picture without a text alternative (#alt): broken.jpg",
        "Knews/news.zel:5: picture: Jpeg.GetSize - File Knews/broken.jpg does not have valid JPEG header",
        "Knews/news.zel:5: picture: Jpeg.scaleImage - Unable get height and width from file Knews/broken.jpg",
        "Knews/news.zel:6: no text alternative: Picture without a text alternative (#alt): photo.svg",
        "Knews/news.zel:6: picture: Unsupported image file type",
        "Knews/news.zel:7: no text alternative: Picture without a text alternative (#alt): photo.jpg",
        "Knews/news.zel:7: out of date: Picture copy images\\news00004.jpg would be made again",
        "Knews/old.zel:1: out of date: Page would change if made now (old_con.htm)",
        "Kroot/root.zel:4: dead end: Reference to non-existent page: news\\gone",
        "Kroot/root.zel:5: may not fit: Button text may not fit: Opening hours of every museum, gallery and library "
        "in the town and the valley",
        "Kshops/list.zel:1: out of date: Page source has a time stamp in the future",
        "Kshops/list.zel:2: cut off at 200 %: Title may be cut off at 200 % text size: Shops of the harbour town",
        "Kshops/list.zel:3: no text alternative: Picture without a text alternative (#alt): shop.jpg",
        "Kshops/list.zel:4: no text alternative: Picture without a text alternative (#alt): shop.jpg",
        "Kshops/list.zel:4: may not fit: Item text may not fit: <b>Market</b><br>Mon<br>Tue<br>Wed<br>Thu<br>Fri<br>"
        "Sat<br>Sun",
        "Kshops/list.zel:6: cut off at 200 %: Item text may be cut off at 200 % text size: <b>Town hall</b><br>Monday "
        "to Saturday, from nine to six<br>Sunday<br>from ten<br>Holidays<br>Closed",
        "Kshops/lost.zel:1: unreachable: Page cannot be reached from the root page",
        "Kshops/lost.zel:2: may not fit: Title may not fit: Where the old harbour master kept the lighthouse keys, the "
        "tide tables and the logbooks of every ship that called between the wars",
        "Kshops/lost.zel:5: faulty line: alt directive must come right before an image or item directive",
        "Kshops/shop.zel:1: out of date: Page has never been made",
    };
    for (QString& line : lines)
        line = folder + line.mid(1).replace(" Knews/", " " + folder + "news/");
    return lines;
}

QMap<QString, QPair<QDateTime, QByteArray>> folderSnapshot(const QString& folder)
{
    QMap<QString, QPair<QDateTime, QByteArray>> snapshot;
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QFileInfo file(files.next());
        snapshot.insert(QDir(folder).relativeFilePath(file.filePath()),
                        {file.lastModified(), readBytes(file.filePath())});
    }
    return snapshot;
}

MakeRun runZelMake(const QStringList& arguments, const QString& program)
{
    const ProgramRun run = runProgram(program, arguments);
    return {run.exitCode, QString::fromUtf8(run.output), run.error};
}
