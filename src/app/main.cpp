// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_handover.h"
#include "app/main_window.h"
#include "app/qt_message_boxes.h"
#include "app/translations.h"
#include "app/window_closing.h"
#include "platform/session.h"
#include "preview/web_windows.h"
#include "runtime/error_handler.h"
#include "system/recovery_copies.h"
#include "workbench/workbench.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// After the main window's first paint.
constexpr int kWarmUpDelayMs = 500;

const char help[] = "Usage: zel-editor [OPTION]... [PAGE-SOURCE]...\n"
                    "The desktop program of the Ostervale Information Kiosk (ZEL): open or create a\n"
                    "kiosk system, edit its page sources, make them into pages, view them as the\n"
                    "kiosk shows them, check the kiosk system and export page folders.\n"
                    "Each PAGE-SOURCE (a .zel file, as a file manager hands it over) is opened in\n"
                    "an editor, with the kiosk system that holds it; when the program already\n"
                    "runs, it opens them.\n"
                    "\n"
                    "Options:\n"
                    "  -h, --help     show this help and exit\n"
                    "      --version  show the version and exit\n"
                    "  --             end of options\n"
                    "\n"
                    "Exit status:\n"
                    "  0  the program was closed, or help or version shown\n"
                    "  1  the program ended after reporting an unexpected problem\n";

// --help and --version are answered before any window system is needed, so
// that they work without a display. Returns the exit status when one of them
// was given.
std::optional<int> answerInformationOptions(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(QStringLiteral("version"));
    parser.addOptions({helpOption, versionOption});
    // Unknown arguments (among them Qt's own, such as -platform) are left to the program.
    parser.parse(arguments);
    if (parser.isSet(helpOption)) {
        std::fputs(help, stdout);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::fputs("zel-editor " ZEL_VERSION "\n", stdout);
        return 0;
    }
    return std::nullopt;
}

// The page sources named on the command line, as absolute paths (the program
// that opens them may run in another folder).
QStringList pageSourceArguments()
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.parse(QCoreApplication::arguments());
    QStringList files;
    for (const QString& argument : parser.positionalArguments())
        files.append(QFileInfo(argument).absoluteFilePath());
    return files;
}

// The net under every event handler: a failure that no command's boundary
// caught still becomes the fatal report instead of escaping into the event loop.
class EditorApplication : public QApplication {
public:
    using QApplication::QApplication;
    void setSession(Session* session) { m_session = session; }

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception&) {
            if (!m_session)
                throw;
            reportCaughtFailure(*m_session);
        }
    }

private:
    Session* m_session = nullptr;
};

} // namespace

// The desktop program: its session (message boxes, what ending the program and
// closing every window mean), the windows' workbench and the main window.
// Besides --help and --version the command line names page sources to open;
// while the program runs, a later start hands them to it and ends.
int main(int argc, char** argv)
{
    if (const std::optional<int> status = answerInformationOptions(argc, argv))
        return *status;

    EditorApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEL_Editor"));
    // The desktop entry's name, so that the window system matches the windows to
    // their launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("zel-editor"));
    // The windows in the desktop's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
    const Translations translations;

    const QStringList files = pageSourceArguments();
    FileHandover handover;
    if (handover.handOver(files))
        return 0;
    handover.listen();

    SessionServices services;
    services.endProgram = [] {
        std::fflush(nullptr);
        std::exit(1);
    };
    services.closeAllWindows = &WindowClosing::closeAllWindows;
    Session session(std::move(services));
    app.setSession(&session);
    RecoveryCopies recoveryCopies(RecoveryCopies::defaultFolder(), session.fileFaults());
    Workbench workbench(session);
    workbench.setRecoveryCopies(&recoveryCopies);
    // The message boxes go over the window that has the keyboard, which the workbench knows.
    QtMessageBoxes boxes(workbench.focus());
    session.setMessages(&boxes);

    MainWindow mainWindow(workbench);
    mainWindow.show();
    // The icon is drawn from SVG (a plug-in and its library to load): set as
    // soon as the window is up, every window takes it.
    QTimer::singleShot(0, &mainWindow, [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/zel-editor.svg"))); });
    // Once the window is up, the web windows' module is loaded and the web
    // engine started with nothing to show, so that the first View or Preview
    // does not wait for them. A module that cannot be loaded is reported when
    // a window needs it.
    QTimer::singleShot(kWarmUpDelayMs, &mainWindow, [&session] {
        if (WebWindows* windows = WebWindows::loadQuietly(session))
            windows->warmUp();
    });
    QObject::connect(&handover, &FileHandover::filesReceived, &mainWindow,
                     [&mainWindow](const QStringList& received) { openPageFiles(mainWindow, received); });
    if (!files.isEmpty())
        QMetaObject::invokeMethod(
            &mainWindow, [&mainWindow, files] { openPageFiles(mainWindow, files); }, Qt::QueuedConnection);
    const int status = QApplication::exec();
    app.setSession(nullptr);
    return status;
}
