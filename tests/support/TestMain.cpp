// SPDX-License-Identifier: MIT
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    // Widget tests need no X server; tests that drive a real display set QT_QPA_PLATFORM.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    setenv("LC_ALL", "C.UTF-8", 1);
    // Evolution Data Server stays out unless a test asks for it: a bus that can start it would
    // give every launch a server to wait for, on whichever home it inherited.
    setenv("BRISKO_EDS", "0", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
