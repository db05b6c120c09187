// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Many kiosks pulling from one origin on this machine: a generated kiosk
// system published with zel-make --publish, served by nginx on 127.0.0.1,
// pulled by headless agents (zel-kiosk --no-display); then one page changed
// and published again. Prints the bytes each agent fetched for the change
// against the changed files' size, and the time from the publish until
// every agent had taken the new version against the poll interval + 5 s.
// With Mosquitto installed, the agents report their health to a broker on
// 127.0.0.1, and the broker's traffic per kiosk per hour in steady state is
// measured over --traffic-seconds (the broker's own count of bytes received
// and sent, $SYS/broker/bytes/..., the benchmark's few bytes of listening
// to them included).
//
// zel-pull-bench [--agents 20] [--pages 2000] [--pull-seconds 10] [--traffic-seconds 120]
// Beside them: the CPU seconds each agent spent (its gate's processes
// included) from the publish until all had the version, the benchmark's own
// CPU seconds meanwhile (its looks at the agents' version stores), and the
// load average then; and the same for one more change (version 3, which
// the agents assemble in the folder of the version they drop).
//
// Exit status 0 when the bytes per agent are at most twice the changed
// files' size and the time at most the interval + 5 s.
#include "support/mosquitto_broker.h"
#include "support/nginx_server.h"
#include "version_store.h"

#include "fleet/mqtt_connection.h"
#include "publish/publish_key.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QString binFolder() { return QCoreApplication::applicationDirPath(); }

bool run(const QString& program, const QStringList& arguments, QString* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool ended = process.waitForFinished(30 * 60 * 1000) && process.exitStatus() == QProcess::NormalExit;
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (!ended || process.exitCode() != 0)
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), process.readAllStandardError().constData());
    return ended && process.exitCode() == 0;
}

void copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(path);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(path, target);
    }
}

// Waits (checking every 100 ms) until every agent's version store shows the version; the milliseconds, or -1.
qint64 untilAll(const QStringList& homes, int version, qint64 limitMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < limitMs) {
        if (std::all_of(homes.begin(), homes.end(), [&](const QString& home) {
                return VersionStore(home + QStringLiteral("/zel-kiosk/versions")).shownVersion() == version;
            }))
            return elapsed.elapsed();
        QThread::msleep(100);
    }
    return -1;
}

struct BrokerTraffic {
    qint64 received = -1, sent = -1; // the broker's own counts of bytes
    int statusMessages = 0;          // the kiosks' status reports seen
    qint64 statusBytes = 0;          // their payloads
};

// The broker's counts of bytes received and sent, read from its $SYS topics
// (published every 10 s) over seconds once both were seen, and the status
// reports the kiosks sent meanwhile.
BrokerTraffic brokerTraffic(int port, int seconds)
{
    BrokerSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = port;
    MqttConnection listener(settings, QStringLiteral("zel-pull-bench"));
    qint64 received = -1, sent = -1;
    bool counting = false;
    BrokerTraffic traffic;
    QObject::connect(&listener, &MqttConnection::message, [&](const QString& topic, const QByteArray& payload) {
        if (topic.endsWith(QLatin1String("/status"))) {
            traffic.statusMessages += counting ? 1 : 0;
            traffic.statusBytes += counting ? payload.size() : 0;
            return;
        }
        (topic.endsWith(QLatin1String("received")) ? received : sent) = payload.toLongLong();
    });
    listener.subscribe(settings.topic(QStringLiteral("+"), QStringLiteral("status")));
    listener.subscribe(QStringLiteral("$SYS/broker/bytes/received"));
    listener.subscribe(QStringLiteral("$SYS/broker/bytes/sent"));
    listener.start();
    const auto waitFor = [&](const std::function<bool()>& done, int limitMs) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!done() && elapsed.elapsed() < limitMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        return done();
    };
    if (!waitFor([&] { return received >= 0 && sent >= 0; }, 30000))
        return traffic;
    const qint64 receivedBefore = received, sentBefore = sent;
    counting = true;
    waitFor([] { return false; }, seconds * 1000);
    counting = false;
    // The next count after the window.
    const qint64 receivedSeen = received;
    waitFor([&] { return received != receivedSeen; }, 15000);
    traffic.received = received - receivedBefore;
    traffic.sent = sent - sentBefore;
    return traffic;
}

