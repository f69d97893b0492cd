// The cost of the converter around the engine's work: converts the same files with varid-convert
// and with the FFmpeg commands the engine runs for them, started directly one after another,
// alternating the two, and prints the median ratio of their wall times (goal: at most 1.02).
//
// usage: batch_overhead [rounds] [format]     (default 7 rounds, MP4)
#include "bench_support.h"

#include <QCoreApplication>

#include <cstdio>
#include <vector>

using namespace bench;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const QString format = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("MP4");

    QTemporaryDir dir;
    const QString convert = ProgramFolder(dir);
    if (convert.isEmpty())
        return 1;
    const QString media = QStringLiteral(VARID_MEDIA_DIR);
    const QStringList files = {media + QStringLiteral("/rabbit320.mp4"), media + QStringLiteral("/again.mkv"),
                               media + QStringLiteral("/viper.ogg")};
    const QString outA = dir.filePath(QStringLiteral("a"));
    const QString outB = dir.filePath(QStringLiteral("b"));
    QDir().mkpath(outA);
    QDir().mkpath(outB);
    // One file at a time: the cost around each engine run, not what converting several at once
    // gains.
    const QStringList options = {QStringLiteral("--jobs"),   QStringLiteral("1"),
                                 QStringLiteral("--format"), format,
                                 QStringLiteral("--output"), outA};
    const std::vector<QStringList> direct = DirectCommands(convert, options, files, outB);
    if (direct.empty())
        return 1;

    std::vector<double> ratios;
    for (int r = 0; r < rounds; ++r) {
        const auto converter = [&] {
            return Run(convert, QStringList{QStringLiteral("--overwrite")} + options + files);
        };
        const auto ffmpegDirect = [&] { return RunOneAfterAnother(direct); };
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
    std::printf("median ratio %.3f (goal <= 1.02)\n", Median(ratios));
    return 0;
}
