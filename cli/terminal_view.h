#pragma once
// The batch on a terminal. One file at a time: one line per file that updates in place while the
// file converts when the output is a terminal, plain lines (one per file start, every tenth
// percent and every booking) otherwise. Several files at once: on a terminal, a block of one line
// per file in flight and a line for the batch, updated in place; otherwise plain lines for each
// file as above. Engine error lines are printed as they come (with the file's name when several
// files run at once).
#include "engine/progress_view.h"

#include <QEventLoop>
#include <QList>

#include <cstdio>

class TTerminalView final : public IProgressView {
  public:
    // progress: where progress goes (stdout); errors: where error lines go (stderr).
    TTerminalView(std::FILE* progress, std::FILE* errors, bool interactive);

    void SetFileStatus(const QString& text, int percent) override;
    void SetFileRemaining(const QString& duration) override { m_fileRemaining = duration; }
    void SetBatchStatus(const QString& text, int percent) override;
    void SetBatchElapsed(const QString&) override {}
    void SetBatchEstimated(const QString& duration) override { m_batchEstimated = duration; }
    void SetBatchRemaining(const QString& duration) override { m_batchRemaining = duration; }
    void SetWorking(const QString& text) override;
    // Written last for every engine line: the moment to show what the line changed.
    void SetOutput(const QString&) override { redraw(); }
    void StartAnimation(const QString&) override {}
    void SetTrayHint(const QString&) override {}
    void ShowEngineError(const QString& line) override;
    void ShowFileError(const QString& source, const QString& line) override;
    void SetFilesAtOnce(int count) override;
    void SetFileProgress(int place, const TFileProgress& progress) override;
    void ClearFileProgress(int place) override;
    void SetCaption(const QString&) override {}
    void SetStopWhenDoneText(const QString&) override {}
    void ResetDisplays() override;
    void FileBooked(const TFileOutcome& outcome) override;
    int RunProgress() override;
    void CloseProgress(int modalResult) override;
    void BatchEndReport(bool, int) override {}

  private:
    // A file in flight when several run at once.
    struct TRow {
        bool active = false;
        QString working;
        int percent = 0;
        QString remaining;
        int lastPlainStep = -1;
    };

    QString fileLine(const QString& working, int percent, const QString& remaining) const;
    QString batchLine() const;
    void redraw();
    void redrawRows();
    void endLiveLine();
    void print(std::FILE* to, const QString& line);

    std::FILE* m_out;
    std::FILE* m_err;
    bool m_interactive;
    bool m_liveLine = false; // a progress line without its line break is on the terminal
    QString m_working;
    int m_filePercent = 0;
    int m_batchPercent = 0;
    int m_lastPlainStep = -1;
    QString m_fileRemaining, m_batchEstimated, m_batchRemaining;
    QList<TRow> m_rows; // several at once: one per place
    int m_liveRows = 0; // lines of the block of files in flight on the terminal
    QEventLoop m_loop;
};
