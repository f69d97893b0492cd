#pragma once
// What a batch shows while it runs. The driver and the output parser write every display through
// this interface; the progress window of the GUI and the terminal of the command-line converter
// implement it.
#include "engine/source_disposal.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// How one file of a batch ended.
struct TFileOutcome {
    QString source; // the source path (the list row's caption)
    QString output; // the output path the engine was asked to write
    bool converted = false;
    QString reason;                             // why the file was not converted; empty when it was
    TSourceFate sourceFate = TSourceFate::Kept; // where the source went
    // Every failure line the engine gave for the file, or the reason alone when it gave none;
    // empty when the file was converted.
    QStringList lines;
};

// One of several files converted at once, as its row of the progress display shows it.
struct TFileProgress {
    QString source;    // the source path
    QString working;   // "Working on file 3 of 8: c.wav"
    QString output;    // "Output file: c.mp3", empty until the engine has named it
    QString status;    // "Status= 45%"
    int percent = 0;   // of the file, 0..100
    QString remaining; // the file's remaining time, "h:nn:ss"
};

class IProgressView {
  public:
    virtual ~IProgressView() = default;

    // Displays written by the output parser.
    virtual void SetFileStatus(const QString& text, int percent) = 0;  // "Status= 42%" and the file bar
    virtual void SetFileRemaining(const QString& duration) = 0;        // "h:nn:ss"
    virtual void SetBatchStatus(const QString& text, int percent) = 0; // "Batch=42%" and the batch bar
    virtual void SetBatchElapsed(const QString& duration) = 0;
    virtual void SetBatchEstimated(const QString& duration) = 0;
    virtual void SetBatchRemaining(const QString& duration) = 0;
    virtual void SetWorking(const QString& text) = 0; // "Working on file 1 of 3: a.mpg"
    virtual void SetOutput(const QString& text) = 0;  // "Output file: a.avi"
    // The converting animation starts (once per batch) with its label text.
    virtual void StartAnimation(const QString& label) = 0;
    virtual void SetTrayHint(const QString& text) = 0;
    // One failure line of the engine, or the reason a file was booked failed. Called once per
    // line; the GUI shows a box per line, the terminal prints it.
    virtual void ShowEngineError(const QString& line) = 0;
    // The same for a named source; a view that shows several files at once tells them apart by it.
    virtual void ShowFileError(const QString& /*source*/, const QString& line) { ShowEngineError(line); }

    // Several files at once. At the start of a batch SetFilesAtOnce says how many files run at
    // once. With 1 the file displays above show the one file and the calls below never come: the
    // display is the one-at-a-time display. With more, the file displays above are not written;
    // each file in flight has a place 0..count-1 whose row SetFileProgress writes, and
    // ClearFileProgress empties the place of a file that ended when no other file takes it.
    virtual void SetFilesAtOnce(int /*count*/) {}
    virtual void SetFileProgress(int /*place*/, const TFileProgress& /*progress*/) {}
    virtual void ClearFileProgress(int /*place*/) {}

    // The progress window's life, driven by the batch driver.
    virtual void SetCaption(const QString& text) = 0;
    virtual void SetStopWhenDoneText(const QString& text) = 0;
    virtual void ResetDisplays() = 0;
    // A file was booked converted or failed.
    virtual void FileBooked(const TFileOutcome& outcome) = 0;
    // Runs the wait in which the batch proceeds (the modal progress window, or an event loop on
    // the terminal) and returns its modal result once CloseProgress or the user ended it.
    virtual int RunProgress() = 0;
    // The batch is over: marks the window finished and ends the wait of RunProgress with result.
    virtual void CloseProgress(int modalResult) = 0;
    // After the wait: the error summary or the success notice (and completion action).
    virtual void BatchEndReport(bool hadError, int modalResult) = 0;
};

// Where the converted sources of a batch went, for its end report: one line for those moved to
// the trash, one for those deleted ("Source files moved to the Trash: 3") and one for those that
// were to go but are still in place; empty when none was to go.
QString SourcesNote(int trashed, int deleted, int notRemoved);

// A duration in milliseconds as "h:nn:ss": hours without a leading zero (as many as there are,
// 25 for a day and an hour), minutes and seconds two digits, the milliseconds dropped. A negative duration
// (an estimate overtaken by the elapsed time) shows as "0:00:00".
QString DurationText(int64_t ms);
