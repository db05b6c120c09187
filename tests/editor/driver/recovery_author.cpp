// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-recovery-author: the desktop program's windows with an author at them,
// for the crash-recovery test (which starts it, kills it and starts it again).
//
//   zel-recovery-author type KIOSK_FOLDER PAGE TEXT [PAGE TEXT ...]
//     Opens the kiosk system, opens an editor per PAGE (a page source, or
//     new:N for a new page of type N), types TEXT at the end of its text with
//     keys (a line feed is Return), prints "ready" once every editor's
//     recovery copy is written, then waits to be killed.
//   zel-recovery-author open KIOSK_FOLDER ANSWER...
//     Opens the kiosk system answering its questions in turn (yes/no), then
//     prints one JSON line per question asked and per editor shown, and ends.
//
// Recovery copies go where the program keeps them (XDG_DATA_HOME decides).
#include "app/main_window.h"
#include "app/window_closing.h"
#include "editor/editor_window.h"
#include "platform/session.h"
#include "support/recording_messages.h"
#include "system/recovery_copies.h"
#include "workbench/workbench.h"

#include <QApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>

namespace {

void printLine(const QJsonObject& object)
{
    std::printf("%s\n", QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

EditorWindow* openEditor(Workbench& workbench, const QString& page)
{
    if (!page.startsWith(QStringLiteral("new:")))
        return EditorWindow::openOrRaise(workbench, page);
    auto* editor = new EditorWindow(workbench);
    const int type = page.mid(4).toInt();
    type == 1 ? editor->newLeafPage() : type == 2 ? editor->newBranchPage() : editor->newSelectorPage();
    return editor;
}

void typeInto(EditorWindow* editor, const QString& text)
{
    editor->activateWindow();
    if (!QTest::qWaitForWindowActive(editor))
        std::fprintf(stderr, "the editor did not become active\n");
    QTest::keyClick(editor->textArea(), Qt::Key_End, Qt::ControlModifier);
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(editor->textArea(), Qt::Key_Return);
        for (const QChar c : lines[i])
            QTest::sendKeyEvent(QTest::Click, editor->textArea(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

int copiesWritten(const RecoveryCopies& copies)
{
    return int(QDir(copies.folder()).entryList({QStringLiteral("*.zelrecovery")}, QDir::Files).size());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEL_Editor"));
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: zel-recovery-author type|open KIOSK_FOLDER ...\n");
        return 2;
    }
    RecordingMessages messages;
    for (const QString& answer : args.mid(3))
        if (args[1] == QStringLiteral("open"))
            messages.scriptAnswers({answer == QStringLiteral("yes") ? Answer::Yes : Answer::No});
    SessionServices services;
    services.messages = &messages;
    services.endProgram = [] {
        std::fflush(nullptr);
        std::exit(3);
    };
    services.closeAllWindows = &WindowClosing::closeAllWindows;
    Session session(std::move(services));
    RecoveryCopies recoveryCopies(RecoveryCopies::defaultFolder());
    Workbench workbench(session);
    workbench.setRecoveryCopies(&recoveryCopies);

    MainWindow mainWindow(workbench);
    mainWindow.show();
    mainWindow.openKioskSystem(args[2]);

    if (args[1] == QStringLiteral("open")) {
        for (const RecordingMessages::Entry& entry : messages.entries())
            if (entry.kind == RecordingMessages::Entry::YesNo || entry.kind == RecordingMessages::Entry::YesNoCancel)
                printLine({{QStringLiteral("asked"), entry.text}});
        for (QWidget* window : workbench.order().windowsInOpeningOrder())
            if (auto* editor = qobject_cast<EditorWindow*>(window); editor && editor->isVisible())
                printLine({{QStringLiteral("editor"), editor->filePath()},
                           {QStringLiteral("title"), editor->windowHandle()->title()},
                           {QStringLiteral("changed"), editor->isPageChanged()},
                           {QStringLiteral("text"), editor->bodyText()}});
        return 0;
    }

    int editors = 0;
    for (qsizetype i = 3; i + 1 < args.size(); i += 2, ++editors)
        typeInto(openEditor(workbench, args[i]), args[i + 1]);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (copiesWritten(recoveryCopies) == editors) {
            poll.stop();
            std::printf("ready\n");
            std::fflush(stdout);
        }
    });
    poll.start(50);
    return QApplication::exec();
}
