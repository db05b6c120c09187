// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-kiosk [--follow PUBLISHED_FOLDER] KIOSK_FOLDER
// zel-kiosk --check KIOSK_FOLDER
// zel-kiosk --status [--json]
// zel-kiosk --step-back
// Shows a made kiosk system full-screen, unattended. A wrong command line
// prints the reason and the usage on standard error and exits with 2.
#include "event_log.h"
#include "heartbeat.h"
#include "kiosk_gate.h"
#include "kiosk_player.h"
#include "qt_speech_engine.h"
#include "kiosk_settings.h"
#include "service_notifier.h"
#include "state_folder.h"
#include "version_follower.h"
#include "version_store.h"

#include "fileio/atomic_file.h"
#include "platform/session.h"
#include "runtime/error_handler.h"

#include "common/tool_command_line.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

enum Exit { Success = 0, Refused = 1, Usage = ToolCommandLine::kWrongLine, GaveUp = 3 };

const char usage[] = "Usage: zel-kiosk [--follow PUBLISHED_FOLDER] KIOSK_FOLDER\n"
                     "       zel-kiosk --check KIOSK_FOLDER\n"
                     "       zel-kiosk --status [--json]\n"
                     "       zel-kiosk --step-back\n";

const char help[] = "Shows the made kiosk system in KIOSK_FOLDER full-screen, one window per\n"
                    "configured screen, at its root page, and keeps it there: no key, menu,\n"
                    "pop-up or download leads out of it, a crashed or frozen page comes back,\n"
                    "and after idleSeconds without a touch every screen returns to the root page.\n"
                    "A kiosk system without its root page, with buttons or items that lead\n"
                    "nowhere, or with pages or the files they name missing or damaged, is\n"
                    "refused. Settings: section [Kiosk] of ~/.config/ZEL_Editor.ini;\n"
                    "log, heartbeat, page views and versions: ~/.local/state/zel-kiosk.\n"
                    "\n"
                    "Options:\n"
                    "      --follow FOLDER  watch FOLDER, where new versions of the kiosk system\n"
                    "                       are copied (or where the export's cabinet files are\n"
                    "                       dropped); each is taken once its marker\n"
                    "                       published.txt (written last) says it is complete,\n"
                    "                       checked and shown at the next return to the root page\n"
                    "      --check          show nothing: list why KIOSK_FOLDER would be refused\n"
                    "      --status         print the running kiosk's heartbeat and exit\n"
                    "      --json           (with --status) print it as one JSON object\n"
                    "      --step-back      show the version shown before the current one (of a\n"
                    "                       following kiosk) from its next start on; restart the\n"
                    "                       kiosk then (a second --step-back returns to the newer)\n"
                    "  -h, --help           show this help and exit\n"
                    "      --version        show the version and exit\n"
                    "\n"
                    "Quit: Ctrl+Alt+Shift+Q, or the key combination set as quitKeys; SIGTERM\n"
                    "(systemctl stop) ends the kiosk as cleanly, with status 0.\n"
                    "\n"
                    "Exit status:\n"
                    "  0  ended by the quit keys (--check: nothing to refuse; --status: running)\n"
                    "  1  the kiosk system was refused, or another zel-kiosk runs on the state\n"
                    "     folder (--status: not running, or in a restart loop; --step-back: no\n"
                    "     version to step back to)\n"
                    "  2  a wrong command line or settings file\n"
                    "  3  a page failed restartLimit restarts in a row: ended for the service\n"
                    "     to start afresh\n";

QStringList argumentList(int argc, char** argv)
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    return arguments;
}