// The CPU seconds a process and the children it waited for have used.
double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // The fields after the command's name (in parentheses): utime, stime, cutime, cstime are the 12th to the 15th.
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    double ticks = 0;
    for (int field = 11; field <= 14 && field < fields.size(); ++field)
        ticks += fields.at(field).toDouble();
    return ticks / double(::sysconf(_SC_CLK_TCK));
}

double ownCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double agentsCpuSeconds(const std::vector<std::unique_ptr<QProcess>>& processes)
{
    double seconds = 0;
    for (const auto& process : processes)
        seconds += cpuSeconds(process->processId());
    return seconds;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(u' ', 0, 2) : QString();
}

qint64 bodyBytes(const QStringList& requests)
{
    qint64 bytes = 0;
    for (const QString& line : requests)
        bytes += line.section(u' ', 2).toLongLong();
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QCommandLineParser parser;
    const QCommandLineOption agentsOption(QStringLiteral("agents"), QString(), QStringLiteral("N"),
                                          QStringLiteral("20"));
    const QCommandLineOption pagesOption(QStringLiteral("pages"), QString(), QStringLiteral("N"),
                                         QStringLiteral("2000"));
    const QCommandLineOption secondsOption(QStringLiteral("pull-seconds"), QString(), QStringLiteral("S"),
                                           QStringLiteral("10"));
    const QCommandLineOption trafficOption(QStringLiteral("traffic-seconds"), QString(), QStringLiteral("S"),
                                           QStringLiteral("120"));
    parser.addOptions({agentsOption, pagesOption, secondsOption, trafficOption});
    parser.process(application);
    const int agents = parser.value(agentsOption).toInt(), pages = parser.value(pagesOption).toInt();
    const int seconds = parser.value(secondsOption).toInt();
    if (NginxServer::program().isEmpty()) {
        std::fprintf(stderr, "nginx is not installed\n");
        return 2;
    }

    QTemporaryDir work;
    const QString kiosk = work.filePath(QStringLiteral("kiosk")), origin = work.filePath(QStringLiteral("origin"));
    copyFolder(QStringLiteral(ZEL_SOURCE_DIR "/template"), kiosk);
    if (!run(QStringLiteral("python3"), {QStringLiteral(ZEL_SOURCE_DIR "/bench/maker/generate_kiosk.py"), kiosk,
                                         QStringLiteral("--pages"), QString::number(pages)}))
        return 2;
    qputenv("XDG_DATA_HOME", QFile::encodeName(work.filePath(QStringLiteral("data"))));
    const auto publish = [&](qint64& bytes) {
        QString output;
        if (!run(binFolder() + QStringLiteral("/zel-make"), {QStringLiteral("--publish=") + origin, kiosk}, &output))
            return false;
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral(R"((\d+) new objects \((\d+) bytes\))")).match(output);
        bytes = match.captured(2).toLongLong();
        return match.hasMatch();
    };
    qint64 firstBytes = 0, changedBytes = 0;
    if (!publish(firstBytes))
        return 2;
    const QString key = PublishKey::load(work.filePath(QStringLiteral("data/zel/publish-key"))).publicKeyText();

    NginxServer server(origin);
    if (!server.start()) {
        std::fprintf(stderr, "nginx did not start: %s\n", qPrintable(server.error()));
        return 2;
    }
    MosquittoBroker broker(work.filePath(QStringLiteral("broker")));
    const int trafficSeconds = parser.value(trafficOption).toInt();
    QDir().mkpath(work.filePath(QStringLiteral("broker")));
    const bool brokerUp = trafficSeconds > 0 && MosquittoBroker::available() && broker.start();
    if (trafficSeconds > 0 && MosquittoBroker::available() && !brokerUp)
        std::fprintf(stderr, "mosquitto did not start: %s\n", qPrintable(broker.why()));
    QStringList homes;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int agent = 0; agent < agents; ++agent) {
        const QString home = work.filePath(QStringLiteral("agent%1").arg(agent));
        QDir().mkpath(home + QStringLiteral("/config"));
        QFile settings(home + QStringLiteral("/config/ZEL_Editor.ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write(QStringLiteral("[Kiosk]\npullSeconds=%1\n").arg(seconds).toUtf8());
        if (brokerUp)
            settings.write(QStringLiteral("brokerHost=127.0.0.1\nbrokerPort=%1\n").arg(broker.port()).toUtf8());
        settings.close();
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_STATE_HOME"), home);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
        process->setProcessEnvironment(environment);
        process->start(binFolder() + QStringLiteral("/zel-kiosk"),
                       {QStringLiteral("--no-display"), QStringLiteral("--origin"), server.url(),
                        QStringLiteral("--key"), key, QStringLiteral("agent%1").arg(agent)});
        homes.append(home);
        processes.push_back(std::move(process));
    }
    const qint64 first = untilAll(homes, 1, 60 * 60 * 1000);
    std::printf("%d agents took version 1 (%d pages, %lld bytes) in %.1f s\n", agents, pages,
                static_cast<long long>(firstBytes), first / 1000.0);

    // One page changed and published; how long until all agents have the version, and at what cost.
    struct Round {
        qint64 took = -1;
        double agentsCpu = 0, ownCpu = 0;
        QString load;
        QStringList requests;
    };
    const auto changed = [&](int version, qint64& bytes) {
        Round round;
        const QString page = kiosk + QStringLiteral("/f01/p001.zel");
        QFile source(page);
        source.open(QIODevice::Append);
        source.write("#para\r\nChanged for the benchmark.\r\n");
        source.close();
        const qsizetype before = server.requests().size();
        const double agentsBefore = agentsCpuSeconds(processes), ownBefore = ownCpuSeconds();
        if (!publish(bytes))
            return round;
        round.took = untilAll(homes, version, 30 * 60 * 1000);
        round.agentsCpu = (agentsCpuSeconds(processes) - agentsBefore) / agents;
        round.ownCpu = ownCpuSeconds() - ownBefore;
        round.load = loadAverage();
        round.requests = server.requests().mid(before);
        return round;
    };
    const Round second = changed(2, changedBytes);
    if (second.took < 0 && second.requests.isEmpty())
        return 2;
    const double perAgent = double(bodyBytes(second.requests)) / agents;
    const double objectsPerAgent = double(bodyBytes(second.requests.filter(QStringLiteral("/objects/")))) / agents;
    const auto inTime = [&](const Round& round) { return round.took >= 0 && round.took <= (seconds + 5) * 1000; };
    const bool bytesOk = perAgent <= 2.0 * changedBytes;
    std::printf("one page changed: %lld bytes of changed files\n"
                "fetched per agent: %.0f bytes, %.0f of them objects, the rest manifests (%lld requests in all);\n"
                "  at most 2x the changed files: %s\n"
                "all %d agents on version 2 after %.1f s (poll interval %d s + 5 s): %s\n",
                static_cast<long long>(changedBytes), perAgent, objectsPerAgent,
                static_cast<long long>(second.requests.size()), bytesOk ? "yes" : "NO", agents, second.took / 1000.0,
                seconds, inTime(second) ? "yes" : "NO");
    std::printf("CPU per agent from the publish until all had it: %.2f s (its gate included); the benchmark's own\n"
                "  looks at the agents: %.2f s; load average then (1, 5, 15 min): %s\n",
                second.agentsCpu, second.ownCpu, qPrintable(second.load));
    // Once more: from now on each version is assembled in the folder of the one dropped.
    qint64 thirdBytes = 0;
    const Round third = changed(3, thirdBytes);
    std::printf("the page changed once more: all on version 3 after %.1f s: %s; CPU per agent %.2f s;\n"
                "  load average then: %s\n",
                third.took / 1000.0, inTime(third) ? "yes" : "NO", third.agentsCpu, qPrintable(third.load));
    const bool timeOk = inTime(second) && inTime(third);
    if (brokerUp) {
        const BrokerTraffic traffic = brokerTraffic(broker.port(), trafficSeconds);
        const double hours = trafficSeconds / 3600.0;
        std::printf("broker traffic in steady state over %d s: %.0f bytes per kiosk per hour received, %.0f sent;\n"
                    "  %.0f status reports per kiosk per hour of %.0f bytes on average\n",
                    trafficSeconds, traffic.received / hours / agents, traffic.sent / hours / agents,
                    traffic.statusMessages / hours / agents,
                    traffic.statusMessages ? double(traffic.statusBytes) / traffic.statusMessages : 0.0);
    } else {
        std::printf("broker traffic: not measured (no mosquitto, or --traffic-seconds 0)\n");
    }
    for (auto& process : processes)
        process->terminate();
    for (auto& process : processes)
        if (!process->waitForFinished(30000))
            process->kill();
    return bytesOk && timeOk ? 0 : 1;
}
