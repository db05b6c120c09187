// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times the live preview against Save, Make && View on one generated page:
// a leaf page of 50 lines with 5 pictures whose copies zel-make has made.
#include "editor/editor_window.h"
#include "platform/session.h"
#include "preview/preview_window.h"
#include "system/open_kiosk_system.h"
#include "viewer/viewer_window.h"
#include "workbench/workbench.h"

#include "support/bench_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A photograph-sized picture with some detail, so its copy is a real resample.
void writePicture(const QString& path, int seed)
{
    QImage image(1600, 1200, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int y = 0; y < 1200; y += 40)
        for (int x = 0; x < 1600; x += 40)
            painter.fillRect(x, y, 40, 40, QColor::fromHsv((x + y + seed * 50) % 360, 180, 200));
    painter.end();
    image.save(path, "JPEG", 90);
}

void generate(const QString& templateFolder, const QString& top)
{
    copyFolder(templateFolder, top);
    QDir().mkpath(top + "bench");
    QByteArray page = "#leaf\r\n#title Bench page\r\n";
    for (int i = 1; i <= 5; ++i) {
        writePicture(top + QString("bench/picture%1.jpg").arg(i), i);
        page += "#image picture" + QByteArray::number(i) + ".jpg left 40%\r\n#para\r\n";
        for (int line = 0; line < 8; ++line)
            page += "Line " + QByteArray::number(line) + " of the paragraph about picture " + QByteArray::number(i)
                    + ".\r\n";
    }
    writeFile(top + "bench/page.zel", page);
}

struct Figures {
    double median;
    double worst;
};

Figures figures(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

} // namespace

int main(int argc, char** argv)
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int edits = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    Session session;
    QTemporaryDir dir;
    const QString top = dir.path() + "/kiosk/";
    generate(session.programFolder() + "Template", top);
    // The copies and their record, as a make leaves them.
    if (runQuietly(session.programFolder() + "zel-make", {top}) != 0) {
        std::fprintf(stderr, "zel-make failed\n");
        return 1;
    }
    const auto kiosk = openKioskSystemHeadless(session, top, false);
    Workbench workbench(session);
    workbench.setKioskSystem(kiosk.get());

    auto* editor = new EditorWindow(workbench);
    editor->editPage(top + "bench/page.zel");
    editor->findChild<QAction*>("previewAction")->trigger();
    PreviewWindow& preview = workbench.instance<PreviewWindow>();
    int shown = 0;
    QObject::connect(&preview, &PreviewWindow::pageShown, [&] { ++shown; });
    if (!waitUntil([&] { return shown > 0; })) {
        std::fprintf(stderr, "no preview: %s\n", qPrintable(preview.statusLabel()->text()));
        return 1;
    }

    // Each edit types a word at the end of a paragraph line, one key at a
    // time; the clock starts at its last key.
    std::vector<double> toPreview;
    std::vector<double> makes;
    QPlainTextEdit* text = editor->textArea();
    for (int edit = 0; edit < edits; ++edit) {
        QTextCursor cursor(text->document()->findBlockByNumber(3 + (edit % 8)));
        cursor.movePosition(QTextCursor::EndOfBlock);
        text->setTextCursor(cursor);
        const int before = shown;
        QElapsedTimer sinceLastKey;
        for (const QChar c : QString(" edit%1").arg(edit)) {
            text->insertPlainText(QString(c));
            sinceLastKey.start();
            QCoreApplication::processEvents();
        }
        if (!waitUntil([&] { return shown > before && !preview.isMaking(); })) {
            std::fprintf(stderr, "the preview did not follow edit %d\n", edit);
            return 1;
        }
        toPreview.push_back(double(sinceLastKey.elapsed()));
        makes.push_back(double(preview.lastMakeMs()));
    }

    // Save, Make && View after one edit each time, to the page loaded in the viewer.
    std::vector<double> saveMakeView;
    for (int run = 0; run < 5; ++run) {
        text->moveCursor(QTextCursor::End);
        text->insertPlainText(QString("#para\nSaved %1\n").arg(run));
        ViewerWindow& viewer = workbench.instance<ViewerWindow>();
        bool loaded = false;
        QObject::connect(viewer.webView(1), &QWebEngineView::loadFinished, &viewer, [&] { loaded = true; });
        QElapsedTimer command;
        command.start();
        editor->saveMakeView();
        if (!waitUntil([&] { return loaded; })) {
            std::fprintf(stderr, "the viewer did not load the page\n");
            return 1;
        }
        saveMakeView.push_back(double(command.elapsed()));
        viewer.close();
        waitUntil([&] { return !workbench.exists<ViewerWindow>(); });
    }

    const Figures typed = figures(toPreview);
    const Figures make = figures(makes);
    const Figures smv = figures(saveMakeView);
    std::printf("last key to updated preview: median %.0f ms\n", typed.median);
    std::printf("Page of 50 lines and 5 pictures (copies made), %d edits:\n", edits);
    std::printf("  last key to updated preview: median %.0f ms, worst %.0f ms (pause %d ms included)\n", typed.median,
                typed.worst, PreviewWindow::kPauseMs);
    std::printf("  after the pause:             median %.0f ms, worst %.0f ms\n",
                typed.median - PreviewWindow::kPauseMs, typed.worst - PreviewWindow::kPauseMs);
    std::printf("  preview make (zel-make run): median %.0f ms, worst %.0f ms\n", make.median, make.worst);
    std::printf("Save, Make && View to the page loaded in the viewer (5 runs): median %.0f ms, worst %.0f ms\n",
                smv.median, smv.worst);
    editor->textArea()->document()->setModified(false);
    editor->close();
    preview.close();
    return 0;
}
