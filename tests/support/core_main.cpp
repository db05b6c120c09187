#include "platform/program_session.h"
#include "platform/session.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Tests hand their own TestSession to what they test; windows and work
    // that report through the program session see this one unless a test
    // installs its own (InstalledTestSession).
    Session session;
    const ProgramSessionInstallation installed(session);
    return RUN_ALL_TESTS();
}
