// How fast the modern video codecs convert with their default settings: a 1080p clip (a real film,
// scaled up) converted through avcore.dll with the options of each format's defaults, the median
// of three runs. Printed: frames per second of wall-clock time, frames per second of processor time
// (engine and FFmpeg together: the steadier figure on a shared machine; an encoder that keeps two
// idle cores busy converts at up to twice it), and the wall-clock time a 1080p minute (1500 frames
// at 25 fps) takes at that speed. Goal: every default converts a 1080p minute in a few minutes on
// two cores.
//
// Measured on two shared cores (load average about 3: another build running), Release build:
//   default                      wall fps  cpu-s fps  1080p minute
//   MKV default: H.264               17.6        9.7          85 s
//   MKV H.265 (as MP4 and MOV)       17.1        9.6          88 s
//   MKV AV1                          16.3        8.7          92 s
//   WebM default: VP9                 7.5        4.4         201 s
//   WebM AV1                         15.2        8.1          99 s
//   MP4 H.265                        10.9        9.0         137 s
#include "profiles/keytable.h"
#include "profiles/optiondetails.h"
#include "profiles/profiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kRuns = 3;
constexpr int kFrames = 120; // four seconds of the 30 fps source
constexpr int kMinuteFrames = 1500;
const QString kEngine = QStringLiteral(VARID_BIN_DIR "/avcore.dll");

double CpuSecondsOfChildren() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Timing {
    double wall = -1;
    double cpu = -1;
};

// Runs a program to its end; its wall and processor seconds, or -1 when it failed.
Timing Timed(const QString& program, const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const double cpuBefore = CpuSecondsOfChildren();
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    process.waitForFinished(-1);
    Timing timing{static_cast<double>(timer.nsecsElapsed()) / 1e9, CpuSecondsOfChildren() - cpuBefore};
    const QByteArray output = process.readAll();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", qPrintable(program), output.constData());
        return {};
    }
    return timing;
}

// The options text of a format's defaults with one change.
template <class R> QString Options(const std::function<void(R&)>& change) {
    R record;
    DefaultSettings(record);
    change(record);
    return BuildOptions(record);
}

struct Case {
    const char* name;
    const char* extension;
    QString options;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip1080.mkv");
    // The source: a real film scaled to 1920x1080, stored almost losslessly so that decoding it
    // costs little beside the encoding measured.
    if (Timed("ffmpeg", {"-hide_banner", "-loglevel", "error", "-y", "-i", VARID_MEDIA_DIR "/frog.mp4",
                         "-frames:v", QString::number(kFrames), "-vf", "scale=1920:1080:flags=lanczos",
                         "-c:v", "libx264", "-preset", "ultrafast", "-crf", "10", "-c:a", "flac", clip})
            .wall < 0) {
        std::fprintf(stderr, "could not make the clip\n");
        return 1;
    }

    using MKV = TMkvSettings;
    const std::vector<Case> cases = {
        {"MKV default: H.264", "mkv", Options<MKV>([](MKV&) {})},
        {"MKV H.265 (as MP4 and MOV H.265)", "mkv", Options<MKV>([](MKV& s) { s.VideoCodec = 1; })},
        {"MKV AV1", "mkv", Options<MKV>([](MKV& s) { s.VideoCodec = 2; })},
        {"WebM default: VP9", "webm", Options<TWebmSettings>([](TWebmSettings&) {})},
        {"WebM AV1", "webm", Options<TWebmSettings>([](TWebmSettings& s) { s.VideoCodec = 1; })},
        {"MP4 H.265", "mp4", Options<TMP4Settings>([](TMP4Settings& s) { s.VideoCodec = 1; })},
    };

    std::printf("%-34s %9s %12s %12s  %s\n", "default", "wall fps", "cpu-s fps", "1080p minute", "options");
    for (const Case& c : cases) {
        const QString output = dir.filePath(QStringLiteral("out.") + c.extension);
        QStringList args{"-p", "4170352", "-i", clip};
        args << c.options.split(' ', Qt::SkipEmptyParts) << output;
        std::vector<Timing> runs;
        for (int run = 0; run < kRuns; ++run)
            runs.push_back(Timed(kEngine, args));
        std::sort(runs.begin(), runs.end(), [](const Timing& a, const Timing& b) { return a.wall < b.wall; });
        const Timing median = runs[kRuns / 2];
        if (median.wall <= 0) {
            std::printf("%-34s failed\n", c.name);
            continue;
        }
        const double fps = kFrames / median.wall;
        std::printf("%-34s %9.1f %12.1f %10.0f s  %s\n", c.name, fps, kFrames / median.cpu,
                    kMinuteFrames / fps, qPrintable(c.options.trimmed()));
    }
    return 0;
}
