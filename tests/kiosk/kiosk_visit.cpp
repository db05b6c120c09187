// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiosk_visit.h"

#include "kiosk_screen.h"
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"
#include "support/program_run.h"
#include "support/web_wait.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QProcess>
#include <QTest>
#include <QWebEngineView>
#include <QWindow>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

void makeSampleKiosk(const QString& folder)
{
    copySampleKiosk(QDir::toNativeSeparators(folder) + QDir::separator());
    ASSERT_NE(runZelMake({folder}).exitCode, -1);
}

KioskSettings quickSettings()
{
    KioskSettings settings;
    settings.idleSeconds = 3;
    settings.watchdogSeconds = settings.heartbeatSeconds = settings.followSeconds = 1;
    return settings;
}

int boundDatagramSocket(const QByteArray& path)
{
    const int socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? socket : -1;
}

KioskRun runKiosk(const QStringList& arguments, const QString& stateHome)
{
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome));
    const ProgramRun run = runProgram(ZEL_KIOSK_PROGRAM, arguments);
    qunsetenv("XDG_STATE_HOME");
    return {run.exitCode, QString::fromLocal8Bit(run.output), run.error};
}

ServiceRun::ServiceRun(const QString& stateHome, const QStringList& settings, const QStringList& arguments)
{
    writeTextFile(stateHome + "/config/ZEL_Editor.ini", QStringList{"[Kiosk]"} + settings);
    m_socket = boundDatagramSocket(QFile::encodeName(stateHome + "/notify"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_STATE_HOME", stateHome);
    environment.insert("XDG_CONFIG_HOME", stateHome + "/config");
    environment.insert("NOTIFY_SOCKET", stateHome + "/notify");
    process.setProcessEnvironment(environment);
    process.start(ZEL_KIOSK_PROGRAM, arguments);
}

ServiceRun::~ServiceRun()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    ::close(m_socket);
}

bool ServiceRun::told(const QByteArray& message)
{
    for (int slice = 0; slice < 240 && process.state() != QProcess::NotRunning; ++slice) {
        pollfd readable{m_socket, POLLIN, 0};
        if (::poll(&readable, 1, 250) == 1) {
            char buffer[256];
            const ssize_t size = ::recv(m_socket, buffer, sizeof buffer, 0);
            if (size > 0 && QByteArray(buffer, int(size)) == message)
                return true;
        }
        QCoreApplication::processEvents();
    }
    return false;
}

int ServiceRun::terminate()
{
    process.terminate();
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

KioskVisit::KioskVisit(KioskSettings settings, int screens)
{
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/state")));
    m_kiosk = m_dir.path() + QStringLiteral("/kiosk");
    makeSampleKiosk(m_kiosk);
    m_player = std::make_unique<KioskPlayer>(m_session.session(), settings, m_kiosk, screens);
    m_player->start({QRect(0, 0, 1280, 1024)});
    EXPECT_TRUE(waitUntil([this] {
        QWindow* window = m_player->screen(1)->windowHandle();
        return window && window->isExposed();
    }));
    EXPECT_TRUE(waitForPage(QStringLiteral("root/root.htm")));
}

KioskVisit::~KioskVisit()
{
    m_player.reset();
    qunsetenv("XDG_STATE_HOME");
}

QStringList KioskVisit::log() const { return readLines(stateFolder() + QStringLiteral("/kiosk.log")); }

QString KioskVisit::shown() const
{
    const QString file = QFileInfo(page()->url().toLocalFile()).canonicalFilePath();
    return file.isEmpty() ? QString() : QDir(QFileInfo(m_player->folder()).canonicalFilePath()).relativeFilePath(file);
}

bool KioskVisit::waitForPage(const QString& relative, int timeoutMs)
{
    // The page's address changes before its document does: the document must be the page's own.
    const QString address =
        QUrl::fromLocalFile(QDir(m_player->folder()).filePath(relative)).toString(QUrl::FullyEncoded);
    const QString ready = "(function () { try { return window.location.href === '" + address
                          + "' && document.readyState === 'complete' && window.frames.length === 2 && "
                            "Array.prototype.every.call(window.frames, function (f) { return f.document.readyState "
                            "=== 'complete' && f.document.documentElement.getAttribute('data-kiosk-ready') === '1'; "
                            "}); } catch (e) { return false; } })()";
    return waitUntil([&] { return shown() == relative && runScript(page(), ready).toBool(); }, timeoutMs);
}

namespace {

bool onDisplay() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// Runs xdotool with the arguments and lets the kiosk take what the X server sends.
void xdotool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    EXPECT_TRUE(tool.waitForFinished(10000) && tool.exitCode() == 0)
        << arguments.join(' ').toStdString() << ": " << tool.readAllStandardError().toStdString();
    QTest::qWait(150);
}

} // namespace

void KioskVisit::touch(const QString& buttonId)
{
    const QVariantList point =
        runScript(page(), QStringLiteral("(function () { var box = document.querySelector('frame[name=nav]')"
                                         ".getBoundingClientRect(), b = frames['nav'].document.getElementById('%1')"
                                         ".getBoundingClientRect(); return [box.left + b.left + b.width / 2, box.top"
                                         " + b.top + b.height / 2]; })()")
                              .arg(buttonId))
            .toList();
    const QPoint centre =
        point.size() == 2 ? QPoint(qRound(point[0].toDouble()), qRound(point[1].toDouble())) : QPoint(-1, -1);
    QWidget* input = m_player->screen(1)->view()->focusProxy();
    if (!onDisplay())
        return QTest::mouseClick(input, Qt::LeftButton, {}, centre);
    const QPoint global = input->mapToGlobal(centre);
    xdotool({"mousemove", QString::number(global.x()), QString::number(global.y()), "click", "1"});
}

void KioskVisit::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget* input = m_player->screen(1)->view()->focusProxy();
    if (!onDisplay())
        return QTest::keyClick(input, key, modifiers);
    // The X key name (keysym) of the Qt key.
    static const QHash<int, QString> names = {
        {Qt::Key_Left, "Left"},     {Qt::Key_Right, "Right"},   {Qt::Key_Home, "Home"},
        {Qt::Key_Escape, "Escape"}, {Qt::Key_Tab, "Tab"},       {Qt::Key_Backspace, "BackSpace"},
        {Qt::Key_Return, "Return"}, {Qt::Key_Menu, "Menu"},     {Qt::Key_Plus, "plus"},
        {Qt::Key_Minus, "minus"},   {Qt::Key_Back, "XF86Back"}, {Qt::Key_Refresh, "XF86Refresh"},
    };
    QString name = names.value(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        name = QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    else if (key >= Qt::Key_A && key <= Qt::Key_Z)
        name = QChar(u'a' + (key - Qt::Key_A));
    ASSERT_FALSE(name.isEmpty()) << QKeySequence(key).toString().toStdString();
    QStringList combination;
    for (const auto& [modifier, word] :
         {std::pair{Qt::ControlModifier, "ctrl"}, {Qt::AltModifier, "alt"}, {Qt::ShiftModifier, "shift"}})
        if (modifiers & modifier)
            combination << word;
    xdotool({"key", "--clearmodifiers", (combination << name).join(u'+')});
}
