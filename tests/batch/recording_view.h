#pragma once
// A progress view for tests: keeps the last text of every display, the engine error lines, the
// booked files and the end report, and runs the batch's wait in a local event loop.
#include "engine/clock.h"
#include "engine/progress_view.h"

#include <QEventLoop>
#include <QMap>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

class TFakeClock final : public IClock {
  public:
    QDateTime now = QDateTime(QDate(2024, 1, 1), QTime(12, 0));
    QDateTime Now() const override { return now; }
    void advance(int64_t ms) { now = now.addMSecs(ms); }
};

class TRecordingView : public IProgressView {
  public:
    QString fileStatus, fileRemaining, batchStatus, batchElapsed, batchEstimated, batchRemaining;
    int filePercent = -1, batchPercent = -1;
    QString working, output, animationLabel, trayHint, caption, stopWhenDoneText;
    int fileStatusWrites = 0;
    int animationStarts = 0;
    int resets = 0;
    QStringList errors;
    QList<TFileOutcome> booked;
    QStringList trayHints;
    bool reported = false;
    bool reportHadError = false;
    int reportResult = -1;
    int closeResult = -1;
    // Called for every working label written (tests use it to act during a file).
    std::function<void(const QString&)> onWorking;
    // Several files at once: how many, the row of each place shown now, and every failure line
    // with its source.
    int filesAtOnce = 0;
    QMap<int, TFileProgress> rows;
    QStringList fileErrors; // "source: line"

    void SetFileStatus(const QString& text, int percent) override {
        fileStatus = text;
        filePercent = percent;
        ++fileStatusWrites;
    }
    void SetFileRemaining(const QString& d) override { fileRemaining = d; }
    void SetBatchStatus(const QString& text, int percent) override {
        batchStatus = text;
        batchPercent = percent;
    }
    void SetBatchElapsed(const QString& d) override { batchElapsed = d; }
    void SetBatchEstimated(const QString& d) override { batchEstimated = d; }
    void SetBatchRemaining(const QString& d) override { batchRemaining = d; }
    void SetWorking(const QString& text) override {
        working = text;
        if (onWorking)
            onWorking(text);
    }
    void SetOutput(const QString& text) override { output = text; }
    void StartAnimation(const QString& label) override {
        animationLabel = label;
        ++animationStarts;
    }
    void SetTrayHint(const QString& text) override {
        trayHint = text;
        trayHints << text;
    }
    void ShowEngineError(const QString& line) override { errors << line; }
    void ShowFileError(const QString& source, const QString& line) override {
        fileErrors << source + QStringLiteral(": ") + line;
        ShowEngineError(line);
    }
    void SetFilesAtOnce(int count) override {
        filesAtOnce = count;
        rows.clear();
    }
    void SetFileProgress(int place, const TFileProgress& progress) override { rows[place] = progress; }
    void ClearFileProgress(int place) override { rows.remove(place); }
    void SetCaption(const QString& text) override { caption = text; }
    void SetStopWhenDoneText(const QString& text) override { stopWhenDoneText = text; }
    void ResetDisplays() override { ++resets; }
    void FileBooked(const TFileOutcome& outcome) override { booked << outcome; }
    int RunProgress() override {
        // A safety net only: a batch that never ends fails the test instead of hanging it.
        QTimer::singleShot(60000, &m_loop, [this] { m_loop.exit(-1); });
        return m_loop.exec();
    }
    void CloseProgress(int modalResult) override {
        closeResult = modalResult;
        m_loop.exit(modalResult);
    }
    void BatchEndReport(bool hadError, int modalResult) override {
        reported = true;
        reportHadError = hadError;
        reportResult = modalResult;
    }

  private:
    QEventLoop m_loop;
};
