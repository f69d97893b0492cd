#include "support/test_home.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

bool UseTemporaryHome(const QTemporaryDir& home) {
    if (!home.isValid()) {
        std::fputs("cannot make a temporary home folder\n", stderr);
        return false;
    }
    setenv("HOME", QFile::encodeName(home.path()).constData(), 1);
    setenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/.local/share")).constData(), 1);
    return true;
}
