// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every file of the kiosk system folder with its time and bytes, except the log files each open writes.
QMap<QString, QPair<QDateTime, QByteArray>> kioskFiles(const QString& folder)
{
    auto files = folderSnapshot(folder);
    files.removeIf([](const auto& file) {
        return file.key().startsWith("log") && file.key().endsWith(".txt") && !file.key().contains('/');
    });
    return files;
}

// The program (zel-recovery-author: the desktop program's windows with an author at them) in a home of its own.
class CrashRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeTextFile(kiosk + "configuration.txt", {});
        writeBytes(kiosk + "root/root.zel", "#root\r\n");
        writeBytes(kiosk + "news/today.zel", "#leaf\r\n#title Today\r\n");
        environment.insert("XDG_DATA_HOME", home.filePath("data"));
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    }

    void start(QProcess& process, const QStringList& arguments)
    {
        process.setProcessEnvironment(environment);
        process.start(ZEL_RECOVERY_AUTHOR, arguments);
    }
    // The lines (JSON objects) a run printed, to its end.
    QStringList run(const QStringList& arguments)
    {
        QProcess process;
        start(process, arguments);
        EXPECT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
        lines.removeAll(QString());
        return lines;
    }
    QStringList copies() const
    {
        return QDir(home.filePath("data/ZEL_Editor/recovery")).entryList({"*.zelrecovery"}, QDir::Files);
    }
    static QString line(const QJsonObject& object)
    {
        return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    }
    static QString asked(const QString& text) { return line({{"asked", text}}); }
    static QString editor(const QString& path, const QString& title, const QString& text)
    {
        return line({{"editor", path}, {"title", title}, {"changed", true}, {"text", text}});
    }

    QTemporaryDir home;
    const QString kiosk = home.filePath("kiosk") + "/";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

// Text typed into a page and into a new page, the program killed (SIGKILL) once the recovery copies are written:
// the next open of the kiosk system offers each page; Yes puts the exact text into an editor marked changed (and
// it is kept again while that run lives); a later No drops the copy; nothing of it is written into the kiosk
// system folder.
TEST_F(CrashRecoveryTest, TextsTypedBeforeAKillAreOfferedAndRestoredExactly)
{
    const QString today = kiosk + "news/today.zel";
    const QString typedToday = QString::fromUtf8("#para\nTyped before the kill: caf\u00e9 & <b>");
    const QString typedNew = "#title Never saved\n#para\nSecond editor";
    const auto before = kioskFiles(kiosk);

    QProcess typing;
    start(typing, {"type", kiosk, today, typedToday, "new:1", typedNew});
    QByteArray output;
    QElapsedTimer elapsed;
    elapsed.start();
    while (!output.contains("ready\n") && typing.waitForReadyRead(120000 - int(elapsed.elapsed())))
        output += typing.readAllStandardOutput();
    ASSERT_TRUE(output.contains("ready\n")) << output.toStdString() << typing.readAllStandardError().toStdString();
    EXPECT_EQ(copies().size(), 2);
    typing.kill(); // SIGKILL: no window closes, nothing is cleaned up
    ASSERT_TRUE(typing.waitForFinished(60000));
    EXPECT_EQ(typing.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(copies().size(), 2) << "the killed run left its copies";

    const QString offerToday = "ZEL ended without saving the text of page " + QDir::toNativeSeparators(today)
                               + ".\r\nDo you want to restore it into an editor?";
    const QString offerNew = "ZEL ended without saving the text of a new page.\r\n"
                             "Do you want to restore it into an editor?";
    EXPECT_EQ(run({"open", kiosk, "yes", "yes"}),
              (QStringList{asked(offerToday), asked(offerNew),
                           editor(today, "ZEL (Editor) Leaf Page - news\\today*", "#title Today\n" + typedToday),
                           editor("", "ZEL (Editor) New Leaf page*", typedNew)}));
    EXPECT_EQ(copies().size(), 2) << "the restored editors keep copies of their own";

    EXPECT_EQ(run({"open", kiosk, "no", "no"}), (QStringList{asked(offerToday), asked(offerNew)}));
    EXPECT_EQ(copies(), QStringList()) << "No drops a copy";
    EXPECT_EQ(run({"open", kiosk}), QStringList()) << "nothing left to offer";

    EXPECT_EQ(kioskFiles(kiosk), before);
    EXPECT_EQ(readBytes(today), "#leaf\r\n#title Today\r\n");
}

} // namespace
