#pragma once

// A window test program makes its own home and data folders before anything else, whether ctest
// starts it or someone runs it by hand: the window's tests delete and create the default folder
// of club databases below the home folder (~/schiess) and write settings below the data folder,
// and whoever runs them must not lose their own. The folders go when the program ends.

#include "support/TempFolder.h"

#include <QTest>

#include <cstdlib>

class OwnHome
{
public:
    OwnHome()
    {
        const std::string home = m_folder.path().string();
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
        setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
    }

private:
    TempFolder m_folder;
};

// QTEST_MAIN and QTEST_GUILESS_MAIN with the program's own home made first.
#define TVX_QTEST_MAIN(TestObject, Application)                                                                        \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        const OwnHome ownHome;                                                                                         \
        QTEST_QAPP_SETUP(Application)                                                                                  \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
