#pragma once
// Scripted engines for a batch of several files at once: each engine plays the run scripted for
// the source its command line names, whatever place it runs at, and the pool watches them all:
// which sources run, how many at once, and a hook before every block of any of them.
#include "engine/cmdline.h"
#include "scripted_engine.h"

#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <memory>
#include <vector>

class TScriptedEnginePool {
  public:
    QMap<QString, TScriptedRun> runs; // by the source's file name
    QStringList started;              // the sources' file names, in the order their engines started
    QSet<QString> running;            // the sources' file names whose engines run now
    int mostRunning = 0;
    std::vector<TScriptedEngine*> engines; // every engine of the batch, the first one included
    // Before every block of any engine, with the source's file name and the block's index.
    std::function<void(const QString& source, int block)> beforeBlock;

    // The source file name of an engine command line: its input (the fifth argument).
    static QString sourceOf(const QString& commandLine) {
        return QFileInfo(SplitCommandLine(commandLine).value(4)).fileName();
    }

    void attach(TScriptedEngine& engine) {
        engines.push_back(&engine);
        engine.runFor = [this](const QString& line) {
            started << sourceOf(line);
            return runs.value(sourceOf(line));
        };
        engine.onRunning = [this, &engine](bool on) {
            const QString source = sourceOf(engine.GetCommandLine());
            if (on)
                running.insert(source);
            else
                running.remove(source);
            mostRunning = std::max(mostRunning, int(running.size()));
        };
        engine.beforeBlock = [this, &engine](int, int block) {
            if (beforeBlock)
                beforeBlock(sourceOf(engine.GetCommandLine()), block);
        };
    }
    std::unique_ptr<IEngineRunner> make() {
        auto engine = std::make_unique<TScriptedEngine>();
        attach(*engine);
        return engine;
    }
};
