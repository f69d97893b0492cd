// gtest entry point of the window tests: an offscreen QApplication exists for the whole
// run so that widgets, queued calls and timers work in every test. The tests run with a home
// folder of their own (support/test_home.h).
#include "support/test_home.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const QTemporaryDir home;
    if (!UseTemporaryHome(home))
        return 1;
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