// The following kiosk's previous version becomes its current one.
int stepBack()
{
    const QString root = StateFolder::file(QStringLiteral("versions"));
    VersionStore store(root);
    const QString newer = store.current();
    try {
        if (!store.stepBack()) {
            printText(stderr, QStringLiteral("zel-kiosk: no earlier version to step back to in ") + root + u'\n');
            return Refused;
        }
    } catch (const fileio::FileError& error) {
        printText(stderr, QStringLiteral("zel-kiosk: could not write ") + QString::fromStdString(error.path())
                              + QStringLiteral(": ") + QString::fromStdString(error.reason()) + u'\n');
        return Refused;
    }
    EventLog::write(QStringLiteral("stepped back from ") + newer + QStringLiteral(" to ") + store.current());
    printText(stdout, QStringLiteral("shown from the next start: ") + store.current()
                          + QStringLiteral("\nstepped back from: ") + newer + u'\n');
    return Success;
}

int status(bool json)
{
    const QString path = StateFolder::file(QStringLiteral("heartbeat.txt"));
    const std::optional<Heartbeat> beat = Heartbeat::read(path);
    if (!beat) {
        const QString text = QStringLiteral("not running (no heartbeat in ") + path + u')';
        printText(stdout, json ? QString::fromUtf8(
                              QJsonDocument(QJsonObject{{QStringLiteral("state"), QStringLiteral("not running")},
                                                        {QStringLiteral("status"), text}})
                                  .toJson())
                               : QStringLiteral("state: ") + text + u'\n');
        return Refused;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QString versions = StateFolder::file(QStringLiteral("versions"));
    QString refused, notTaken;
    if (QFileInfo::exists(versions)) {
        const VersionStore store(versions);
        refused = store.refused();
        notTaken = store.notTaken();
    }
    if (json) {
        QJsonObject object = QJsonDocument::fromJson(beat->statusJson(now).toUtf8()).object();
        object.insert(QStringLiteral("versionRefused"), refused.isEmpty() ? QJsonValue() : QJsonValue(refused));
        object.insert(QStringLiteral("versionNotTaken"), notTaken.isEmpty() ? QJsonValue() : QJsonValue(notTaken));
        printText(stdout, QString::fromUtf8(QJsonDocument(object).toJson()));
    } else {
        printText(stdout, beat->statusText(now));
        if (!refused.isEmpty())
            printText(stdout, QStringLiteral("last version refused: ") + refused + u'\n');
        if (!notTaken.isEmpty())
            printText(stdout, QStringLiteral("last version not taken (tried again): ") + notTaken + u'\n');
    }
    return beat->alive(now) ? Success : Refused;
}

// SIGTERM and SIGINT end the kiosk as its quit keys do: the signal handler
// only writes a byte, read in the event loop (or, before it runs, once the
// start-up check is done).
int signalPipe[2] = {-1, -1};

void onSignal(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

// The name of the end signal that arrived, or empty.
QString endSignal()
{
    char byte = 0;
    if (signalPipe[0] < 0 || ::recv(signalPipe[0], &byte, 1, MSG_DONTWAIT) != 1)
        return QString();
    return byte == SIGINT ? QStringLiteral("SIGINT") : QStringLiteral("SIGTERM");
}

void onEndSignal(QObject* context, const std::function<void(const QString&)>& end)
{
    if (signalPipe[0] < 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [end] {
        if (const QString name = endSignal(); !name.isEmpty())
            end(name);
    });
}

void catchEndSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

// Prints why the folder may not be shown (and keeps it in why); true when
// nothing stands in the way.
bool judged(Session& session, const QString& folder, int& screens, QString* why = nullptr)
{
    if (!QFileInfo(folder).isDir()) {
        printText(stderr, QStringLiteral("zel-kiosk: ") + folder + QStringLiteral(" is not a folder\n"));
        if (why)
            *why = QStringLiteral("not a folder");
        return false;
    }
    // A failure the check did not catch is a report on standard error that
    // ends the program with status 1 (refused), never an abort.
    KioskGate::Verdict verdict;
    try {
        verdict = runCommand(session, QStringLiteral("zel-kiosk"), QStringLiteral("check"),
                             [&] { return KioskGate::judge(session, folder); });
    } catch (const ProgramEnd&) {
        return false; // reported on standard error
    }
    screens = verdict.screens;
    if (verdict.reasons.isEmpty())
        return true;
    if (why)
        *why = verdict.reasons.join(QStringLiteral("; "));
    printText(stderr, QStringLiteral("zel-kiosk: ") + folder + QStringLiteral(" is refused:\n  ")
                          + verdict.reasons.join(QStringLiteral("\n  ")) + u'\n');
    return false;
}

// The Chromium switches of a kiosk: no pinch zoom, no swipe through the history.
void addBrowserSwitches()
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags +=
        " --disable-pinch --overscroll-history-navigation=0 --disable-features=TouchpadOverscrollHistoryNavigation";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

} // namespace

int main(int argc, char** argv)
{
    ToolCommandLine commandLine({QStringLiteral("zel-kiosk"), usage, help});
    QCommandLineParser& parser = commandLine.parser();
    const QCommandLineOption followOption(QStringLiteral("follow"), QString(), QStringLiteral("PUBLISHED_FOLDER"));
    const QCommandLineOption checkOption(QStringLiteral("check"));
    const QCommandLineOption statusOption(QStringLiteral("status"));
    const QCommandLineOption stepBackOption(QStringLiteral("step-back"));
    const QCommandLineOption jsonOption(QStringLiteral("json"));
    parser.addOptions({followOption, checkOption, statusOption, stepBackOption, jsonOption});
    if (const std::optional<int> answered = commandLine.read(argumentList(argc, argv)))
        return *answered;
    const QStringList operands = parser.positionalArguments();
    if (parser.isSet(statusOption)) {
        if (!operands.isEmpty() || parser.isSet(checkOption) || parser.isSet(followOption)
            || parser.isSet(stepBackOption))
            return commandLine.refuse(QStringLiteral("--status takes nothing else"));
        QCoreApplication application(argc, argv);
        return status(parser.isSet(jsonOption));
    }
    if (parser.isSet(jsonOption))
        return commandLine.refuse(QStringLiteral("--json goes with --status only"));
    if (parser.isSet(stepBackOption)) {
        if (!operands.isEmpty() || parser.isSet(checkOption) || parser.isSet(followOption))
            return commandLine.refuse(QStringLiteral("--step-back takes nothing else"));
        QCoreApplication application(argc, argv);
        return stepBack();
    }
    if (operands.size() != 1)
        return commandLine.refuse(operands.isEmpty() ? QStringLiteral("no kiosk folder named")
                                                     : QStringLiteral("one kiosk folder only"));
    const QString folder = QDir::cleanPath(QFileInfo(operands.front()).absoluteFilePath());
    if (parser.isSet(checkOption)) {
        if (parser.isSet(followOption))
            return commandLine.refuse(QStringLiteral("--check and --follow do not go together"));
        QCoreApplication application(argc, argv);
        Session session;
        int screens = 1;
        return judged(session, folder, screens) ? Success : Refused;
    }

    KioskSettings settings;
    QString error;
    if (!KioskSettings::load(settings, error)) {
        printText(stderr, QStringLiteral("zel-kiosk: settings: ") + error + u'\n');
        return Usage;
    }
    QString published;
    if (parser.isSet(followOption)) {
        published = QDir::cleanPath(QFileInfo(parser.value(followOption)).absoluteFilePath());
        if (!QFileInfo(published).isDir())
            return commandLine.refuse(published + QStringLiteral(" is not a folder"));
    }

    catchEndSignals();
    // One kiosk per state folder: a second one would remove the first one's versions.
    QString holder, lockProblem;
    if (!StateFolder::lock(holder, lockProblem)) {
        const QString why = holder.isEmpty()
                                ? QStringLiteral("could not lock ") + StateFolder::file(QStringLiteral("kiosk.lock"))
                                      + QStringLiteral(": ") + lockProblem
                                : QStringLiteral("another zel-kiosk (pid ") + holder
                                      + QStringLiteral(") runs on the state folder ") + StateFolder::path();
        printText(stderr, QStringLiteral("zel-kiosk: ") + why + u'\n');
        EventLog::write(QStringLiteral("refused to start: ") + why, {"refused", 3, {}, why});
        return Refused;
    }

    addBrowserSwitches();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    // A fatal report while the kiosk runs ends it with status 1, so that systemd
    // starts it afresh.
    SessionServices services;
    services.endProgram = [] {
        std::fflush(nullptr);
        std::exit(Refused);
    };
    Session session(std::move(services));

    // A followed kiosk starts with the version it showed last, when there is one.
    std::unique_ptr<VersionStore> store;
    QString shown = folder;
    if (!published.isEmpty()) {
        store = std::make_unique<VersionStore>(StateFolder::file(QStringLiteral("versions")));
        const QString current = store->current();
        if (!current.isEmpty())
            shown = current;
    }
    int screens = 1;
    QString why;
    if (!judged(session, shown, screens, &why)) {
        EventLog::write(QStringLiteral("refused to start: ") + shown + QStringLiteral(" fails the check"),
                        {"refused", 3, shown, why});
        return Refused;
    }
    // Stopped while the check ran: ended before anything was shown.
    if (const QString name = endSignal(); !name.isEmpty()) {
        EventLog::write(name + QStringLiteral(": ending"));
        EventLog::write(QStringLiteral("ended"), {"ended", 6, shown, name});
        return Success;
    }

    KioskPlayer player(session, settings, shown, screens);
    QtSpeechEngine speech(settings.speechVolume / 100.0, settings.speechRate / 100.0);
    player.setSpeech(&speech);
    QObject::connect(&player, &KioskPlayer::quitRequested, &application, [&] {
        player.quit();
        application.quit();
    });
    onEndSignal(&player, [&](const QString& name) {
        EventLog::write(name + QStringLiteral(": ending"));
        player.quit(QStringLiteral("by ") + name);
        application.quit();
    });
    // A page that keeps breaking: a clean end with status 3, for systemd to start the kiosk afresh.
    QObject::connect(
        &player, &KioskPlayer::gaveUp, &application,
        [&](const QString& how) {
            player.quit(how);
            application.exit(GaveUp);
        },
        Qt::QueuedConnection);
    std::unique_ptr<VersionFollower> follower;
    if (store) {
        follower = std::make_unique<VersionFollower>(published, *store, player, settings.followSeconds * 1000,
                                                     QCoreApplication::applicationFilePath());
        follower->start();
    }
    const auto realScreens = [] {
        QList<QRect> geometries;
        for (const QScreen* screen : QGuiApplication::screens())
            geometries.append(screen->geometry());
        return geometries;
    };
    player.start(realScreens());
    ServiceNotifier::notify("READY=1");
    // A screen turned, added or removed while the kiosk runs: the windows follow.
    const auto placeAgain = [&] {
        EventLog::write(QStringLiteral("screens changed: windows laid out again"));
        player.place(realScreens());
    };
    const auto followScreen = [&](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, &player, placeAgain, Qt::QueuedConnection);
    };
    for (QScreen* screen : QGuiApplication::screens())
        followScreen(screen);
    QObject::connect(&application, &QGuiApplication::screenAdded, &player, [&](QScreen* screen) {
        followScreen(screen);
        placeAgain();
    });
    // Queued: Qt moves the windows of a removed screen first.
    QObject::connect(&application, &QGuiApplication::screenRemoved, &player, placeAgain, Qt::QueuedConnection);
    const int result = application.exec();
    EventLog::write(result == Success ? QStringLiteral("ended") : QStringLiteral("ended with status %1").arg(result),
                    {"ended", result == Success ? 6 : 3, player.folder(), {}});
    return result;
}
