#include "platform/session.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Tests that need their own services build a TestSession over this one.
    Session session;
    return RUN_ALL_TESTS();
}
