// How much the engine adds to a conversion: one clip converted through avcore.dll and through the
// very FFmpeg command the engine runs, alternating, and the median of engine time / FFmpeg time.
// Goal: at most 1.02.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 7;
const QString kEngine = QStringLiteral(VARID_BIN_DIR "/avcore.dll");
const QString kOptions = "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050";

// Runs a program to its end and returns the wall time in seconds, or -1 when it failed.
double Timed(const QString& program, const QStringList& args,
             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    process.waitForFinished(-1);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    process.readAll();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 ? seconds : -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.mp4");
    if (Timed("ffmpeg", {"-hide_banner",
                         "-loglevel",
                         "error",
                         "-y",
                         "-f",
                         "lavfi",
                         "-i",
                         "testsrc=size=640x480:rate=25:duration=10",
                         "-f",
                         "lavfi",
                         "-i",
                         "sine=duration=10",
                         "-ac",
                         "2",
                         "-c:v",
                         "libx264",
                         "-preset",
                         "ultrafast",
                         "-pix_fmt",
                         "yuv420p",
                         clip}) < 0) {
        std::fprintf(stderr, "could not make the clip\n");
        return 1;
    }
    const QString output = dir.filePath("out.avi");
    QStringList engineArgs{"-p", "4170352", "-i", clip};
    engineArgs << kOptions.split(' ') << output;

    // The FFmpeg command the engine runs, from its dry run; progress goes to standard output here.
    auto dryEnv = QProcessEnvironment::systemEnvironment();
    dryEnv.insert("VARID_AVCORE_DRY_RUN", "1");
    QProcess dry;
    dry.setProcessEnvironment(dryEnv);
    dry.setProcessChannelMode(QProcess::MergedChannels);
    dry.start(kEngine, engineArgs);
    dry.waitForFinished(-1);
    QStringList ffmpegArgs;
    for (const QString& line : QString::fromLocal8Bit(dry.readAll()).split('\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith("Note: ")) {
            ffmpegArgs << (line == "pipe:3" ? "pipe:1" : line);
        }
    }

    std::vector<double> ratios;
    for (int i = 0; i < kRuns; ++i) {
        const double engine = Timed(kEngine, engineArgs);
        const double direct = Timed("ffmpeg", ffmpegArgs);
        if (engine < 0 || direct < 0) {
            std::fprintf(stderr, "a run failed (engine %.3f s, ffmpeg %.3f s)\n", engine, direct);
            return 1;
        }
        ratios.push_back(engine / direct);
        std::printf("run %d: engine %.3f s, ffmpeg %.3f s, ratio %.3f\n", i + 1, engine, direct,
                    engine / direct);
    }
    std::sort(ratios.begin(), ratios.end());
    const double median = ratios[ratios.size() / 2];
    std::printf("median ratio engine/ffmpeg: %.3f (goal <= 1.02)\n", median);
    return 0;
}
