#pragma once
// What became of the files of a batch, as the driver reports it when the batch is over, and the
// words both views give it: the window's error details and the terminal's summary.
#include "engine/progress_view.h"

#include <QList>
#include <QString>
#include <QStringList>

// A file given to a batch that was not converted, and why.
struct TNotConverted {
    enum class Kind {
        Refused,    // the source list did not take it
        Failed,     // the engine ran and the file was booked failed
        NotReached, // the batch ended (or never started) before the file's turn
    };
    QString source;
    Kind kind = Kind::Failed;
    QString reason;    // in one line
    QStringList lines; // every line that says why (the engine's failure lines), at least reason
};

struct TBatchReport {
    bool ran = false;             // the batch started: its first file's engine ran
    int total = 0;                // the files of the batch
    int converted = 0;            // booked converted
    QList<TFileOutcome> outcomes; // every booking, in order
    // The failed files in booking order, then those never reached, in list order.
    QList<TNotConverted> notConverted;

    QList<TNotConverted> Failed() const;
};

// The details of the window's error summary: each failed file by its shown name, under it each of
// its lines indented by four blanks.
QString ReportDetails(const QList<TNotConverted>& files);
// The terminal's summary of a batch of total files: "%d of %d files converted.", then, when any
// was not, "Not converted:" and one "  file: reason" line for each.
QStringList ReportSummary(int total, const QList<TNotConverted>& files);
