// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_power.h"

#include "event_log.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr qint64 kKeepOffMs = 60 * 1000;

} // namespace

std::optional<ScreenPower::Command> ScreenPower::command(bool on, const QString& platform, const QString& display,
                                                         const QString& xset, const QString& wlopm)
{
    if (platform.startsWith(QLatin1String("wayland")) && !wlopm.isEmpty())
        return Command{wlopm, {on ? QStringLiteral("--on") : QStringLiteral("--off"), QStringLiteral("*")}};
    if (platform != QLatin1String("xcb") || display.isEmpty() || xset.isEmpty())
        return std::nullopt;
    return Command{
        xset, {QStringLiteral("dpms"), QStringLiteral("force"), on ? QStringLiteral("on") : QStringLiteral("off")}};
}

ScreenPower::ScreenPower(QObject* parent) : QObject(parent)
{
    const QString platform = QGuiApplication::platformName();
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString xset = QStandardPaths::findExecutable(QStringLiteral("xset"));
    const QString wlopm = QStandardPaths::findExecutable(QStringLiteral("wlopm"));
    m_off = command(false, platform, display, xset, wlopm);
    m_on = command(true, platform, display, xset, wlopm);
}

ScreenPower::~ScreenPower()
{
    if (m_isOff && m_on)
        QProcess::startDetached(m_on->program, m_on->arguments);
}

void ScreenPower::setOn(bool on)
{
    const std::optional<Command>& command = on ? m_on : m_off;
    if (!command) {
        if (!on)
            EventLog::write(QStringLiteral("screens stay powered (no X display with xset, no wlopm): covered black"));
        return;
    }
    m_isOff = !on;
    EventLog::write(QStringLiteral("screens powered ") + (on ? QStringLiteral("on: ") : QStringLiteral("off: "))
                    + QFileInfo(command->program).fileName() + u' ' + command->arguments.join(u' '));
    run(*command);
}

void ScreenPower::keepOff()
{
    if (m_isOff && m_off && QDateTime::currentMSecsSinceEpoch() - m_lastOff >= kKeepOffMs)
        run(*m_off);
}

void ScreenPower::run(const Command& command)
{
    if (command == m_off)
        m_lastOff = QDateTime::currentMSecsSinceEpoch();
    auto* process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    const QString name = QFileInfo(command.program).fileName();
    connect(process, &QProcess::finished, process, [process, name](int exitCode, QProcess::ExitStatus status) {
        // xset tells on its output, not by its exit status, that the display has no power control.
        const QString said = QString::fromLocal8Bit(process->readAll()).trimmed();
        if (status != QProcess::NormalExit || exitCode != 0 || !said.isEmpty())
            EventLog::write(name + QStringLiteral(": ")
                            + (said.isEmpty() ? QStringLiteral("failed") : said.section(u'\n', 0, 0)));
        process->deleteLater();
    });
    connect(process, &QProcess::errorOccurred, process, [process, name](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            EventLog::write(name + QStringLiteral(" could not be started: ") + process->errorString());
            process->deleteLater();
        }
    });
    process->start(command.program, command.arguments);
}
