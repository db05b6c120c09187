// The program session changes only through an installation, which lasts while it lives.
#include "platform/program_session.h"
#include "support/test_session.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramSession, OnlyAnInstallationChangesItAndItsEndGivesTheOneBeforeBack)
{
    Session& before = programSession();
    TestSession built;
    EXPECT_EQ(&programSession(), &before) << "building a session installs nothing";
    {
        const ProgramSessionInstallation installed(built.session());
        EXPECT_EQ(&programSession(), &built.session());
        {
            InstalledTestSession inner;
            EXPECT_EQ(&programSession(), &inner.session());
        }
        EXPECT_EQ(&programSession(), &built.session());
    }
    EXPECT_EQ(&programSession(), &before);
}

} // namespace
