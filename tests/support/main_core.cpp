// gtest entry point of the core tests, under a QCoreApplication. No widget is ever made here: these
// programs do not link the windows.
#include "support/test_home.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    return RunTestsWithin<QCoreApplication>(argc, argv);
}
