#pragma once
// The state of the batch in progress: the file being converted, the counts and byte totals, and
// what the engine's output said so far. The batch driver owns it; the output parser fills it.
//
// With several files converted at once each engine in flight has a file state of its own; the
// batch's record holds the first engine's, and the counts and byte totals of all.
#include <QDateTime>
#include <QString>

#include <cstdint>

// What one engine run has said about its file so far.
struct TFileRunState {
    bool FileFailed = false;
    QDateTime FileStartTime;
    int32_t FilePercent = 0;
    QString PartialLine;
    QString CurrentInput;
    int64_t CurrentBytes = 0;
    int32_t DurationMs = 0;
    int32_t TimeMs = 0;
    QString EngineInputName;
    QString EngineOutputName;
};

struct TBatchRunState : TFileRunState {
    bool BatchHadError = false;
    bool StopWhenDone = false;
    int32_t FailedCount = 0;
    int32_t DoneCount = 0;
    int32_t TotalCount = 0;
    int64_t TotalBytes = 0;
    int64_t DoneBytes = 0;
    int64_t ProcessedBytes = 0;
    int32_t BatchPercent = 0;
    QDateTime BatchStartTime;
};
