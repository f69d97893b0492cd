#pragma once
// Test doubles of the batch driver's partners: an engine that replays scripted output in blocks
// from the event loop (as the process runner delivers it), and an in-memory source list.
#include "app/errors.h"
#include "engine/batch_queue.h"
#include "engine/cmdline.h"
#include "engine/engine_runner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QObject>
#include <QQueue>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <utility>

// One engine run: blocks delivered while it runs, blocks of the final drain, its exit status and
// what it leaves as output. As the real engine does, a run writes under a hidden temporary name
// beside the output from its start and renames that file to the output name at its end; a run
// that leaves no output, or is terminated, removes it.
struct TScriptedRun {
    QList<QByteArray> blocks;
    QList<QByteArray> drain;
    int exitCode = 0;
    enum class Output { Written, Missing, Empty } output = Output::Written;
    bool failToStart = false;
};

class TScriptedEngine final : public IEngineRunner {
  public:
    QList<TScriptedRun> runs; // the script, one entry per Execute
    QStringList commandLines; // every command line executed
    QList<TEnginePriority> priorities;
    QStringList confirmedReplacements; // the output the user agreed to replace, per Execute
    bool executedInsideEndHandler = false;
    int terminations = 0;
    // Runs before each block is delivered (tests act "during" a file), with the block index.
    std::function<void(int run, int block)> beforeBlock;
    // When set, gives the run of each Execute in place of runs (engines of one batch share a script).
    std::function<TScriptedRun(const QString& commandLine)> runFor;
    // Told when a run starts (true) and when it has ended, before its end is reported (false).
    std::function<void(bool running)> onRunning;

    void SetHandlers(OutputHandler onOutput, EndHandler onTerminated) override {
        m_onOutput = std::move(onOutput);
        m_onTerminated = std::move(onTerminated);
    }
    void DetachTermination() override { m_onTerminated = nullptr; }
    void SetPriority(TEnginePriority p) override { priorities << p; }
    void SetCommandLine(const QString& line) override { m_commandLine = line; }
    QString GetCommandLine() const override { return m_commandLine; }
    void SetConfirmedReplacement(const QString& output) override { m_confirmedReplacement = output; }
    void Execute() override {
        if (m_inEndHandler)
            executedInsideEndHandler = true;
        if (m_active)
            throw EVaridError(QStringLiteral("Process is already active"));
        commandLines << m_commandLine;
        confirmedReplacements << m_confirmedReplacement;
        m_run = runFor ? runFor(m_commandLine) : runs.isEmpty() ? TScriptedRun() : runs.takeFirst();
        if (m_run.failToStart)
            throw EVaridError(QStringLiteral("Error creating process : 2"));
        m_active = true;
        m_ended = false;
        m_next = 0;
        ++m_runIndex;
        createTemporary();
        if (onRunning)
            onRunning(true);
        schedule();
    }
    bool Active() const override { return m_active; }
    bool ProcessEnded() const override { return m_ended; }
    void Terminate(int exitCode) override {
        ++terminations;
        m_exitCode = exitCode;
        m_terminated = true;
        // The real runner waits for the stopped engine, which removes its temporary file.
        removeTemporary();
    }
    int ExitCode() const override { return m_exitCode; }

    // The output path of a command line: its last argument.
    static QString outputOf(const QString& line) {
        return SplitCommandLine(line).value(SplitCommandLine(line).size() - 1);
    }

  private:
    QString m_confirmedReplacement;
    void schedule() {
        QTimer::singleShot(0, &m_context, [this] { step(); });
    }
    void step() {
        if (!m_active)
            return;
        if (!m_terminated && m_next < m_run.blocks.size()) {
            if (beforeBlock)
                beforeBlock(m_runIndex, m_next);
            if (!m_terminated) {
                deliver(m_run.blocks.at(m_next++));
                schedule();
                return;
            }
        }
        m_ended = true;
        if (!m_terminated) {
            for (const QByteArray& block : std::as_const(m_run.drain))
                deliver(block);
            writeOutput();
            m_exitCode = m_run.exitCode;
        }
        m_terminated = false;
        m_active = false;
        if (onRunning)
            onRunning(false);
        if (m_onTerminated) {
            m_inEndHandler = true;
            m_onTerminated();
            m_inEndHandler = false;
        }
    }
    void deliver(const QByteArray& block) {
        if (m_onOutput)
            m_onOutput(block.constData(), block.size());
    }
    // "." + the output's stem + ".varid-part-" + process + "-" + six characters + its extension.
    void createTemporary() {
        const QFileInfo output(outputOf(m_commandLine));
        const QString name = QLatin1Char('.') + output.completeBaseName() + QStringLiteral(".varid-part-") +
                             QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
                             QStringLiteral("%1").arg(m_runIndex, 6, 10, QLatin1Char('0')) +
                             (output.suffix().isEmpty() ? QString() : QLatin1Char('.') + output.suffix());
        QFile file(output.dir().filePath(name));
        m_temporary = file.open(QIODevice::NewOnly) ? file.fileName() : QString();
    }
    void removeTemporary() {
        if (!m_temporary.isEmpty())
            QFile::remove(std::exchange(m_temporary, QString()));
    }
    void writeOutput() {
        if (m_run.output == TScriptedRun::Output::Missing || m_temporary.isEmpty()) {
            removeTemporary();
            return;
        }
        QFile out(m_temporary);
        if (out.open(QIODevice::WriteOnly))
            out.write(m_run.output == TScriptedRun::Output::Empty ? QByteArray() : QByteArray("converted"));
        out.close();
        std::rename(QFile::encodeName(m_temporary).constData(),
                    QFile::encodeName(outputOf(m_commandLine)).constData());
        m_temporary.clear();
    }

    QObject m_context;
    OutputHandler m_onOutput;
    EndHandler m_onTerminated;
    QString m_commandLine;
    QString m_temporary;
    TScriptedRun m_run;
    int m_runIndex = -1;
    qsizetype m_next = 0;
    bool m_active = false;
    bool m_ended = false;
    bool m_terminated = false;
    bool m_inEndHandler = false;
    int m_exitCode = 0;
};

class TFakeQueue final : public IBatchQueue {
  public:
    struct Row {
        QString caption;
        int64_t size = 0;
    };
    QList<Row> rows;
    bool differ = true, distinct = true, overwrite = true;
    QStringList checksRun;

    QStringList captions() const {
        QStringList list;
        for (const Row& r : rows)
            list << r.caption;
        return list;
    }

    int Count() const override { return static_cast<int>(rows.size()); }
    QString Caption(int row) const override { return rows.at(row).caption; }
    int64_t FileSize(int row) const override { return rows.at(row).size; }
    void RemoveRow(const QString& path) override {
        const qsizetype i = find(path);
        if (i >= 0)
            rows.removeAt(i);
    }
    void MoveRowToEnd(const QString& path) override {
        const qsizetype i = find(path);
        if (i >= 0)
            rows.append(rows.takeAt(i));
    }
    bool CheckInputOutputDiffer(const OutputPathFn&) override {
        checksRun << QStringLiteral("differ");
        return differ;
    }
    bool CheckOutputsDistinct(const OutputPathFn&) override {
        checksRun << QStringLiteral("distinct");
        return distinct;
    }
    bool ConfirmOverwrite(const OutputPathFn&) override {
        checksRun << QStringLiteral("overwrite");
        return overwrite;
    }

  private:
    qsizetype find(const QString& path) const {
        for (qsizetype i = 0; i < rows.size(); ++i)
            if (rows.at(i).caption == path)
                return i;
        return -1;
    }
};
