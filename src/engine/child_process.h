#pragma once
// Starting one child process with its standard input, output and error on fresh pipes, in a
// process group of its own, at a chosen scheduling priority.
#include "app/unique_fd.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <sys/types.h>

// Scheduling priority of a child. The numbers are stored in option files.
enum TProcessPriority : int {
    ppDefault = 0,  // inherit
    ppIdle = 1,     // lowest: niceness 19 and the idle scheduling class
    ppNormal = 2,   // inherit
    ppHigh = 3,     // niceness -5 where permitted
    ppRealTime = 4, // niceness -10 where permitted
};

struct TChildRequest {
    QString program;                        // file to run; without a "/" it is searched on PATH
    QStringList arguments;                  // the whole argument vector, argv[0] included
    QString workingDirectory;               // empty: inherit ours
    std::optional<QStringList> environment; // "NAME=value" entries; none: inherit ours
    int priority = ppDefault;               // a TProcessPriority; other values change nothing
};

struct TChildProcess {
    pid_t pid = 0;        // also the id of its process group
    TUniqueFd stdinWrite; // held; a child reading its input waits until it is written
    TUniqueFd stdoutRead; // non-blocking
    TUniqueFd stderrRead; // non-blocking
};

// Starts the child. Every descriptor of ours is close-on-exec. The child gets SIGTERM when the
// thread that started it ends, so it never outlives us. Raises EVaridError with
// "Error on STDxxx pipe creation : " or "Error on STDxxx pipe duplication : " followed by the
// errno number, or "Error creating process : " + errno + the cause in words in parentheses
// ("Error creating process : 13 (the program "..." may not be run: ...)"); nothing is left open
// then.
TChildProcess StartChildProcess(const TChildRequest& request);
