#pragma once
// What the driver tests share: a program folder with an engine file and a language folder, input
// and output folders, the queue, the recording view, the clock and the scripted dialogs.
#include "app/options.h"
#include "app/paths.h"
#include "app/scripted_dialogs.h"
#include "engine/batch_driver.h"
#include "lang/strings.h"
#include "recording_view.h"
#include "scripted_engine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class TDriverFixture : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    TOptions options;
    TFakeQueue queue;
    TRecordingView view;
    TFakeClock clock;
    TScriptedDialogs dialogs;
    std::unique_ptr<TBatchDriver> driver;

    // The folders, and a driver over engine.
    void SetUpDriver(IEngineRunner& engine) {
        ResetStringTable();
        InitPathsFor(dir.path());
        QDir().mkpath(LangsDir + QStringLiteral("English_Profile"));
        touch(AppDir + QStringLiteral("avcore.dll"), "engine");
        QDir().mkpath(dir.filePath(QStringLiteral("in")));
        QDir().mkpath(dir.filePath(QStringLiteral("out")));
        driver = std::make_unique<TBatchDriver>(queue, engine, view, clock, options);
    }
    // The driver goes before the engines of the test that made it.
    void TearDown() override { driver.reset(); }
    static void touch(const QString& path, const QByteArray& content) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    // A source in in/, listed.
    QString listSource(const QString& name, int64_t size) {
        const QString path = dir.filePath(QStringLiteral("in/") + name);
        touch(path, "source");
        queue.rows.append({path, size});
        return path;
    }
    QString output(const QString& name) const { return dir.filePath(QStringLiteral("out/") + name); }
};
