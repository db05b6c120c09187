// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiosk_visit.h"

#include "kiosk_screen.h"
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"
#include "support/web_wait.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QProcess>
#include <QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>

void makeSampleKiosk(const QString& folder)
{
    QDir().mkpath(folder);
    copySampleKiosk(QDir::toNativeSeparators(folder) + QDir::separator());
    const MakeRun run = runZelMake({folder});
    ASSERT_NE(run.exitCode, -1) << run.err.toStdString();
}

KioskSettings quickSettings()
{
    KioskSettings settings;
    settings.idleSeconds = 3;
    settings.watchdogSeconds = 1;
    settings.heartbeatSeconds = 1;
    settings.followSeconds = 1;
    return settings;
}

KioskVisit::KioskVisit(KioskSettings settings, int screens)
{
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/state")));
    m_kiosk = m_dir.path() + QStringLiteral("/kiosk");
    makeSampleKiosk(m_kiosk);
    m_player = std::make_unique<KioskPlayer>(m_session.session(), settings, m_kiosk, screens);
    m_player->start({QRect(0, 0, 1280, 1024)});
    EXPECT_TRUE(waitUntil(
        [this] { return m_player->screen(1)->windowHandle() && m_player->screen(1)->windowHandle()->isExposed(); }));
    EXPECT_TRUE(waitForPage(QStringLiteral("root/root.htm")));
}

KioskVisit::~KioskVisit()
{
    m_player.reset();
    qunsetenv("XDG_STATE_HOME");
}

QString KioskVisit::path(const QString& relative) const { return QDir(m_kiosk).filePath(relative); }

QString KioskVisit::shown() const
{
    const QString file = QFileInfo(page()->url().toLocalFile()).canonicalFilePath();
    const QString folder = QFileInfo(m_player->folder()).canonicalFilePath();
    return file.isEmpty() ? QString() : QDir(folder).relativeFilePath(file);
}

bool KioskVisit::waitForPage(const QString& relative, int timeoutMs)
{
    return waitUntil(
        [&] {
            // The page's address changes before its document does: the document must be the page's own.
            return shown() == relative
                   && runScript(
                          page(),
                          "(function () { try { return window.location.href === '"
                              + QUrl::fromLocalFile(QDir(m_player->folder()).filePath(relative))
                                    .toString(QUrl::FullyEncoded)
                              + "' && document.readyState === 'complete' && window.frames.length "
                                "=== 2 && Array.prototype.every.call(window.frames, function (f) { return "
                                "f.document.readyState === 'complete' && "
                                "f.document.documentElement.getAttribute('data-kiosk-ready') === '1'; }); } catch (e) "
                                "{ return false; } })()")
                          .toBool();
        },
        timeoutMs);
}

QPoint KioskVisit::buttonCentre(const QString& buttonId)
{
    const QVariantList point =
        runScript(page(),
                  QStringLiteral("(function () { var frame = document.querySelector('frame[name=nav]');"
                                 " var box = frame.getBoundingClientRect();"
                                 " var b = frames['nav'].document.getElementById('%1').getBoundingClientRect();"
                                 " return [box.left + b.left + b.width / 2, box.top + b.top + b.height / 2]; })()")
                      .arg(buttonId))
            .toList();
    if (point.size() != 2)
        return QPoint(-1, -1);
    return QPoint(qRound(point[0].toDouble()), qRound(point[1].toDouble()));
}

bool KioskVisit::onDisplay() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

namespace {

// Runs xdotool with the arguments and lets the kiosk take what the X server sends.
void xdotool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    EXPECT_TRUE(tool.waitForFinished(10000) && tool.exitCode() == 0)
        << arguments.join(' ').toStdString() << ": " << tool.readAllStandardError().toStdString();
    QTest::qWait(150);
}

// The X key name (keysym) of a Qt key.
QString keyName(Qt::Key key)
{
    static const QHash<int, QString> names = {
        {Qt::Key_Left, "Left"},     {Qt::Key_Right, "Right"},   {Qt::Key_Home, "Home"},
        {Qt::Key_Escape, "Escape"}, {Qt::Key_Tab, "Tab"},       {Qt::Key_Backspace, "BackSpace"},
        {Qt::Key_Return, "Return"}, {Qt::Key_Menu, "Menu"},     {Qt::Key_Plus, "plus"},
        {Qt::Key_Minus, "minus"},   {Qt::Key_Back, "XF86Back"}, {Qt::Key_Refresh, "XF86Refresh"},
        {Qt::Key_Print, "Print"},   {Qt::Key_Space, "space"},
    };
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(u'a' + (key - Qt::Key_A)));
    return names.value(key);
}

} // namespace

void KioskVisit::touch(const QString& buttonId)
{
    const QPoint centre = buttonCentre(buttonId);
    QWidget* input = m_player->screen(1)->view()->focusProxy();
    if (!onDisplay()) {
        QTest::mouseClick(input, Qt::LeftButton, {}, centre);
        return;
    }
    const QPoint global = input->mapToGlobal(centre);
    xdotool({"mousemove", QString::number(global.x()), QString::number(global.y()), "click", "1"});
}

void KioskVisit::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget* input = m_player->screen(1)->view()->focusProxy();
    if (!onDisplay()) {
        QTest::keyClick(input, key, modifiers);
        return;
    }
    QStringList combination;
    if (modifiers & Qt::ControlModifier)
        combination << "ctrl";
    if (modifiers & Qt::AltModifier)
        combination << "alt";
    if (modifiers & Qt::ShiftModifier)
        combination << "shift";
    const QString name = keyName(key);
    ASSERT_FALSE(name.isEmpty()) << QKeySequence(key).toString().toStdString();
    combination << name;
    xdotool({"key", "--clearmodifiers", combination.join(u'+')});
}

QStringList KioskVisit::frameAddresses()
{
    return runScript(page(),
                     "(function () { var all = [window.location.href]; for (var i = 0; i < window.frames.length; "
                     "++i) { try { all.push(window.frames[i].location.href); } catch (e) { all.push('?'); } } "
                     "return all; })()")
        .toStringList();
}
