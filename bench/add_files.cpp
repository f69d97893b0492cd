// Adding many files to the source list: 1,000 media files (the shared samples under many names)
// are added with AddSourceFiles, each probed with MediaInfo, and the rate in files per second is
// printed (median of the rounds; goal: at least 600 files per second on a two-core machine).
// Each round also adds them one by one with AddSourceFile on this thread only, as adding worked
// before the probes ran in parallel, so both figures come from the same machine load.
//
// usage: add_files [files] [rounds]     (default 1000 files, 5 rounds)
#include "sources/sourcelist.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    QTemporaryDir dir;
    const QDir media(QStringLiteral(VARID_MEDIA_DIR));
    const QStringList samples =
        media.entryList({QStringLiteral("*.mkv"), QStringLiteral("*.mp4"), QStringLiteral("*.webm"),
                         QStringLiteral("*.mp3"), QStringLiteral("*.ogg")},
                        QDir::Files, QDir::Name);
    if (!dir.isValid() || samples.isEmpty()) {
        std::fprintf(stderr, "no samples in %s\n", VARID_MEDIA_DIR);
        return 1;
    }
    QStringList copies;
    for (const QString& name : samples) {
        copies << dir.filePath(name);
        if (!QFile::copy(media.filePath(name), copies.last()))
            return 1;
    }
    // Many names, few files: hard links to the copies.
    QStringList paths;
    for (int i = 0; i < files; ++i) {
        const QString& original = copies.at(i % copies.size());
        const QString path = dir.filePath(QStringLiteral("clip %1").arg(i, 5, 10, QLatin1Char('0')) +
                                          original.mid(original.lastIndexOf(QLatin1Char('.'))));
        if (::link(QFile::encodeName(original).constData(), QFile::encodeName(path).constData()) != 0)
            return 1;
        paths << path;
    }

    TSourceList list;
    list.SetInputFilters({QStringLiteral("Media=*.mkv;*.mp4;*.webm;*.mp3;*.ogg")});
    std::vector<double> rates, serialRates;
    for (int round = 0; round < rounds; ++round) {
        list.Clear();
        QElapsedTimer serialTimer;
        serialTimer.start();
        // VARID_BENCH_SKIP_SERIAL=1 leaves the one-by-one add out (its rate then shows as 0).
        if (!qEnvironmentVariableIsSet("VARID_BENCH_SKIP_SERIAL")) {
            for (const QString& path : std::as_const(paths))
                list.AddSourceFile(path);
        }
        serialRates.push_back(qEnvironmentVariableIsSet("VARID_BENCH_SKIP_SERIAL")
                                  ? 0.0
                                  : files / (static_cast<double>(serialTimer.nsecsElapsed()) / 1e9));
        list.Clear();
        // The probes run in child processes: their time counts once they are reaped.
        rusage before{}, after{}, childrenBefore{}, childrenAfter{};
        getrusage(RUSAGE_SELF, &before);
        getrusage(RUSAGE_CHILDREN, &childrenBefore);
        QElapsedTimer timer;
        timer.start();
        const QList<TAddResult> results = list.AddSourceFiles(paths);
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        if (list.Count() != files || list.Captions() != paths) {
            std::fprintf(stderr, "round %d: %d of %d files added, or not in the order given\n", round,
                         list.Count(), files);
            return 1;
        }
        getrusage(RUSAGE_SELF, &after);
        getrusage(RUSAGE_CHILDREN, &childrenAfter);
        const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
        const auto used = [&](const rusage& from, const rusage& to) {
            return ms(to.ru_utime) - ms(from.ru_utime) + ms(to.ru_stime) - ms(from.ru_stime);
        };
        const double cpuMs = used(before, after) + used(childrenBefore, childrenAfter);
        rates.push_back(files / seconds);
        // The processor time tells the work done apart from the load of other programs.
        std::printf("round %d: %.0f files/s (one by one: %.0f), %.2f ms of processor time per file\n",
                    round + 1, rates.back(), serialRates.back(), cpuMs / files);
    }
    std::sort(rates.begin(), rates.end());
    std::sort(serialRates.begin(), serialRates.end());
    std::printf("median: %.0f files per second (%d files); one by one: %.0f\n", rates[rates.size() / 2],
                files, serialRates[serialRates.size() / 2]);
    return 0;
}
