#pragma once
// Runs the real varid-convert, engine and FFmpeg in a throwaway program folder, from a working
// folder of its own.
#include "support/program_folder.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct TCliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

class TCliFixture : public ::testing::Test {
  protected:
    TProgramFolder prog;
    QTemporaryDir work;
    const QString media = QStringLiteral(VARID_MEDIA_DIR "/");

    void SetUp() override {
        ASSERT_TRUE(prog.isValid());
        ASSERT_TRUE(prog.copyExecutable(QStringLiteral("varid-convert")));
        ASSERT_TRUE(prog.copyExecutable(QStringLiteral("avcore.dll")));
    }
    TCliResult convert(const QStringList& args, const QProcessEnvironment& env = {}) {
        QProcess p;
        p.setWorkingDirectory(work.path());
        if (!env.isEmpty())
            p.setProcessEnvironment(env);
        p.start(prog.file(QStringLiteral("varid-convert")), args);
        EXPECT_TRUE(p.waitForFinished(300000)) << "varid-convert did not end";
        TCliResult r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
    static qint64 sizeOf(const QString& path) { return QFileInfo(path).size(); }
};
