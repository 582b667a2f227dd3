#pragma once

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Runs every test of the program under the Qt application object its tests need. The tests
// never touch the settings of the user who runs them.
template <typename Application>
int RunAllTests(int argc, char* argv[])
{
    Application application(argc, argv);
    QTemporaryDir settingsHome;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
