#pragma once
// The progress window of a batch: the displays the driver and the output parser write, the list
// of failed files with the engine's lines, the two check boxes that change the running batch,
// "Send to tray" and the stop command with its question.
//
// It is shown application-modal and waited for by RunModal; hiding it (to the tray) does not end
// the wait. It closes when the driver ends the batch (Finish) or the user answers "Stop now".
#include "engine/progress_view.h"

#include <QDialog>
#include <QEventLoop>
#include <QList>

class QCheckBox;
class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class TConvertAnimation;

class TfrmProgress : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmProgress(QWidget* owner);

    // Fixed captions from the string table (creation and language switch).
    void ApplyCaptions();
    void ResetDisplays();
    // The current file's percentage, bar and remaining time back to zero.
    void ResetFileDisplays();

    // The window's caption; the title shows it after the batch percentage.
    void SetCaptionText(const QString& text);
    void SetFileStatus(const QString& text, int percent);
    void SetFileRemaining(const QString& duration);
    void SetBatchStatus(const QString& text, int percent);
    void SetBatchElapsed(const QString& duration);
    void SetBatchEstimated(const QString& duration);
    void SetBatchRemaining(const QString& duration);
    void SetWorking(const QString& text);
    void SetOutput(const QString& text);
    void StartAnimation(const QString& label);
    void SetStopWhenDoneText(const QString& text);
    // One failure line of a file: listed under the file at once, the list shown with the first.
    void AddFailure(const QString& source, const QString& line);

    // How many files the batch converts at once. With one, the current file's displays show it
    // as they always did; with more, they give way to the list of files in flight, one row each
    // (name, bar, percentage, remaining time) that SetFileProgress writes and ClearFileProgress
    // empties.
    void SetFilesAtOnce(int count);
    void SetFileProgress(int place, const TFileProgress& progress);
    void ClearFileProgress(int place);

    // Shows the window modally over its owner and waits until it closes; the modal result.
    int RunModal();
    // The batch has ended: the window closes with result, or, while the stop question is open,
    // with Cancel once it is answered.
    void Finish(int result);
    bool Finished() const { return m_finished; }
    // Whether it has closed (its wait has ended).
    bool Closed() const { return m_closed; }

    // The stop command (Cancel, Escape, the close box, the tray's exit item): closes at once when
    // finished, else asks whether to stop now or when the current file is done.
    void reject() override;
    void done(int result) override;

  signals:
    // The user chose "When done" (true) or withdrew it (false).
    void stopWhenDoneChanged(bool stop);
    void deleteSourceToggled(bool on);
    void shutdownToggled(bool on);
    void sendToTrayClicked();
    // The window was minimised: the whole program is to be minimised.
    void minimiseRequested();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // A row of the list of files in flight.
    struct TFileRow {
        QLabel* name;
        QProgressBar* bar;
        QLabel* status;
        QLabel* remaining;
    };

    void updateTitle();
    void showFileRow(const TFileRow& row, bool visible);
    void closeWith(int result);

    TConvertAnimation* anmConvert;
    QLabel* lblCovnerting;
    QLabel* lblStatusRemainingSingle;
    QLabel* lblStatusRemaining;
    QLabel* lblStatus;
    QProgressBar* prgStatus;
    QProgressBar* prgBatch;
    QLabel* lblBatch;
    QLabel* lblRemaining;
    QLabel* lblBatchRemaining;
    QLabel* lblElapsed;
    QLabel* lblBatchElapsed;
    QLabel* lblEstimated;
    QLabel* lblBatchEstimated;
    QLabel* lblWorking;
    QLabel* lblOutput;
    QLabel* lblStopWhenDone;
    QWidget* pnlFiles;
    QGridLayout* m_filesGrid;
    QLabel* lblFiles;
    QLabel* lblFilesRemaining;
    QList<TFileRow> m_fileRows;
    QLabel* lblErrors;
    QTreeWidget* lsvErrors;
    QCheckBox* chkDelSource;
    QCheckBox* chkShutdown;
    QPushButton* btnTray;
    QPushButton* btnCancel;

    QString m_caption;
    int m_batchPercent = 0;
    bool m_finished = false;
    bool m_asking = false;
    bool m_closed = false;
    int m_result = 0;
    QEventLoop m_loop;
};
