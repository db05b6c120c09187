// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/check_kiosk.h"
#include "support/window_fixture.h"
#include "system/recovery_copies.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QWindow>
#include <cstdio>

namespace {

QString jsonLine(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

// The author's part of CrashRecovery.TextsTypedBeforeAKillAreOfferedAndRestoredExactly, run in a process of its own
// that the test starts, kills and starts again, with the recovery copies in ZEL_RECOVERY_COPIES. ZEL_RECOVERY holds
// its steps, separated by "|": "type|KIOSK|PAGE|TEXT..." opens the kiosk system, an editor per PAGE (a page source,
// or "new" for a new leaf page), types its TEXT at the end with keys (a line feed is Return), prints "ready" once
// every recovery copy is written and waits to be killed; "open|KIOSK|ANSWER..." opens the kiosk system answering its
// questions (yes/no), prints a JSON line per question asked and per editor shown, and ends without closing a window.
using RecoveryAuthor = WindowTest;

TEST_F(RecoveryAuthor, DISABLED_TypesOrOpens)
{
    const QStringList steps = qEnvironmentVariable("ZEL_RECOVERY").split(u'|');
    ASSERT_GE(steps.size(), 2) << "run by CrashRecovery, with ZEL_RECOVERY set";
    RecoveryCopies copies(qEnvironmentVariable("ZEL_RECOVERY_COPIES"));
    workbench.setRecoveryCopies(&copies);
    const auto print = [](const QString& line) { std::printf("%s\n", qPrintable(line)), std::fflush(stdout); };
    if (steps[0] == "open") {
        for (const QString& answer : steps.mid(2))
            kiosk.messages.scriptAnswers({answer == "yes" ? Answer::Yes : Answer::No});
        mainWindow().openKioskSystem(steps[1]);
        for (const RecordingMessages::Entry& entry : kiosk.messages.entries())
            if (entry.kind == RecordingMessages::Entry::YesNo || entry.kind == RecordingMessages::Entry::YesNoCancel)
                print(jsonLine({{"asked", entry.text}}));
        for (QWidget* window : workbench.order().windowsInOpeningOrder())
            if (auto* editor = qobject_cast<EditorWindow*>(window); editor && editor->isVisible())
                print(jsonLine({{"editor", editor->filePath()},
                                {"title", editor->windowHandle()->title()},
                                {"changed", editor->isPageChanged()},
                                {"text", editor->bodyText()}}));
        std::_Exit(HasFailure() ? 1 : 0);
    }
    mainWindow().openKioskSystem(steps[1]);
    for (qsizetype i = 2; i + 1 < steps.size(); i += 2) {
        EditorWindow* editor = steps[i] == "new" ? newEditor(1) : EditorWindow::openOrRaise(workbench, steps[i]);
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
        QTest::keyClick(editor->textArea(), Qt::Key_End, Qt::ControlModifier);
        for (const QChar c : steps[i + 1])
            c == u'\n' ? QTest::keyClick(editor->textArea(), Qt::Key_Return)
                       : QTest::sendKeyEvent(QTest::Click, editor->textArea(), Qt::Key_unknown, c, Qt::NoModifier);
    }
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QDir(copies.folder()).entryList({"*.zelrecovery"}).size() == (steps.size() - 2) / 2; }, 60000));
    print("ready");
    QEventLoop().exec();
}

// Text typed into a page and into a new page, the program killed (SIGKILL) once the recovery copies are written:
// the next open of the kiosk system offers each page; Yes puts the exact text into an editor marked changed (and
// it is kept again while that run lives); a later No drops the copy; nothing of it is written into the kiosk
// system folder.
TEST(CrashRecovery, TextsTypedBeforeAKillAreOfferedAndRestoredExactly)
{
    QTemporaryDir home;
    const QString kiosk = home.filePath("kiosk") + "/", today = kiosk + "news/today.zel";
    writeTextFile(kiosk + "configuration.txt", {});
    writeBytes(kiosk + "root/root.zel", "#root\r\n");
    writeBytes(today, "#leaf\r\n#title Today\r\n");
    const auto before = folderSnapshot(kiosk);
    const auto start = [&](QProcess& process, const QStringList& steps) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ZEL_RECOVERY", steps.join(u'|'));
        environment.insert("ZEL_RECOVERY_COPIES", home.filePath("recovery"));
        process.setProcessEnvironment(environment);
        process.start(QCoreApplication::applicationFilePath(),
                      {"--gtest_filter=RecoveryAuthor.DISABLED_TypesOrOpens", "--gtest_also_run_disabled_tests"});
    };
    // The JSON lines a run printed, to its end.
    const auto run = [&](const QStringList& steps) {
        QProcess process;
        start(process, steps);
        EXPECT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardOutput().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n').filter(QRegularExpression("^\\{"));
    };
    const auto copies = [&] { return QDir(home.filePath("recovery")).entryList({"*.zelrecovery"}, QDir::Files); };
    const QString typedToday = QString::fromUtf8("#para\nTyped before the kill: caf\u00e9 & <b>");
    const QString typedNew = "#title Never saved\n#para\nSecond editor";

    QProcess typing;
    start(typing, {"type", kiosk, today, typedToday, "new", typedNew});
    QByteArray output;
    QElapsedTimer elapsed;
    elapsed.start();
    while (!output.contains("\nready\n") && typing.waitForReadyRead(120000 - int(elapsed.elapsed())))
        output += typing.readAllStandardOutput();
    ASSERT_TRUE(output.contains("\nready\n")) << output.toStdString() << typing.readAllStandardError().toStdString();
    typing.kill(); // SIGKILL: no window closes, nothing is cleaned up
    ASSERT_TRUE(typing.waitForFinished(60000));
    EXPECT_EQ(copies().size(), 2) << "the killed run left its copies";

    const auto asked = [](const QString& page) {
        return jsonLine({{"asked", "ZEL ended without saving the text of " + page
                                       + ".\r\nDo you want to restore it into an editor?"}});
    };
    const QStringList offers{asked("page " + QDir::toNativeSeparators(today)), asked("a new page")};
    const auto editor = [](const QString& path, const QString& title, const QString& text) {
        return jsonLine({{"editor", path}, {"title", title}, {"changed", true}, {"text", text}});
    };
    EXPECT_EQ(run({"open", kiosk, "yes", "yes"}),
              (offers
               + QStringList{editor(today, "ZEL (Editor) Leaf Page - news\\today*", "#title Today\n" + typedToday),
                             editor("", "ZEL (Editor) New Leaf page*", typedNew)}));
    EXPECT_EQ(copies().size(), 2) << "the restored editors keep copies of their own";
    EXPECT_EQ(run({"open", kiosk, "no", "no"}), offers);
    EXPECT_EQ(copies(), QStringList()) << "No drops a copy";
    EXPECT_EQ(run({"open", kiosk}), QStringList()) << "nothing left to offer";
    auto after = folderSnapshot(kiosk);
    after.removeIf([](const auto& file) { return file.key().startsWith("log") && !file.key().contains('/'); });
    EXPECT_EQ(after, before) << "nothing written but the logs of the opens";
}

} // namespace
