// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The make engine inside a host other than the desktop program (a kiosk, the
// preview, a test): a make that fails fatally raises its located failure to
// the host, ends nothing, and the host goes on making in the same session.
#include "maker_test_support.h"
#include "support/executable_script.h"

#include "base/runtime_error.h"
#include "maker/page_maker.h"
#include "system/open_kiosk_system.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// A host that makes every page and keeps what went wrong instead of ending.
struct MakeHost {
    Session& session;
    QStringList failures;

    bool makeAll(const QString& kioskFolder)
    {
        try {
            const auto system = openKioskSystemHeadless(session, kioskFolder);
            SessionProblems problems(session);
            PageMaker maker(*system, problems);
            maker.setPictureRuns(PageMaker::AutomaticRuns);
            maker.makeAll();
            maker.run();
            return true;
        } catch (const RuntimeError& error) {
            failures.append(QStringLiteral("%1 in %2.%3").arg(error.number()).arg(error.module(), error.label()));
            return false;
        }
    }
};

TEST(MakeHost, AFatalFailureOfAMakeReachesTheHostWhichKeepsRunning)
{
    TemporaryKiosk kiosk(makerConfiguration());
    makePicture(kiosk.path("walk/big.jpg"), 1600, 1200);
    writeTextFile(kiosk.path("walk/a.zel"), {"#leaf", "#image big.jpg centre 90%"});
    const QString fullDisk = writeExecutableScript(
        kiosk.path("full-disk"), "echo 'zel-resample: cannot write: No space left on device' >&2\nexit 4");

    Session& session = kiosk.session.session();
    MakeHost host{session};
    session.setImageTool(ImageToolChoice{fullDisk, 60 * 1000, true});
    EXPECT_FALSE(host.makeAll(kiosk.folder()));
    session.setImageTool(ImageToolChoice{ZEL_PROGRAM_DIR "/zel-resample", 60 * 1000, true});
    EXPECT_TRUE(host.makeAll(kiosk.folder()));

    EXPECT_EQ(host.failures, QStringList{"61 in dlgMakePage.scaleImage"});
    EXPECT_EQ(kiosk.session.endCount(), 0);
    EXPECT_FALSE(session.fatalReportInProgress());
    EXPECT_FALSE(kiosk.messages.texts().join('\n').contains("The System has encountered a problem"));
    EXPECT_TRUE(QFile::exists(kiosk.path("walk/a.htm")));
    EXPECT_TRUE(QFile::exists(kiosk.path("walk/images/a00001.jpg")));
}

} // namespace
