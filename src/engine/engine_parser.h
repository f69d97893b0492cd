#pragma once
// Turns the engine's console output into the batch's run-state and progress displays.
//
// The engine's output arrives in raw blocks from both of its pipes. The parser joins them into
// lines (a line may be split across blocks), reads the input and output names, the duration, the
// position reached and the failure lines, and writes the progress displays. It never throws: it
// runs inside the process runner's data events.
#include "engine/batch_run_state.h"

#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <cstdint>
#include <functional>

class IClock;
class IProgressView;

class TEngineOutputParser {
  public:
    // One file at a time: the file's state is the batch's own record, and the file displays of
    // the view show it.
    TEngineOutputParser(TBatchRunState& run, IProgressView& view, const IClock& clock);
    // One of several files at once: file is this engine's state and place its row in the view;
    // othersProcessed gives the bytes counted as processed of the batch's other files in flight.
    TEngineOutputParser(TBatchRunState& run, TFileRunState& file, int place,
                        std::function<int64_t()> othersProcessed, IProgressView& view, const IClock& clock);

    // Whether a progress window exists; without one every line is skipped.
    void SetActive(bool active) { m_active = active; }
    bool Active() const { return m_active; }
    // The converting animation counts as stopped again (the progress displays were reset).
    void ResetAnimation() { *m_animationRunning = false; }
    // Parsers of one batch share whether the animation runs (it starts once per batch).
    void ShareAnimation(bool* running) { m_animationRunning = running ? running : &m_ownAnimation; }
    // Prepares for the output of the next file: the options text is the one the engine was given
    // (its time window limits the expected duration), the byte decoder starts afresh. ordinal:
    // the file's number in the batch, shown with several files at once.
    void BeginFile(const QString& optionsText, int ordinal = 0);

    // One block of engine output. While the engine runs, text after the last line break waits
    // for the next block; once it has ended (the final drain) the whole text is parsed.
    void ParseEngineOutput(const char* bytes, int64_t count, bool processEnded);
    // Parses the text still waiting as the last line.
    void FlushEngineOutput();
    // Handles one complete line.
    void HandleLine(const QString& line);
    // The batch display at the end of a file that ended (converted or failed) when the batch goes on.
    void UpdateBatchProgressAtFileEnd();

    // The first failure line seen since BeginFile; empty when none.
    const QString& FirstFailureLine() const { return m_failures.isEmpty() ? m_none : m_failures.first(); }
    // Every failure line seen since BeginFile, trimmed.
    const QStringList& FailureLines() const { return m_failures; }
    // The bytes of this file counted as processed: its size by its percentage.
    int64_t FileProcessedBytes() const;
    // Whether this parser shows one of several files at once.
    bool SharesDisplay() const { return m_place >= 0; }

    // Whether a line is one of the engine's failure lines.
    static bool IsFailureLine(const QString& line);

  private:
    void readNames(const QString& line);
    void readDuration(const QString& line);
    void readTime(const QString& line);
    void showProgress();
    void showBatchPercent();
    void showBatchEstimate(int64_t elapsedMs);
    void showFileRow(const QString& input);

    TBatchRunState& m_batch;
    TFileRunState& m_run; // this file's state
    int m_place = -1;     // the row of this file with several at once; -1: one at a time
    std::function<int64_t()> m_othersProcessed;
    IProgressView& m_view;
    const IClock& m_clock;
    bool m_active = false;
    bool m_ownAnimation = false;
    bool* m_animationRunning = &m_ownAnimation;
    int m_ordinal = 0;
    QString m_status;                // this file's "Status= 42%", with several at once
    QString m_remaining;             // this file's remaining time, with several at once
    int64_t m_windowDurationMs = -1; // the " -t " of the time window, -1 without one
    int64_t m_windowStartMs = 0;     // the " -ss " of the time window
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    QStringList m_failures;
    QString m_none;
};
