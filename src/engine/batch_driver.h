#pragma once
// The batch driver: turns the source list into a sequence of engine runs.
//
// Convert() runs the convert command's checks and the batch. The batch proceeds inside the
// view's progress wait (RunProgress): each engine run reports its output to the parser and its
// end to FileFinished, which books the file and queues the start of the next one. The next file
// is always started from the event loop, never from inside FileFinished, so the runner has
// finished its end report first.
#include "app/options.h"
#include "engine/batch_run_state.h"
#include "engine/engine_parser.h"
#include "engine/file_identity.h"
#include "engine/progress_view.h"
#include "engine/source_disposal.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

class IBatchQueue;
class IClock;
class IEngineRunner;

// What the batch takes from the output settings: the folder, the output format's extension, the
// options text of the current format and profile (read from the profile on disk at each file's
// start) and the extensions that always go through the AviSynth script.
struct TBatchSettings {
    QString outputFolder;
    QString outputExtension;
    std::function<QString()> profileOptions;
    QStringList avsExtensions;
};

class TBatchDriver : public QObject {
    Q_OBJECT
  public:
    TBatchDriver(IBatchQueue& queue, IEngineRunner& engine, IProgressView& view, const IClock& clock,
                 TOptions& options = Options);
    ~TBatchDriver() override;

    void SetSettings(TBatchSettings settings) { m_settings = std::move(settings); }
    const TBatchSettings& Settings() const { return m_settings; }
    // What becomes of a converted source when DeleteFileAfterProcessing is set; by default it is
    // deleted (DisposeOfSource with TDisposal::Delete: only the very file that was converted).
    using SourceDisposer = std::function<TSourceFate(const QString& source, const TFileIdentity& identity)>;
    void SetSourceDisposer(SourceDisposer disposer) { m_disposeOfSource = std::move(disposer); }

    // The engine program: EngineFileName in the program folder.
    QString EnginePath() const;
    QString OutputPathFor(const QString& source) const;
    // The command line a source would get (the script path as input when it goes through the
    // AviSynth script); nothing is written.
    QString CommandLineFor(const QString& source) const;

    // The convert command: engine present, list not empty, outputs differ from their sources and
    // from each other, overwrites confirmed, output folder present; then the batch. Returns
    // whether a batch ran.
    bool Convert();
    // Runs a whole batch and returns when it has ended and its report is done; false when the
    // first file could not be started (its failure was shown).
    bool StartBatch();
    // Starts the engine for the first row; false when the list is empty. Throws EVaridError when
    // the engine or the script cannot be started.
    bool StartFile();
    // The engine of the current file has ended: books the file and goes on.
    void FileFinished();

    // The progress view's commands: end the batch at once (the running engine is stopped and
    // its file stays in the list), or after the current file.
    void StopNow();
    void SetStopWhenDone(bool stop);

    // Whether a batch is in progress (its progress window exists).
    bool Running() const { return m_running; }
    // How each file of the last batch ended, in booking order.
    const QList<TFileOutcome>& Outcomes() const { return m_outcomes; }
    TBatchRunState& Run() { return m_run; }
    TEngineOutputParser& Parser() { return m_parser; }

  private slots:
    void startNextFile();

  private:
    QString inputFor(const QString& source) const;
    bool usesAvsScript(const QString& source) const;
    void deleteAvsScript();
    void bookFile(const QString& reason);
    void endOrContinue();

    IBatchQueue& m_queue;
    IEngineRunner& m_engine;
    IProgressView& m_view;
    const IClock& m_clock;
    TOptions& m_options;
    TBatchRunState m_run; // before m_parser, which keeps a reference to it
    TEngineOutputParser m_parser;
    TBatchSettings m_settings;
    bool m_running = false;
    QString m_currentOutput;
    bool m_outputExisted = false; // the current output was there before its engine started
    // The source as it was when its conversion started: only that very file may be deleted.
    TFileIdentity m_sourceIdentity;
    SourceDisposer m_disposeOfSource;
    // The AviSynth script of the current file, when it has one.
    QString m_avsScript;
    QList<TFileOutcome> m_outcomes;
};
