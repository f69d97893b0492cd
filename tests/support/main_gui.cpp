// gtest entry point of the window tests, under an offscreen QApplication.
#include "support/test_home.h"

#include <QApplication>

int main(int argc, char** argv) {
    return RunTestsWithin<QApplication>(argc, argv);
}
