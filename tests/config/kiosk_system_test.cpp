#include "config/configuration.h"
#include "support/test_session.h"

#include <gtest/gtest.h>

namespace {

void withFolder(KioskSystem& system, const QString& folder) { system.addString("kioskSystemFolder", folder); }

// An owner opening another kiosk system drops the older one after the newer
// one is built: the forwards read the newest one still open.
TEST(KioskSystem, ForwardsReadTheNewestOneStillOpen)
{
    TestSession session;
    EXPECT_EQ(raisedNumber([] { configuration::kioskSystemFolder(); }), 5);
    auto first = std::make_unique<KioskSystem>(session.session());
    withFolder(*first, "/first/");
    {
        KioskSystem second(session.session());
        withFolder(second, "/second/");
        EXPECT_EQ(configuration::kioskSystemFolder(), "/second/");
        auto third = std::make_unique<KioskSystem>(session.session());
        withFolder(*third, "/third/");
        first.reset();
        EXPECT_EQ(configuration::kioskSystemFolder(), "/third/");
        third.reset();
        EXPECT_EQ(configuration::kioskSystemFolder(), "/second/");
    }
    EXPECT_FALSE(KioskSystem::exists());
    EXPECT_EQ(raisedNumber([] { configuration::integerValue("buttons"); }), 5);
}

} // namespace
