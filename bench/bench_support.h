#pragma once
// What the benchmarks share: a throwaway program folder, running a program to its end with its
// wall time, the FFmpeg commands the engine runs for a batch, and the median.
#include "engine/cmdline.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

inline bool CopyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !CopyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// A program folder of its own in dir (the converter writes options.ini beside itself); the path
// of its varid-convert, or empty when it cannot be set up.
inline QString ProgramFolder(const QTemporaryDir& dir) {
    const QString prog = dir.filePath(QStringLiteral("prog"));
    const QString bin = QStringLiteral(VARID_BIN_DIR);
    if (!CopyTree(bin + QStringLiteral("/langs"), prog + QStringLiteral("/langs")) ||
        !QFile::copy(bin + QStringLiteral("/varid-convert"), prog + QStringLiteral("/varid-convert")) ||
        !QFile::copy(bin + QStringLiteral("/avcore.dll"), prog + QStringLiteral("/avcore.dll"))) {
        std::fprintf(stderr, "cannot set up a program folder from %s\n", qPrintable(bin));
        return {};
    }
    return prog + QStringLiteral("/varid-convert");
}

// Runs a program to its end; its wall time in ms, or -1 when it failed. While it runs, watch (when
// given) is called every few milliseconds with its process id.
inline qint64 Run(const QString& program, const QStringList& args, const QProcessEnvironment& env = {},
                  QByteArray* output = nullptr, const std::function<void(qint64)>& watch = {}) {
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    p.start(program, args);
    bool finished = false;
    if (watch && p.waitForStarted()) {
        while (!(finished = p.waitForFinished(20)) && p.state() == QProcess::Running)
            watch(p.processId());
    }
    if (!finished)
        finished = p.waitForFinished(600000);
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", qPrintable(program), p.readAll().constData());
        return -1;
    }
    if (output)
        *output = p.readAll();
    return timer.elapsed();
}

// The FFmpeg arguments the engine runs for each file of a batch (from the converter's and the
// engine's dry runs), with the outputs in outFolder; empty when they cannot be had.
inline std::vector<QStringList> DirectCommands(const QString& convert, const QStringList& options,
                                               const QStringList& files, const QString& outFolder) {
    QByteArray listing;
    if (Run(convert, QStringList{QStringLiteral("--dry-run")} + options + files, {}, &listing) < 0)
        return {};
    std::vector<QStringList> direct;
    QProcessEnvironment dryEnv = QProcessEnvironment::systemEnvironment();
    dryEnv.insert(QStringLiteral("VARID_AVCORE_DRY_RUN"), QStringLiteral("1"));
    for (const QByteArray& line : listing.split('\n')) {
        if (!line.contains(" -p "))
            continue;
        QByteArray plan;
        const QStringList engineArgs = SplitCommandLine(QString::fromUtf8(line));
        if (Run(engineArgs.first(), engineArgs.mid(1), dryEnv, &plan) < 0)
            return {};
        QStringList args = QString::fromUtf8(plan).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        args = args.mid(std::max<qsizetype>(0, args.indexOf(QStringLiteral("-hide_banner"))));
        args.replaceInStrings(QStringLiteral("pipe:3"), QStringLiteral("pipe:1"));
        args.last() = outFolder + QLatin1Char('/') + QFileInfo(args.last()).fileName();
        direct.push_back(args);
    }
    if (direct.size() != size_t(files.size())) {
        std::fprintf(stderr, "expected %lld command lines, got %zu\n", static_cast<long long>(files.size()),
                     direct.size());
        return {};
    }
    return direct;
}

// The FFmpeg commands run one after another; their summed wall time in ms, or -1.
inline qint64 RunOneAfterAnother(const std::vector<QStringList>& commands) {
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    qint64 total = 0;
    for (const QStringList& args : commands) {
        const qint64 t = Run(ffmpeg, QStringList{QStringLiteral("-y")} + args);
        if (t < 0)
            return t;
        total += t;
    }
    return total;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace bench
