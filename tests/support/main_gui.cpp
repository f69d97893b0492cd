// gtest entry point of the window tests: an offscreen QApplication exists for the whole
// run so that widgets, queued calls and timers work in every test.
#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
