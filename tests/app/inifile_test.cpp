#include "app/inifile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(IniFile, ReadsCaseInsensitiveTrimmedFirstWins) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; comment\n[General]\n  Key One  =  value  \nkey one=second\nNum=$1F\n");
    f.close();
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("general"), QStringLiteral("KEY ONE"), QString()),
              QStringLiteral("value"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("General"), QStringLiteral("num"), 0), 31);
}
