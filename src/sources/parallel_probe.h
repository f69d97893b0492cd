#pragma once
// Probing many files at once. The media library serializes its threads on one global lock (its
// configuration and text tables), so probing threads would wait for each other; probing processes
// do not. For a long list of files, one child process per core probes every n-th file while the
// caller takes the results in the order given; a short list is probed here, one file at a time.
//
// A child that dies (a file that crashes the media library) costs only that file: it is reported
// as not media, and a new child goes on with the files after it.
#include "app/unique_fd.h"
#include "media/fileitem.h"
#include "sources/source_filters.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>
#include <vector>

struct TProbeOutcome {
    TAddResult result;
    TFileItem item; // filled when result is Added
};

class TParallelProbe {
  public:
    // Only paths with wanted[i] set are looked at; the others give NotFound. filters and noneText
    // are copies: nothing the caller may change is read while the probes run.
    TParallelProbe(QStringList paths, std::vector<bool> wanted, QStringList filters, QString noneText);
    // Ends and reaps the children that still run.
    ~TParallelProbe();
    TParallelProbe(const TParallelProbe&) = delete;
    TParallelProbe& operator=(const TParallelProbe&) = delete;

    // The outcome of path index, waiting until it is known. Indexes are taken in increasing order,
    // each once.
    TProbeOutcome Take(int index);

    // The checks and the probe of one path, as each child runs them.
    static TProbeOutcome ProbeOne(const QString& path, const QStringList& filters, const QString& noneText);

  private:
    struct TWorker {
        pid_t pid = 0;
        TUniqueFd pipe;
        QByteArray buffer;  // bytes read but not yet taken
        int firstIndex = 0; // the first index this child was started with
    };
    void start(TWorker& worker, int firstIndex);
    void stop(TWorker& worker);
    bool readRecord(TWorker& worker, int index, TProbeOutcome& outcome);
    [[noreturn]] void runChild(int fd, int firstIndex) const;

    const QStringList m_paths;
    const std::vector<bool> m_wanted;
    const QStringList m_filters;
    const QString m_none;
    std::vector<TWorker> m_workers; // empty: every file is probed in Take
};
