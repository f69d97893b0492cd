#pragma once
// The batch driver: turns the source list into engine runs, one file at a time or several at once.
//
// Convert() runs the convert command's checks and the batch. The batch proceeds inside the
// view's progress wait (RunProgress): each engine run reports its output to its parser and its
// end to FileFinished, which books the file and queues the start of the next one. The next file
// is always started from the event loop, never from inside FileFinished, so the runner has
// finished its end report first.
//
// With several files at once every engine in flight has a place of its own: its runner, its
// file state and parser, its AviSynth script. Each file keeps every rule of the one-at-a-time
// batch: it is booked only by its own engine's end, converted only after its own checks, and its
// source deleted only then; a failed row moves to the end; no two engines ever write the same
// output name at once; a failure stops no other file.
//
// One file at a time, the engine of the next file starts ahead of its turn when the runner can
// stand by: it reads its source while the current file converts and converts only when that file
// has been booked and the next one is started with the very same command line. Until then it
// writes and says nothing; when the batch takes another file or ends, it is stopped.
#include "app/options.h"
#include "engine/batch_report.h"
#include "engine/batch_run_state.h"
#include "engine/engine_parser.h"
#include "engine/file_identity.h"
#include "engine/progress_view.h"
#include "engine/source_disposal.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class IBatchQueue;
class IClock;
class IEngineRunner;

// The most files a batch converts at once.
constexpr int MaxFilesAtOnce = 16;

// What the batch takes from the output settings: the folder, the output format's extension, the
// options text of the current format and profile (read from the profile on disk at each file's
// start), the extensions that always go through the AviSynth script, and how many files run at
// once (1..MaxFilesAtOnce).
struct TBatchSettings {
    TBatchSettings() = default;
    TBatchSettings(QString folder, QString extension, std::function<QString()> options, QStringList avs,
                   int atOnce = 1)
        : outputFolder(std::move(folder)), outputExtension(std::move(extension)),
          profileOptions(std::move(options)), avsExtensions(std::move(avs)), filesAtOnce(atOnce) {}

    QString outputFolder;
    QString outputExtension;
    std::function<QString()> profileOptions;
    QStringList avsExtensions;
    int filesAtOnce = 1;
};

class TBatchDriver : public QObject {
    Q_OBJECT
  public:
    // engine runs the batch's files one at a time, and the first of several at once.
    TBatchDriver(IBatchQueue& queue, IEngineRunner& engine, IProgressView& view, const IClock& clock,
                 TOptions& options = Options);
    ~TBatchDriver() override;

    void SetSettings(TBatchSettings settings) { m_settings = std::move(settings); }
    const TBatchSettings& Settings() const { return m_settings; }
    // Makes the further runners for several files at once; without one, a batch converts one
    // file at a time whatever the settings ask.
    using EngineFactory = std::function<std::unique_ptr<IEngineRunner>()>;
    void SetEngineFactory(EngineFactory factory) { m_engineFactory = std::move(factory); }
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

    // Starts the engine of source, meant to be the batch's first file, ahead of the batch where
    // the runners can stand by: it reads its source while the program gets ready. The batch takes
    // it when it starts that very file with the very same command line, and stops it otherwise.
    void ReadAhead(const QString& source);

    // The convert command: engine present, list not empty, outputs differ from their sources and
    // from each other, overwrites confirmed, output folder present; then the batch. Returns
    // whether a batch ran.
    bool Convert();
    // Runs a whole batch and returns when it has ended and its report is done; false when the
    // first file could not be started (its failure was shown).
    bool StartBatch();
    // Starts the engine for the first row (at the first place); false when the list is empty.
    // Throws EVaridError when the engine or the script cannot be started.
    bool StartFile();
    // The engine of the file at a place has ended: books the file and goes on.
    void FileFinished(int place = 0);

    // The progress view's commands: end the batch at once (every running engine is stopped and
    // its file stays in the list), or after the files in flight.
    void StopNow();
    void SetStopWhenDone(bool stop);

    // Whether a batch is in progress (its progress window exists).
    bool Running() const { return m_running; }
    // How many files the batch in progress (or the last one) converts at once.
    int FilesAtOnce() const { return int(m_places.size()); }
    // How each file of the last batch ended, in booking order.
    const QList<TFileOutcome>& Outcomes() const { return m_outcomes; }
    // What became of every file of the last batch (or of the refused convert command).
    TBatchReport Report() const;
    TBatchRunState& Run() { return m_run; }

  private:
    struct TPlace;

    bool convert();
    void setUpPlaces(int count);
    void detachEngines();
    void attachEngine(int place);
    // An engine started ahead of its turn, with the file and the command line it was started for.
    struct TStandby {
        IEngineRunner* runner = nullptr;
        QString source;
        QString command;
    };
    bool takeStandby(int place, const QString& source, const QString& command, const QString& replacement);
    void prepareStandby(int place, const QString& options);
    TStandby startStandby(const QString& source, const QString& options, const IEngineRunner* active);
    void cancelStandby(TStandby& standby, const IEngineRunner* active);
    IEngineRunner* idleRunner(const IEngineRunner* except);
    QString confirmedReplacementFor(const QString& output, bool outputExists) const;
    bool startFile(int place);
    void startFile(int place, int row);
    void startNextFile(int place);
    void fillFreePlaces();
    int nextRow() const;
    bool anyBusy() const;
    int64_t processedInFlight(int except) const;
    QString inputFor(const QString& source) const;
    bool usesAvsScript(const QString& source) const;
    void deleteAvsScript(TPlace& place);
    void stopPlace(TPlace& place);
    void bookFile(int place, const QString& reason);
    void endOrContinue(int place);
    void finishBatch();

    IBatchQueue& m_queue;
    IEngineRunner& m_engine;
    IProgressView& m_view;
    const IClock& m_clock;
    TOptions& m_options;
    TBatchRunState m_run;
    TBatchSettings m_settings;
    EngineFactory m_engineFactory;
    SourceDisposer m_disposeOfSource;
    std::vector<std::unique_ptr<TPlace>> m_places;
    std::vector<std::unique_ptr<IEngineRunner>> m_ownEngines; // the runners of places 1..
    // One file at a time: the runners that read the next file ahead while the current one
    // converts, beside the batch's own runner (one reads ahead while another may still be ending).
    std::vector<std::unique_ptr<IEngineRunner>> m_spareEngines;
    TStandby m_firstStandby; // the first file's engine, started ahead of the batch
    bool m_running = false;
    bool m_animationRunning = false; // shared by the places' parsers
    bool m_ran = false;              // the last batch started its first file
    int m_started = 0;               // files of the batch started so far
    QStringList m_batchSources;      // the rows of the batch when it started
    // The outputs that existed when the user agreed to replace them, before the batch started.
    QStringList m_confirmedReplacements;
    QSet<QString> m_booked; // sources booked in this batch
    QList<TFileOutcome> m_outcomes;
};
