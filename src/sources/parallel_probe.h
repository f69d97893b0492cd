#pragma once
// Probing many files at once: the checks and the MediaInfo probe of each path run on worker
// threads (one per core), while the caller takes the results one by one in the order given.
#include "media/fileitem.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

enum class TAddResult;

struct TProbeOutcome {
    TAddResult result;
    TFileItem item; // filled when result is Added
};

class TParallelProbe {
  public:
    // Starts probing at once. Only paths with wanted[i] set are looked at; the others give
    // NotFound. filters and noneText are copies: the workers read nothing the caller may change.
    TParallelProbe(QStringList paths, std::vector<bool> wanted, QStringList filters, QString noneText);
    // Stops the workers after the files they are on and waits for them.
    ~TParallelProbe();
    TParallelProbe(const TParallelProbe&) = delete;
    TParallelProbe& operator=(const TParallelProbe&) = delete;

    // The outcome of path index, waiting until it is known; each index is taken once.
    TProbeOutcome Take(int index);

  private:
    void Work();
    TProbeOutcome Probe(const QString& path) const;

    const QStringList m_paths;
    const std::vector<bool> m_wanted;
    const QStringList m_filters;
    const QString m_none;

    std::mutex m_mutex;
    std::condition_variable m_done;
    std::vector<TProbeOutcome> m_outcomes;
    std::vector<bool> m_ready;
    int m_next = 0; // the next index a worker takes
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};
