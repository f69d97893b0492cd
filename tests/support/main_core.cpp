// gtest entry point of the core tests: a QCoreApplication exists for the whole run so that queued
// calls, timers and child-process events work in every test. No widget is ever made here: these
// programs do not link the windows. The tests run with a home folder of their own
// (support/test_home.h).
#include "support/test_home.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Programs these tests start (the window program among them) inherit it.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const QTemporaryDir home;
    if (!UseTemporaryHome(home))
        return 1;
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
