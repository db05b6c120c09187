// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-kiosk [--follow PUBLISHED_FOLDER] KIOSK_FOLDER
// zel-kiosk --origin URL_OR_FOLDER --key PUBLIC_KEY [--no-display] KIOSK_NAME
// zel-kiosk --check KIOSK_FOLDER
// zel-kiosk --status [--json]
// zel-kiosk --step-back
// Shows a made kiosk system full-screen, unattended. A wrong command line
// prints the reason and the usage on standard error and exits with 2.
#include "event_log.h"
#include "fleet/kiosk_health.h"
#include "fleet/mqtt_connection.h"
#include "health_reporter.h"
#include "gate_record.h"
#include "heartbeat.h"
#include "kiosk_gate.h"
#include "kiosk_player.h"
#include "qt_speech_engine.h"
#include "kiosk_settings.h"
#include "origin_puller.h"
#include "service_notifier.h"
#include "state_folder.h"
#include "version_follower.h"
#include "version_intake.h"
#include "version_store.h"

#include "fileio/atomic_file.h"
#include "platform/session.h"
#include "platform/web_engine_sandbox.h"
#include "runtime/error_handler.h"

#include "common/tool_command_line.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QScreen>
#include <QSocketNotifier>
#include <QStorageInfo>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

enum Exit { Success = 0, Refused = 1, Usage = ToolCommandLine::kWrongLine, GaveUp = 3 };

// A headless agent's health report comes at least this often.
constexpr int kHealthReportMs = 60 * 1000;

const char usage[] = "Usage: zel-kiosk [--follow PUBLISHED_FOLDER] KIOSK_FOLDER\n"
                     "       zel-kiosk --origin URL_OR_FOLDER --key PUBLIC_KEY [--no-display] KIOSK_NAME\n"
                     "       zel-kiosk --check [--since VERSION_FOLDER] KIOSK_FOLDER\n"
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
                    "      --origin URL_OR_FOLDER\n"
                    "                       pull the versions that zel-make --publish writes to an\n"
                    "                       origin: a web server's http(s) URL, or a folder (or\n"
                    "                       file:// URL) that rsync or Syncthing fills. Every\n"
                    "                       pullSeconds (60) the manifest is asked for; a new\n"
                    "                       version signed with the pinned key has the files the\n"
                    "                       kiosk lacks fetched and checked, then is checked and\n"
                    "                       shown at the next return to the root page. The\n"
                    "                       operand is then the kiosk's name (letters, digits,\n"
                    "                       \".\", \"_\", \"-\"); it shows the latest version it\n"
                    "                       pulled (kept in the state folder), waiting for the\n"
                    "                       first one on its first start\n"
                    "      --key PUBLIC_KEY (with --origin) the author's public key, as zel-make\n"
                    "                       --publish prints it: only versions it signed are taken\n"
                    "      --no-display     (with --origin) pull, check and take versions without\n"
                    "                       showing them: a headless agent for servers and tests\n"
                    "      --check          show nothing: list why KIOSK_FOLDER would be refused\n"
                    "      --since VERSION_FOLDER\n"
                    "                       (with --check) keep the check's record in\n"
                    "                       KIOSK_FOLDER (.zel-gate), and read again only the\n"
                    "                       pages whose files differ from those the record in\n"
                    "                       VERSION_FOLDER names (an empty or unrecorded one: all);\n"
                    "                       the kiosk checks its new versions so\n"
                    "      --status         print the running kiosk's heartbeat and health (and, of\n"
                    "                       a pulling kiosk, the origin, the version shown and the\n"
                    "                       version available) and exit\n"
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

