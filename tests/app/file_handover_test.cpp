// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_handover.h"
#include "support/window_fixture.h"

namespace {

class FileHandoverTest : public WindowTest {
protected:
    QString at(const QString& relative) const { return QDir::toNativeSeparators(m_root.filePath(relative)); }
    QTemporaryDir m_root;
};

// The kiosk system a file belongs to: the folder above the page's folder, when it holds configuration.txt or
// root/root.zel.
TEST_F(FileHandoverTest, KioskSystemOfPageTable)
{
    writeTextFile(at("k/configuration.txt"), {});
    writeBytes(at("r/root/root.zel"), "#root\r\n");
    for (const char* page : {"k/news/today.zel", "k/news/OLD.ZEL", "k/stray.zel", "k/news/notes.txt", "x/news/a.zel"})
        writeBytes(at(page), "#leaf\r\n");
    const struct {
        const char* name;
        const char* page;
        const char* kiosk; // "" none
    } rows[] = {
        {"page beside configuration.txt's folder", "k/news/today.zel", "k"},
        {"suffix in capitals", "k/news/OLD.ZEL", "k"},
        {"root page of a kiosk system without configuration.txt", "r/root/root.zel", "r"},
        {"page in the kiosk system folder itself", "k/stray.zel", ""},
        {"not a page source", "k/news/notes.txt", ""},
        {"missing page", "k/news/gone.zel", ""},
        {"folder above holds no kiosk system", "x/news/a.zel", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FileHandover::kioskSystemOfPage(at(row.page)),
                  *row.kiosk ? at(row.kiosk) + QDir::separator() : QString())
            << row.name;
}

// A later start hands its files to the running program over the socket, and the program opens each in its kiosk
// system; the same start without a running program (or with a stale socket) is told to run on its own.
TEST_F(FileHandoverTest, LaterStartHandsItsFilesToTheRunningProgram)
{
    const QString socket = at("s");
    const QStringList files{kiosk.path("news/today.zel"), at("k/news/a b.zel"), at("x/news/a.zel")};
    writeBytes(files[0], "#leaf\r\n");
    writeTextFile(at("k/configuration.txt"), {});
    writeBytes(files[1], "#leaf\r\n");
    writeBytes(files[2], "#leaf\r\n");
    EXPECT_FALSE(FileHandover(socket).handOver(files)) << "none runs";
    writeBytes(socket, ""); // left by a program that ended without removing its socket
    EXPECT_FALSE(FileHandover(socket).handOver(files)) << "a stale socket";
    FileHandover running(socket);
    ASSERT_TRUE(running.listen());
    QList<QStringList> received;
    QObject::connect(&running, &FileHandover::filesReceived, [&](const QStringList& got) { received.append(got); });
    for (const QStringList& handed : {files, QStringList()})
        EXPECT_TRUE(FileHandover(socket).handOver(handed));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 20000));
    EXPECT_EQ(received, (QList<QStringList>{files, {}}));

    // The first page is of the open kiosk system; opening the second's closes its editor.
    openPageFiles(mainWindow(), files);
    EXPECT_EQ(main->recentEntry(1), at("k") + QDir::separator());
    EXPECT_EQ(visibleWindows<EditorWindow>(), QList<EditorWindow*>{EditorWindow::editorOn(files[1])});
    EXPECT_EQ(kiosk.messages.texts(),
              QStringList{files[2]
                          + "\r\nis not a page of a kiosk system: a page source (.zel) lies in a folder of a kiosk "
                            "system folder, the folder that holds configuration.txt or root/root.zel."});
}

} // namespace
