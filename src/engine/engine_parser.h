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

#include <cstdint>

class IClock;
class IProgressView;

class TEngineOutputParser {
  public:
    TEngineOutputParser(TBatchRunState& run, IProgressView& view, const IClock& clock);

    // Whether a progress window exists; without one every line is skipped.
    void SetActive(bool active) { m_active = active; }
    bool Active() const { return m_active; }
    // The converting animation counts as stopped again (the progress displays were reset).
    void ResetAnimation() { m_animationRunning = false; }
    // Prepares for the output of the next file: the options text is the one the engine was given
    // (its time window limits the expected duration), the byte decoder starts afresh.
    void BeginFile(const QString& optionsText);

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
    const QString& FirstFailureLine() const { return m_firstFailure; }

    // Whether a line is one of the engine's failure lines.
    static bool IsFailureLine(const QString& line);

  private:
    void readNames(const QString& line);
    void readDuration(const QString& line);
    void readTime(const QString& line);
    void showProgress();
    void showBatchEstimate(int64_t elapsedMs);

    TBatchRunState& m_run;
    IProgressView& m_view;
    const IClock& m_clock;
    bool m_active = false;
    bool m_animationRunning = false;
    int64_t m_windowDurationMs = -1; // the " -t " of the time window, -1 without one
    int64_t m_windowStartMs = 0;     // the " -ss " of the time window
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    QString m_firstFailure;
};
