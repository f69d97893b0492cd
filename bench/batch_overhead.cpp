// The cost of the converter around the engine's work: converts the same files with varid-convert
// and with the FFmpeg commands the engine runs for them, started directly one after another,
// alternating the two, and prints the median ratio of their wall times (goal: at most 1.02).
//
// usage: batch_overhead [rounds] [format]     (default 7 rounds, MP4)
#include "engine/cmdline.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// Runs a program to its end; its wall time in ms, or -1 when it failed.
qint64 run(const QString& program, const QStringList& args, const QProcessEnvironment& env = {},
           QByteArray* output = nullptr) {
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    p.start(program, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", qPrintable(program), p.readAll().constData());
        return -1;
    }
    if (output)
        *output = p.readAll();
    return timer.elapsed();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const QString format = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("MP4");

    // A throwaway program folder: the converter writes options.ini beside itself.
    QTemporaryDir dir;
    const QString prog = dir.filePath(QStringLiteral("prog"));
    const QString bin = QStringLiteral(VARID_BIN_DIR);
    if (!copyTree(bin + QStringLiteral("/langs"), prog + QStringLiteral("/langs")) ||
        !QFile::copy(bin + QStringLiteral("/varid-convert"), prog + QStringLiteral("/varid-convert")) ||
        !QFile::copy(bin + QStringLiteral("/avcore.dll"), prog + QStringLiteral("/avcore.dll"))) {
        std::fprintf(stderr, "cannot set up a program folder from %s\n", qPrintable(bin));
        return 1;
    }
    const QString convert = prog + QStringLiteral("/varid-convert");
    const QString media = QStringLiteral(VARID_MEDIA_DIR);
    const QStringList files = {media + QStringLiteral("/rabbit320.mp4"), media + QStringLiteral("/again.mkv"),
                               media + QStringLiteral("/viper.ogg")};
    const QString outA = dir.filePath(QStringLiteral("a"));
    const QString outB = dir.filePath(QStringLiteral("b"));
    QDir().mkpath(outA);
    QDir().mkpath(outB);

    // The engine command lines of the batch, and from each the FFmpeg arguments the engine runs.
    QByteArray listing;
    if (run(convert,
            QStringList{QStringLiteral("--dry-run"), QStringLiteral("--format"), format,
                        QStringLiteral("--output"), outA} +
                files,
            {}, &listing) < 0)
        return 1;
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    std::vector<QStringList> direct;
    QProcessEnvironment dryEnv = QProcessEnvironment::systemEnvironment();
    dryEnv.insert(QStringLiteral("VARID_AVCORE_DRY_RUN"), QStringLiteral("1"));
    for (const QByteArray& line : listing.split('\n')) {
        if (!line.contains(" -p "))
            continue;
        // The command line's arguments, from the engine's own dry run of the same command.
        QByteArray plan;
        const QStringList engineArgs = SplitCommandLine(QString::fromUtf8(line));
        if (run(engineArgs.first(), engineArgs.mid(1), dryEnv, &plan) < 0)
            return 1;
        QStringList args = QString::fromUtf8(plan).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        args = args.mid(std::max<qsizetype>(0, args.indexOf(QStringLiteral("-hide_banner"))));
        args.replaceInStrings(QStringLiteral("pipe:3"), QStringLiteral("pipe:1"));
        args.last() = outB + QLatin1Char('/') + QFileInfo(args.last()).fileName();
        direct.push_back(args);
    }
    if (direct.size() != static_cast<size_t>(files.size())) {
        std::fprintf(stderr, "expected %lld command lines, got %zu\n", static_cast<long long>(files.size()),
                     direct.size());
        return 1;
    }

    std::vector<double> ratios;
    for (int r = 0; r < rounds; ++r) {
        const auto converter = [&] {
            return run(convert, QStringList{QStringLiteral("--overwrite"), QStringLiteral("--format"), format,
                                            QStringLiteral("--output"), outA} +
                                    files);
        };
        const auto ffmpegDirect = [&] {
            qint64 total = 0;
            for (const QStringList& args : direct) {
                const qint64 t = run(ffmpeg, QStringList{QStringLiteral("-y")} + args);
                if (t < 0)
                    return t;
                total += t;
            }
            return total;
        };
        // Alternate which goes first, so that neither always meets a warm or a cold cache.
        qint64 viaConverter = 0;
        qint64 viaFfmpeg = 0;
        if (r % 2 == 0) {
            viaConverter = converter();
            viaFfmpeg = ffmpegDirect();
        } else {
            viaFfmpeg = ffmpegDirect();
            viaConverter = converter();
        }
        if (viaConverter < 0 || viaFfmpeg < 0)
            return 1;
        const double ratio = double(viaConverter) / double(viaFfmpeg);
        ratios.push_back(ratio);
        std::printf("round %d: varid-convert %lld ms, ffmpeg %lld ms, ratio %.3f\n", r + 1,
                    static_cast<long long>(viaConverter), static_cast<long long>(viaFfmpeg), ratio);
    }
    std::printf("median ratio %.3f (goal <= 1.02)\n", median(ratios));
    return 0;
}
