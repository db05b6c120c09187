// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-editor-shots KIOSK_FOLDER PAGE_SOURCE OUTPUT_FOLDER
// Opens the kiosk system, shows the page source in an editor window and the
// insert dialog in each of its modes (with sample entries filled in), and
// saves each as OUTPUT_FOLDER/editor-<name>.png: editor-page.png,
// editor-button.png, editor-image.png, editor-item.png. Then types a button
// to a page that does not exist and saves the editor, its line underlined
// and its problem shown on hover, beside the Preview window as
// editor-preview.png. Before those, the main window's start view listing the
// kiosk system as a recent one and then with it open (desk-recent.png,
// desk-open.png); after them, the editor on a dark palette (editor-dark.png).
// Runs without a display; its settings go to a temporary folder.
#include "app/main_window.h"
#include "base/screen_size.h"
#include "common/event_wait.h"
#include "editor/editor_preview.h"
#include "editor/editor_window.h"
#include "editor/insert_dialog.h"
#include "editor/problem_marks.h"
#include "platform/session.h"
#include "preview/preview_window.h"
#include "system/open_kiosk_system.h"
#include "workbench/workbench.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// Saves windows as editor-<name>.png in one folder and counts what could not be saved.
class Shots {
public:
    explicit Shots(QString folder) : m_folder(std::move(folder)) {}

    void save(QWidget& widget, const QString& name, const QString& prefix = QStringLiteral("editor-"))
    {
        QApplication::processEvents();
        save(widget.grab().toImage(), name, prefix);
    }

    void save(const QImage& image, const QString& name, const QString& prefix = QStringLiteral("editor-"))
    {
        const QString path = m_folder + u'/' + prefix + name + QStringLiteral(".png");
        if (!image.save(path)) {
            std::fprintf(stderr, "could not save %s\n", qPrintable(path));
            ++m_failures;
        }
    }

    // Once the insert dialog is shown modally: fills in its boxes, saves it under
    // the last word of its title ("button", "image", "item") and cancels it.
    void whenInsertDialogShown()
    {
        QTimer::singleShot(0, [this] {
            auto* dialog = qobject_cast<InsertDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                whenInsertDialogShown();
                return;
            }
            for (const auto& [box, text] : {std::pair{dialog->folderEdit(), "news"},
                                            {dialog->pageEdit(), "today"},
                                            {dialog->textEdit(), "Today"},
                                            {dialog->imageEdit(), "/home/author/pictures/harbour at dusk.jpg"},
                                            {dialog->widthEdit(), "45"}})
                box->setText(QString::fromUtf8(text));
            save(*dialog, dialog->windowTitle().section(u' ', -1).toLower());
            dialog->cancelButton()->click();
        });
    }

    int failures() const { return m_failures; }

private:
    QString m_folder;
    int m_failures = 0;
};

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Fusion with a dark palette, as a dark desktop theme gives it.
void useDarkPalette()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x6d, 0xb5));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    QApplication::setPalette(dark);
}

// The editor with a line underlined and its problem's text shown on hover,
// and the Preview window beside it; none when the preview did not come.
QImage editorBesidePreview(EditorWindow& editor, Workbench& workbench)
{
    QPlainTextEdit* text = editor.textArea();
    text->moveCursor(QTextCursor::End);
    text->insertPlainText(QStringLiteral("#button visiting\\ferry Ferry times"));
    const int line = text->textCursor().blockNumber();
    editor.findChild<QAction*>(QStringLiteral("previewAction"))->trigger();
    PreviewWindow& preview = workbench.instance<PreviewWindow>();
    preview.resize(560, 640);
    bool shown = false;
    QObject::connect(&preview, &PreviewWindow::pageShown, [&] { shown = true; });
    if (!waitUntil([&] { return shown && !preview.isMaking() && !editor.preview()->marks().markedLines().isEmpty(); },
                   30000))
        return {};
    settle(800); // the kiosk's script fits the captions after the load

    QTextCursor inLine(text->document()->findBlockByNumber(line));
    inLine.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 12);
    const QPoint point = text->cursorRect(inLine).bottomLeft();
    QHelpEvent hover(QEvent::ToolTip, point, text->viewport()->mapToGlobal(point));
    QApplication::sendEvent(text->viewport(), &hover);
    QApplication::processEvents();
    QWidget* tip = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QTipLabel") && widget->isVisible())
            tip = widget;

    const QImage left = editor.grab().toImage();
    const QImage right = preview.grab().toImage();
    const int gap = 16;
    QImage both(left.width() + gap + right.width(), std::max(left.height(), right.height()), QImage::Format_RGB32);
    both.fill(QColor(0xd8, 0xd8, 0xd8));
    QPainter painter(&both);
    painter.drawImage(0, 0, left);
    if (tip)
        painter.drawImage(text->viewport()->mapTo(&editor, point) + QPoint(8, 6), tip->grab().toImage());
    painter.drawImage(left.width() + gap, 0, right);
    painter.end();
    QToolTip::hideText();
    return both;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: zel-editor-shots KIOSK_FOLDER PAGE_SOURCE OUTPUT_FOLDER\n");
        return 2;
    }
    const auto absolute = [](const QString& path) {
        return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    };
    const QString output = absolute(args.at(3));
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(output));
        return 1;
    }
    SessionServices services;
    services.endProgram = [] {
        std::fflush(nullptr);
        std::exit(1);
    };
    Session session(std::move(services));
    Shots shots(output);
    const QString folder = absolute(args.at(1)) + QDir::separator();
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZEL_Editor"))
        .setValue(QStringLiteral("RecentFiles/f1"), folder);
    {
        Workbench desk(session);
        MainWindow main(desk);
        main.setScreenSizeProvider(std::make_unique<FixedScreenSize>(QSize(1024, 768)));
        main.show();
        shots.save(main, QStringLiteral("recent"), QStringLiteral("desk-"));
        main.openKioskSystem(folder);
        shots.save(main, QStringLiteral("open"), QStringLiteral("desk-"));
    }
    const auto kioskSystem = openKioskSystemHeadless(session, absolute(args.at(1)) + QDir::separator(), false);

    Workbench workbench(session);
    workbench.setKioskSystem(kioskSystem.get());
    auto* editor = new EditorWindow(workbench);
    if (!editor->editPage(absolute(args.at(2)))) {
        std::fprintf(stderr, "cannot edit %s\n", qPrintable(args.at(2)));
        return 1;
    }
    editor->show();
    shots.save(*editor, QStringLiteral("page"));

    shots.whenInsertDialogShown();
    workbench.instance<InsertDialog>().openInsertButton(editor);
    shots.whenInsertDialogShown();
    workbench.instance<InsertDialog>().openInsertImage(editor->filePath(), editor);
    shots.whenInsertDialogShown();
    workbench.instance<InsertDialog>().openInsertItem(editor->filePath(), editor);

    const QImage besidePreview = editorBesidePreview(*editor, workbench);
    if (besidePreview.isNull()) {
        std::fprintf(stderr, "the preview did not show the page\n");
        return 1;
    }
    shots.save(besidePreview, QStringLiteral("preview"));
    editor->textArea()->document()->setModified(false);

    useDarkPalette();
    auto* dark = new EditorWindow(workbench);
    if (!dark->editPage(absolute(args.at(2)))) {
        std::fprintf(stderr, "cannot edit %s\n", qPrintable(args.at(2)));
        return 1;
    }
    dark->show();
    shots.save(*dark, QStringLiteral("dark"));
    return shots.failures() == 0 ? 0 : 1;
}