// The running kiosk's last health report (health.json), empty when there is none.
QByteArray readHealth()
{
    QFile file(HealthReporter::statusPath());
    if (!QFileInfo(file.fileName()).isFile() || file.size() > 1024 * 1024 || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QString healthText(const KioskHealth& health, const QDateTime& now)
{
    const auto megabytes = [](qint64 bytes) {
        return bytes < 0 ? QStringLiteral("unknown") : QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
    };
    QString text = QStringLiteral("kiosk name: ") + health.kiosk + u'\n';
    text += QStringLiteral("version available: ") + health.versionAvailable + u'\n';
    text +=
        QStringLiteral("last page rendered: ")
        + (health.lastPageTime.isValid()
               ? health.lastPage
                     + QStringLiteral(" (%1 ago)").arg(durationText(qMax<qint64>(0, health.lastPageTime.secsTo(now))))
               : QStringLiteral("none yet"))
        + u'\n';
    text += QStringLiteral("restarts in 24 h: %1\n").arg(health.restarts.size());
    for (const KioskHealth::Restart& restart : health.restarts)
        text += QStringLiteral("  ") + restart.time.toString(Qt::ISODate) + u' ' + restart.reason + u'\n';
    text += QStringLiteral("screen: ") + (health.screenOn ? QStringLiteral("on") : QStringLiteral("off")) + u'\n';
    text += QStringLiteral("page views today: %1\n").arg(health.pageViewsTotal());
    if (!health.scheduledOnShow.isEmpty())
        text += QStringLiteral("scheduled pages on show: ") + health.scheduledOnShow.join(QStringLiteral(", ")) + u'\n';
    text += QStringLiteral("free disk: ") + megabytes(health.freeDiskBytes) + u'\n';
    text += QStringLiteral("memory: player ") + megabytes(health.playerMemoryBytes) + QStringLiteral(", renderer ")
            + megabytes(health.rendererMemoryBytes) + u'\n';
    return text;
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
    QString refused, notTaken, origin, kiosk;
    int shownVersion = 0, availableVersion = 0;
    if (QFileInfo::exists(versions)) {
        const VersionStore store(versions);
        refused = store.refused();
        notTaken = store.notTaken();
        origin = store.origin();
        kiosk = store.kioskName();
        shownVersion = store.shownVersion();
        availableVersion = store.availableVersion();
    }
    QString problem;
    const std::optional<KioskHealth> health =
        beat->ended.isEmpty() ? KioskHealth::fromJson(readHealth(), problem) : std::nullopt;
    if (json) {
        QJsonObject object = QJsonDocument::fromJson(beat->statusJson(now).toUtf8()).object();
        if (health)
            object.insert(QStringLiteral("health"), QJsonDocument::fromJson(health->toJson()).object());
        if (!origin.isEmpty()) {
            object.insert(QStringLiteral("kiosk"), kiosk);
            object.insert(QStringLiteral("origin"), origin);
            object.insert(QStringLiteral("versionShown"), shownVersion);
            object.insert(QStringLiteral("versionAvailable"), availableVersion);
        }
        object.insert(QStringLiteral("versionRefused"), refused.isEmpty() ? QJsonValue() : QJsonValue(refused));
        object.insert(QStringLiteral("versionNotTaken"), notTaken.isEmpty() ? QJsonValue() : QJsonValue(notTaken));
        printText(stdout, QString::fromUtf8(QJsonDocument(object).toJson()));
    } else {
        printText(stdout, beat->statusText(now));
        if (!origin.isEmpty())
            printText(stdout, QStringLiteral("kiosk: %1\norigin: %2\nversion shown: %3\nversion available: %4\n")
                                  .arg(kiosk, origin)
                                  .arg(shownVersion)
                                  .arg(availableVersion));
        if (!refused.isEmpty())
            printText(stdout, QStringLiteral("last version refused: ") + refused + u'\n');
        if (!notTaken.isEmpty())
            printText(stdout, QStringLiteral("last version not taken (tried again): ") + notTaken + u'\n');
        if (health)
            printText(stdout, healthText(*health, now));
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
// nothing stands in the way. With since (a version judged before, or
// empty), the judgement's record is kept in the folder and that version's
// record spares reading again what has not changed.
bool judged(Session& session, const QString& folder, int& screens, QString* why = nullptr,
            const std::optional<QString>& since = std::nullopt)
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
        verdict = runCommand(session, QStringLiteral("zel-kiosk"), QStringLiteral("check"), [&] {
            if (!since)
                return KioskGate::judge(session, folder);
            const std::optional<GateRecord> before = GateRecord::read(*since);
            GateRecord after;
            KioskGate::Verdict judgement = KioskGate::judge(session, folder, before ? &*before : nullptr, &after);
            try {
                if (!after.global.isEmpty())
                    after.write(folder);
            } catch (const fileio::FileError& error) {
                // A saving for later checks only: the verdict stands without it.
                printText(stderr, QStringLiteral("zel-kiosk: the check's record was not kept: ")
                                      + QString::fromStdString(error.path()) + QStringLiteral(": ")
                                      + QString::fromStdString(error.reason()) + u'\n');
            }
            return judgement;
        });
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

// What a pulling kiosk pulls from, and its name.
struct Pull {
    QString origin;
    QByteArray key;
    QString name;
};

// Pulls from the origin without showing anything: each version that passes
// the gate is taken at once. firstOnly: ends once there is a version to
// show, as a kiosk with a display does before its first start. Ends with
// SIGTERM or SIGINT too.
int pullWithoutDisplay(const Pull& pull, VersionStore& store, const KioskSettings& settings, bool firstOnly)
{
    VersionIntake* intake = nullptr;
    VersionIntake taking(
        store,
        {[&store] { return store.current(); },
         [&](const QString& version) {
             EventLog::write(QStringLiteral("version %1 taken: ").arg(VersionStore::versionNumber(version)) + version,
                             {"shown", 6, version, {}});
             intake->shown(version);
             if (firstOnly)
                 QCoreApplication::exit(Success);
         }},
        QCoreApplication::applicationFilePath());
    intake = &taking;
    OriginPuller puller(
        {pull.origin, pull.key, StateFolder::file(QStringLiteral("objects")), settings.pullSeconds * 1000}, store,
        taking);
    Heartbeat beat;
    beat.version = QStringLiteral(ZEL_VERSION);
    beat.pid = QCoreApplication::applicationPid();
    beat.started = QDateTime::currentDateTime();
    beat.openNow = QStringLiteral("yes");
    beat.heartbeatSeconds = settings.heartbeatSeconds;
    // With a broker set, a headless agent reports its health once connected,
    // at the beat after its versions change, and once a minute: its
    // versions, uptime and free disk, no screen; its last will says
    // "offline" (what the Kiosks window goes by, not the report's age).
    std::unique_ptr<MqttConnection> broker;
    const QString statusTopic = settings.broker.topic(pull.name, QStringLiteral("status"));
    QString versionsReported;
    const auto reportHealth = [&](bool always) {
        if (!broker)
            return;
        KioskHealth health;
        health.kiosk = pull.name;
        health.versionShown = QString::number(store.shownVersion());
        health.versionAvailable = QString::number(std::max(store.availableVersion(), store.shownVersion()));
        const QString versions = health.versionShown + u' ' + health.versionAvailable;
        if (!always && versions == versionsReported)
            return;
        versionsReported = versions;
        health.screenOn = false;
        health.uptimeSeconds = beat.started.secsTo(QDateTime::currentDateTime());
        health.freeDiskBytes = QStorageInfo(StateFolder::path()).bytesAvailable();
        health.reported = QDateTime::currentDateTimeUtc();
        broker->publish(statusTopic, health.toJson(), true);
    };
    QTimer minute;
    minute.setInterval(kHealthReportMs);
    QObject::connect(&minute, &QTimer::timeout, [&] { reportHealth(true); });
    if (settings.broker.enabled() && !firstOnly) {
        broker =
            std::make_unique<MqttConnection>(settings.broker, QStringLiteral("zel-kiosk-") + pull.name,
                                             MqttConnection::Will{statusTopic, QByteArrayLiteral("offline"), true});
        QObject::connect(broker.get(), &MqttConnection::connected, [&] { reportHealth(true); });
        QObject::connect(broker.get(), &MqttConnection::outage, [](const QString& reason) {
            EventLog::write(QStringLiteral("health: no broker (tried again): ") + reason,
                            {"health-broker", 4, {}, reason});
        });
        broker->start();
        minute.start();
    }
    const auto writeBeat = [&] {
        reportHealth(false);
        beat.written = QDateTime::currentDateTime();
        beat.shown = store.current();
        try {
            beat.write(StateFolder::file(QStringLiteral("heartbeat.txt")));
        } catch (const fileio::FileError&) {
            // A full state folder: the next beat tries again.
        }
    };
    QTimer beating;
    QObject::connect(&beating, &QTimer::timeout, writeBeat);
    QObject context;
    onEndSignal(&context, [&](const QString& name) {
        EventLog::write(name + QStringLiteral(": ending"));
        beat.ended = QStringLiteral("by ") + name;
        QCoreApplication::exit(Success);
    });
    if (!firstOnly) {
        EventLog::write(QStringLiteral("started without a display as ") + pull.name,
                        {"started", 6, store.current(), {}});
        writeBeat();
        beating.start(settings.heartbeatSeconds * 1000);
        ServiceNotifier::notify("READY=1");
    }
    puller.start();
    const int result = QCoreApplication::exec();
    if (broker) {
        broker->publish(statusTopic, QByteArrayLiteral("offline"), true);
        broker.reset();
    }
    if (!firstOnly) {
        writeBeat();
        EventLog::write(QStringLiteral("ended"), {"ended", 6, store.current(), beat.ended});
    }
    return result;
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
    const QCommandLineOption originOption(QStringLiteral("origin"), QString(), QStringLiteral("URL_OR_FOLDER"));
    const QCommandLineOption keyOption(QStringLiteral("key"), QString(), QStringLiteral("PUBLIC_KEY"));
    const QCommandLineOption noDisplayOption(QStringLiteral("no-display"));
    const QCommandLineOption sinceOption(QStringLiteral("since"), QString(), QStringLiteral("VERSION_FOLDER"));
    parser.addOptions({followOption, checkOption, statusOption, stepBackOption, jsonOption, originOption, keyOption,
                       noDisplayOption, sinceOption});
    if (const std::optional<int> answered = commandLine.read(argumentList(argc, argv)))
        return *answered;
    const QStringList operands = parser.positionalArguments();
    if (parser.isSet(statusOption)) {
        if (!operands.isEmpty() || parser.isSet(checkOption) || parser.isSet(followOption)
            || parser.isSet(stepBackOption) || parser.isSet(originOption))
            return commandLine.refuse(QStringLiteral("--status takes nothing else"));
        QCoreApplication application(argc, argv);
        return status(parser.isSet(jsonOption));
    }
    if (parser.isSet(jsonOption))
        return commandLine.refuse(QStringLiteral("--json goes with --status only"));
    if (parser.isSet(stepBackOption)) {
        if (!operands.isEmpty() || parser.isSet(checkOption) || parser.isSet(followOption)
            || parser.isSet(originOption))
            return commandLine.refuse(QStringLiteral("--step-back takes nothing else"));
        QCoreApplication application(argc, argv);
        return stepBack();
    }
    const bool pulling = parser.isSet(originOption);
    if (!pulling && (parser.isSet(keyOption) || parser.isSet(noDisplayOption)))
        return commandLine.refuse(QStringLiteral("--key and --no-display go with --origin"));
    if (pulling && (parser.isSet(followOption) || parser.isSet(checkOption)))
        return commandLine.refuse(QStringLiteral("--origin does not go with --follow or --check"));
    if (pulling && operands.size() != 1)
        return commandLine.refuse(operands.isEmpty() ? QStringLiteral("no kiosk name given")
                                                     : QStringLiteral("one kiosk name only"));
    if (operands.size() != 1)
        return commandLine.refuse(operands.isEmpty() ? QStringLiteral("no kiosk folder named")
                                                     : QStringLiteral("one kiosk folder only"));
    Pull pull;
    if (pulling) {
        static const QRegularExpression kioskName(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._-]{0,63}$"));
        pull.name = operands.front();
        if (!kioskName.match(pull.name).hasMatch())
            return commandLine.refuse(u'"' + pull.name
                                      + QStringLiteral("\" is not a kiosk name (up to 64 letters, digits, \".\", "
                                                       "\"_\" and \"-\")"));
        if (!parser.isSet(keyOption))
            return commandLine.refuse(QStringLiteral("--origin needs --key PUBLIC_KEY"));
        pull.key = OriginPuller::parseKey(parser.value(keyOption));
        if (pull.key.isEmpty())
            return commandLine.refuse(QStringLiteral("--key: \"") + parser.value(keyOption)
                                      + QStringLiteral("\" is not a public key (the base64 of 32 bytes that "
                                                       "zel-make --publish prints)"));
        pull.origin = parser.value(originOption);
        if (!OriginPuller::isUrl(pull.origin) && !pull.origin.startsWith(QLatin1String("file:")))
            pull.origin = QDir::cleanPath(QFileInfo(pull.origin).absoluteFilePath());
    }
    const QString folder = QDir::cleanPath(QFileInfo(operands.front()).absoluteFilePath());
    if (parser.isSet(sinceOption) && !parser.isSet(checkOption))
        return commandLine.refuse(QStringLiteral("--since goes with --check only"));
    if (parser.isSet(checkOption)) {
        if (parser.isSet(followOption))
            return commandLine.refuse(QStringLiteral("--check and --follow do not go together"));
        QCoreApplication application(argc, argv);
        Session session;
        int screens = 1;
        std::optional<QString> since;
        if (parser.isSet(sinceOption))
            since = parser.value(sinceOption).isEmpty()
                        ? QString()
                        : QDir::cleanPath(QFileInfo(parser.value(sinceOption)).absoluteFilePath());
        return judged(session, folder, screens, nullptr, since) ? Success : Refused;
    }

    KioskSettings settings;
    QString error;
    if (!KioskSettings::load(settings, error)) {
        printText(stderr, QStringLiteral("zel-kiosk: settings: ") + error + u'\n');
        return Usage;
    }
    // A pulling kiosk reports its health under the name it pulls as.
    if (pulling)
        settings.name = pull.name;
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

    if (pulling && parser.isSet(noDisplayOption)) {
        QCoreApplication application(argc, argv);
        VersionStore store(StateFolder::file(QStringLiteral("versions")));
        try {
            store.setPulling(pull.name, pull.origin);
        } catch (const fileio::FileError&) {
            // A full state folder: no version is taken either, and that is logged.
        }
        return pullWithoutDisplay(pull, store, settings, false);
    }

    addBrowserSwitches();
    runWebEngineWithoutSandboxForSuperuser();
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
    if (!published.isEmpty() || pulling) {
        store = std::make_unique<VersionStore>(StateFolder::file(QStringLiteral("versions")));
        const QString current = store->current();
        if (!current.isEmpty())
            shown = current;
    }
    // A pulling kiosk shows what it pulled; on its first start it waits for that.
    if (pulling) {
        try {
            store->setPulling(pull.name, pull.origin);
        } catch (const fileio::FileError&) {
            // A full state folder: no version is taken either, and that is logged.
        }
        if (store->current().isEmpty()) {
            EventLog::write(QStringLiteral("no version pulled yet: waiting for the first from ") + pull.origin);
            pullWithoutDisplay(pull, *store, settings, true);
            if (store->current().isEmpty())
                return Success; // ended by a signal before
        }
        shown = store->current();
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
    std::unique_ptr<VersionIntake> intake;
    std::unique_ptr<OriginPuller> puller;
    if (pulling) {
        intake = std::make_unique<VersionIntake>(
            *store,
            VersionIntake::Shower{[&player] { return player.folder(); },
                                  [&player](const QString& version) { player.offerVersion(version); }},
            QCoreApplication::applicationFilePath());
        QObject::connect(&player, &KioskPlayer::versionShown, intake.get(), &VersionIntake::shown);
        puller = std::make_unique<OriginPuller>(OriginPuller::Options{pull.origin, pull.key,
                                                                      StateFolder::file(QStringLiteral("objects")),
                                                                      settings.pullSeconds * 1000},
                                                *store, *intake);
        puller->start();
    } else if (store) {
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
    // Gone before the player: its last word ("offline") is said while the player still stands.
    HealthReporter health(player, settings);
    health.start();
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
