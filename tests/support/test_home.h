#pragma once
// Every test program runs with a home folder of its own (HOME, and XDG_DATA_HOME inside it),
// removed when the program ends: what the program keeps in the user's folders, its trash above all
// (converted sources go there), never reaches the real user's. Both test entry points call this
// before anything else.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

// Points HOME and XDG_DATA_HOME into home; false (with a message) when home could not be made.
bool UseTemporaryHome(const QTemporaryDir& home);

// A test program's run: offscreen windows (also for the programs the tests start, which inherit
// it), a home folder of its own, and an application object of type App for the whole run, so that
// queued calls, timers and child-process events work in every test.
template <class App> int RunTestsWithin(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const QTemporaryDir home;
    if (!UseTemporaryHome(home))
        return 1;
    testing::InitGoogleTest(&argc, argv);
    App app(argc, argv);
    return RUN_ALL_TESTS();
}
