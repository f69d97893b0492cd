// Several files at once: converts a batch with varid-convert (automatic files at once unless a
// number is given) and with the FFmpeg commands the engine runs for its files, started directly
// one after another, alternating the two; prints each round's wall times, the median ratio, and
// the peak memory of the converter's whole process tree (the converter, its engines and their
// FFmpegs, sampled while it runs).
//
// usage: parallel_batch [rounds] [audio|video] [jobs]     (default 3 rounds, audio, automatic)
//   audio: eight copies of a 41-second MP3 to MP3 with its default profile (goal: ratio <= 0.60
//          on two processors)
//   video: four 10-second 720x480 MPEG-2 videos to MP4 with its default profile (goal: <= 0.90)
#include "bench_support.h"

#include <QCoreApplication>
#include <QHash>

#include <cstdio>
#include <vector>

using namespace bench;

namespace {

// The resident memory of a process and all its descendants, in KiB.
qint64 treeResidentKiB(qint64 root) {
    QHash<qint64, QList<qint64>> children;
    QHash<qint64, qint64> resident;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        qint64 parent = -1;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("PPid:"))
                parent = line.mid(5).trimmed().toLongLong();
            else if (line.startsWith("VmRSS:"))
                resident[pid] = line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
        children[parent] << pid;
    }
    qint64 total = 0;
    QList<qint64> todo{root};
    while (!todo.isEmpty()) {
        const qint64 pid = todo.takeLast();
        total += resident.value(pid);
        todo += children.value(pid);
    }
    return total;
}

bool makeVideo(const QString& path, int seconds) {
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    const QString length = QString::number(seconds);
    return Run(ffmpeg, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                        QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("testsrc2=size=720x480:rate=30000/1001:duration=") + length,
                        QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("sine=frequency=440:sample_rate=48000:duration=") + length,
                        QStringLiteral("-c:v"), QStringLiteral("mpeg2video"), QStringLiteral("-b:v"),
                        QStringLiteral("6000k"), QStringLiteral("-c:a"), QStringLiteral("mp2"), path}) >= 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const bool video = argc > 2 && qstrcmp(argv[2], "video") == 0;
    const QString jobs = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();

    QTemporaryDir dir;
    const QString convert = ProgramFolder(dir);
    if (convert.isEmpty())
        return 1;
    QStringList files;
    for (int i = 1; i <= (video ? 4 : 8); ++i) {
        const QString path = dir.filePath(QStringLiteral("source%1.%2").arg(i).arg(video ? "mpg" : "mp3"));
        const bool made =
            video ? makeVideo(path, 10) : QFile::copy(QStringLiteral(VARID_MEDIA_DIR "/viper.mp3"), path);
        if (!made) {
            std::fprintf(stderr, "cannot make the source %s\n", qPrintable(path));
            return 1;
        }
        files << path;
    }
    const QString outA = dir.filePath(QStringLiteral("a"));
    const QString outB = dir.filePath(QStringLiteral("b"));
    QDir().mkpath(outA);
    QDir().mkpath(outB);
    QStringList options = {QStringLiteral("--format"), video ? QStringLiteral("MP4") : QStringLiteral("MP3"),
                           QStringLiteral("--output"), outA};
    if (!jobs.isEmpty())
        options << QStringLiteral("--jobs") << jobs;
    const std::vector<QStringList> direct = DirectCommands(convert, options, files, outB);
    if (direct.empty())
        return 1;

    std::vector<double> ratios;
    qint64 peakKiB = 0;
    const auto watch = [&](qint64 pid) { peakKiB = std::max(peakKiB, treeResidentKiB(pid)); };
    for (int r = 0; r < rounds; ++r) {
        const auto converter = [&] {
            return Run(convert, QStringList{QStringLiteral("--overwrite")} + options + files, {}, nullptr,
                       watch);
        };
        qint64 viaConverter = 0;
        qint64 viaFfmpeg = 0;
        if (r % 2 == 0) {
            viaConverter = converter();
            viaFfmpeg = RunOneAfterAnother(direct);
        } else {
            viaFfmpeg = RunOneAfterAnother(direct);
            viaConverter = converter();
        }
        if (viaConverter < 0 || viaFfmpeg < 0)
            return 1;
        ratios.push_back(double(viaConverter) / double(viaFfmpeg));
        std::printf("round %d: varid-convert %lld ms, ffmpeg one after another %lld ms, ratio %.3f\n", r + 1,
                    static_cast<long long>(viaConverter), static_cast<long long>(viaFfmpeg), ratios.back());
    }
    std::printf("%s, files at once %s: median ratio %.3f (goal <= %s); peak memory of the batch %.1f MiB\n",
                video ? "four 720x480 videos to MP4" : "eight 41 s MP3 to MP3",
                jobs.isEmpty() ? "automatic" : qPrintable(jobs), Median(ratios), video ? "0.90" : "0.60",
                double(peakKiB) / 1024.0);
    return 0;
}
