// gtest entry point shared by every test program: an offscreen QApplication exists for the whole
// run so that widgets, queued calls and timers work in every test.
//
// Each test program runs with a home folder of its own (HOME, and XDG_DATA_HOME inside it), removed
// when it ends: what the program keeps in the user's folders, its trash above all (sources moved
// to the trash after a conversion), never reaches the real user's.
#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fputs("cannot make a temporary home folder\n", stderr);
        return 1;
    }
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toLocal8Bit().constData(), 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
