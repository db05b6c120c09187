#pragma once

#include "dialogs/workbench.h"
#include "support/kiosk_fixture.h"
#include "support/web_wait.h"
#include "viewer/frm_view_page.h"

#include <QWebEngineView>
#include <gtest/gtest.h>
#include <memory>

// A made copy of the sample kiosk system, open as the headless maker opens
// it (so "screens" and "remotescreen" are the configured ones), and the viewer
// showing its pages. Pages are named relative to the kiosk system
// ("news/today.htm"). Every test ends with the viewer closed and destroyed.
class ViewerTest : public ::testing::Test {
protected:
    // Configuration lines added after the sample's own (later lines win).
    virtual QStringList extraConfiguration() const { return {}; }
    void SetUp() override;
    void TearDown() override
    {
        closeViewer();
        workbench.setKioskSystem(nullptr);
        m_kiosk.reset();
    }

    // A path of the kiosk system as the viewer logs it.
    QString path(const QString& relative) const { return m_kiosk->path(relative); }
    // The navigation guard's log line for a target of this screen.
    QString guardLine(int screen, const QString& target) const
    {
        return QStringLiteral("webBrowser_BeforeNavigate2(%1) ").arg(screen) + target;
    }
    QStringList guardLines() const { return m_kiosk->logLines().filter(QStringLiteral("webBrowser_BeforeNavigate2(")); }
    bool logged(int screen, const QString& relative) const
    {
        return guardLines().contains(guardLine(screen, path(relative)));
    }
    QStringList messages() const { return m_kiosk->messages.texts(); }

    // setPage + show on a fresh viewer (one not shown yet is kept), then waits
    // until browser 1 has loaded the page and the page check has run.
    frmViewPage& showPage(const QString& relative);
    // Waits until the browser's last completed load is the page and its check has run.
    bool waitForPage(int screen, const QString& relative);
    // Presses the key in the viewer window as the keyboard would.
    void press(char key);
    // Closes the viewer and waits until it is destroyed.
    void closeViewer();
    QVariant evaluate(int screen, const QString& script)
    {
        return runScript(workbench.instance<frmViewPage>().webBrowser(screen)->page(), script,
                         QWebEngineScript::ApplicationWorld);
    }

    // Writes a file; a made-style page ("_con.htm", "_nav.htm" beside it) whose
    // buttons b1, b2, ... link to the targets.
    void writeFile(const QString& relative, const QString& text) { writeTextFile(path(relative), text.split(u'\n')); }
    void writeLinksPage(const QString& relative, const QStringList& targets);

    std::unique_ptr<TemporaryKiosk> m_kiosk;
    Workbench workbench;
};
