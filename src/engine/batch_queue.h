#pragma once
// The source list as the batch driver sees it: the rows to convert in order, and the list's
// checks before a batch. The source list model implements it.
#include <QString>

#include <cstdint>
#include <functional>

class IBatchQueue {
  public:
    using OutputPathFn = std::function<QString(const QString& source)>;

    virtual ~IBatchQueue() = default;

    virtual int Count() const = 0;
    // The source path of a row (its caption).
    virtual QString Caption(int row) const = 0;
    // The source size of a row in bytes.
    virtual int64_t FileSize(int row) const = 0;
    // Removes the first row of that caption (a converted file).
    virtual void RemoveRow(const QString& path) = 0;
    // Moves the first row of that caption to the end (a failed file).
    virtual void MoveRowToEnd(const QString& path) = 0;

    // The checks of the convert command, each showing its own message and giving false to
    // refuse the batch: no output path equals its source; no two rows share an output path;
    // existing outputs may be overwritten.
    virtual bool CheckInputOutputDiffer(const OutputPathFn& outputPathFor) = 0;
    virtual bool CheckOutputsDistinct(const OutputPathFn& outputPathFor) = 0;
    virtual bool ConfirmOverwrite(const OutputPathFn& outputPathFor) = 0;
};
