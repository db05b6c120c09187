#pragma once

#include "support/kiosk_fixture.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "viewer/frm_view_page.h"

constexpr int kViewerTimeout = 20000;

// Runs the event loop, as the program does, until the condition holds (true)
// or the time is up (false). QTest::qWaitFor processes events in short bursts
// with pauses between them, which stretches every page load of the browser
// engine to several seconds; a running loop lets it work at full speed.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = kViewerTimeout);

// A made copy of the sample kiosk system, open as the headless maker opens
// it (so "screens" and "remotescreen" are the configured ones), and the viewer
// showing its pages. Every test ends with the viewer closed and destroyed.
class ViewerTest : public ::testing::Test {
protected:
    // Configuration lines added after the sample's own (later lines win).
    virtual QStringList extraConfiguration() const { return {}; }

    void SetUp() override;
    void TearDown() override;

    // A path of the kiosk system (relative, "/" separated) as the viewer logs it.
    QString path(const QString& relative) const;

    // setPage + show on the viewer (a fresh one when none exists), then waits
    // until browser 1 has loaded the page and the page check has run.
    frmViewPage& showPage(const QString& relative);
    // Waits until the browser's last completed load is the page and its check has run.
    bool waitForPage(int screen, const QString& relative);
    // Presses the key in the viewer window as the keyboard would.
    void press(char key);
    // Runs a script in the browser's page and waits for its result.
    QVariant evaluate(int screen, const QString& script);
    // Closes the viewer and waits until it is destroyed.
    void closeViewer();

    // The log lines written by the navigation guard, in order.
    QStringList guardLines() const;
    QStringList messages() const { return m_kiosk->messages.texts(); }

    // Writes a made-style page (frameset, "_con.htm", "_nav.htm") whose
    // navigation buttons b1, b2, ... link to the given targets.
    void writeLinksPage(const QString& relative, const QStringList& targets);
    // Writes one file of the kiosk system.
    void writeFile(const QString& relative, const QString& text);

    std::unique_ptr<TemporaryKiosk> m_kiosk;

private:
    void watch(frmViewPage& viewer);
    // The local path of every completed load, per screen (index 0 is screen 1).
    std::shared_ptr<std::vector<QStringList>> m_loads;
    QPointer<frmViewPage> m_watched;
};
