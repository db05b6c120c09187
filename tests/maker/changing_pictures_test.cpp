// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures that change while a make reads them, and a make that a fatal
// report ends while copies are still held: what the make says and what it
// leaves in the images folder.
#include "support/recording_problems.h"
#include "maker_test_support.h"

#include "imaging/copy_record.h"
#include "maker/page_maker.h"
#include "system/open_kiosk_system.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <unistd.h>

namespace {

// A make of every page in its own run, with several copies at once, file
// faults as given and the end of the program caught; returns the messages.
QStringList makeAll(TemporaryKiosk& kiosk, fileio::FailureHook faults, std::function<void()> atEnd = {})
{
    RecordingMessages messages;
    Session run({.messages = &messages,
                 .endProgram =
                     [&] {
                         if (atEnd)
                             atEnd();
                         throw ProgramEnded{};
                     },
                 .imageTool = ImageToolChoice{}, // no tool: pictures are copied as they are
                 .fileFaults = std::move(faults)});
    const auto system = openKioskSystemHeadless(run, kiosk.folder());
    SessionProblems problems(system->session());
    PageMaker maker(*system, problems);
    maker.setPictureRuns(3);
    maker.makeAll();
    endsProgram(run, [&] { maker.run(); });
    return messages.texts();
}

// The picture changes while the make reads it (hashes it; each kind of change: file_fingerprint_test.cpp): the
// make says so naming it, the copy made before stays as it was and is not recorded, so that the next make makes
// it anew; the page is made.
TEST(ChangingPictures, PictureThatChangesWhileReadIsReportedAndItsCopyNotRecorded)
{
    TemporaryKiosk kiosk(makerConfiguration());
    makePicture(kiosk.path("news/cat.jpg"), 40, 30);
    makePicture(kiosk.path("news/dog.jpg"), 40, 30);
    writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#image cat.jpg", "#image dog.jpg"});
    EXPECT_EQ(makeAll(kiosk, {}), QStringList());
    const QString dog = kiosk.path("news/dog.jpg"), copy = kiosk.path("news/images/today00002.jpg");
    const QByteArray oldCopy = readBytes(copy), oldPage = readBytes(kiosk.path("news/today_con.htm"));
    makePicture(dog, 40, 30); // a new picture: the copy is made again
    const QStringList messages = makeAll(kiosk, [&](std::string_view operation, const std::string& target) {
        if (QFile file(dog);
            operation == "read" && QString::fromStdString(target) == dog && file.open(QIODevice::Append))
            file.write("x"); // grown in place
        return 0;
    });
    ASSERT_EQ(messages.size(), 1) << messages.join('\n').toStdString();
    EXPECT_TRUE(messages[0].startsWith("Picture " + dog + " changed while it was read - it was not copied"))
        << messages[0].toStdString();
    EXPECT_EQ(readBytes(copy), oldCopy);
    EXPECT_EQ(readBytes(kiosk.path("news/today_con.htm")), oldPage);
    const Jpeg::CopyRecord record = Jpeg::CopyRecord::load(kiosk.path("news/images"));
    EXPECT_TRUE(!record.find("today00002.jpg") && record.find("today00001.jpg"));
    EXPECT_EQ(QDir(kiosk.path("news/images")).entryList(QDir::Hidden | QDir::Files).filter(".zel-"),
              QStringList{".zel-copies"});
    // Once it holds still, the next make copies it.
    EXPECT_EQ(makeAll(kiosk, {}), QStringList());
    EXPECT_EQ(readBytes(copy), readBytes(dog));
}

// A copy that cannot be put in place ends the make with a fatal report while
// a later copy is done and held: by the time the program ends (it does not
// unwind then), no temporary of a copy (nor of its writing) is left.
TEST(ChangingPictures, FatalReportLeavesNoCopyTemporaries)
{
    TemporaryKiosk kiosk(makerConfiguration());
    for (const char* name : {"a", "b", "c"})
        makePicture(kiosk.path(QString("news/%1.jpg").arg(name)), 40, 30);
    writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#image a.jpg", "#image b.jpg", "#image c.jpg"});
    QDir().mkpath(kiosk.path("news/images/today00001.jpg/in-the-way"));
    // The first copy waits until the second has been written under its
    // temporary name, so that one is held when the first fails.
    const QString pid = QString::number(::getpid());
    std::mutex mutex;
    std::condition_variable written;
    bool secondWritten = false;
    const fileio::FailureHook faults = [&](std::string_view operation, const std::string& target) {
        const QString path = QString::fromStdString(target);
        std::unique_lock lock(mutex);
        if (operation == "rename" && path.endsWith("/.zel-copy-" + pid + "-2.jpg")) {
            secondWritten = true;
            written.notify_all();
        } else if (operation == "rename" && path.endsWith("/.zel-copy-" + pid + "-1.jpg")) {
            EXPECT_TRUE(written.wait_for(lock, std::chrono::minutes(1), [&] { return secondWritten; }));
        }
        return 0;
    };
    QStringList leftAtEnd{"not ended"};
    const QStringList messages = makeAll(kiosk, faults, [&] {
        leftAtEnd = QDir(kiosk.path("news/images")).entryList(QDir::Hidden | QDir::Files).filter(".zel-");
        leftAtEnd.removeAll(Jpeg::CopyRecord::FileName);
    });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Runtime error 75 in dlgMakePage.scaleImage")) << messages[0].toStdString();
    EXPECT_TRUE(secondWritten);
    EXPECT_EQ(leftAtEnd, QStringList());
}

} // namespace
