#include "engine/batch_driver.h"

#include "app/byte_names.h"
#include "app/dialogs.h"
#include "app/errors.h"
#include "app/paths.h"
#include "app/utils.h"
#include "engine/batch_command.h"
#include "engine/batch_queue.h"
#include "engine/clock.h"
#include "engine/engine_runner.h"
#include "engine/output_folder.h"
#include "lang/strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

TEnginePriority priorityFor(int option) {
    switch (option) {
    case 1:
        return TEnginePriority::Normal;
    case 2:
        return TEnginePriority::High;
    case 3:
        return TEnginePriority::RealTime;
    default:
        return TEnginePriority::Idle;
    }
}

bool samePath(const QString& a, const QString& b) {
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.absoluteFilePath() == fb.absoluteFilePath())
        return true;
    return fa.exists() && fb.exists() && fa.canonicalFilePath() == fb.canonicalFilePath();
}

QString percentText(Ids prefix, int percent) {
    return Str(prefix) + QString::number(percent) + QLatin1Char('%');
}

} // namespace

// One engine in flight: its runner, its file's state and parser, and what its file needs at the end.
struct TBatchDriver::TPlace {
    IEngineRunner* engine = nullptr;
    TFileRunState* file = nullptr; // the batch's own record for the first place
    TFileRunState ownFile;
    std::unique_ptr<TEngineOutputParser> parser;
    bool busy = false;
    QString output;
    bool outputExisted = false; // the output was there before its engine started
    // The source as it was when its conversion started: only that very file may be deleted.
    TFileIdentity sourceIdentity;
    // The AviSynth script of the file, when it has one.
    QString avsScript;
    // Whether the next file's engine may start ahead of its turn (one file at a time, with runners
    // that can stand by), and the engine waiting for the file this place is expected to take next.
    bool readsAhead = false;
    TStandby standby;
};

TBatchDriver::TBatchDriver(IBatchQueue& queue, IEngineRunner& engine, IProgressView& view,
                           const IClock& clock, TOptions& options)
    : m_queue(queue), m_engine(engine), m_view(view), m_clock(clock), m_options(options) {
    setUpPlaces(1);
}

TBatchDriver::~TBatchDriver() {
    detachEngines();
    m_engine.SetHandlers({}, {});
}

void TBatchDriver::detachEngines() {
    for (const auto& place : m_places) {
        place->engine->SetHandlers({}, {});
        if (place->standby.runner)
            place->standby.runner->SetHandlers({}, {});
    }
}

QString TBatchDriver::EnginePath() const {
    const QString name = m_options.EngineFileName;
    return QDir::isAbsolutePath(name) ? name : AppDir + name;
}

QString TBatchDriver::OutputPathFor(const QString& source) const {
    return EngineOutputPath(m_settings.outputFolder, source, m_settings.outputExtension);
}

bool TBatchDriver::usesAvsScript(const QString& source) const {
    return UsesAvsScript(source, m_options.UseDirectShow, m_settings.avsExtensions);
}

QString TBatchDriver::inputFor(const QString& source) const {
    return usesAvsScript(source) ? NewAvsScriptFileName() : source;
}

void TBatchDriver::deleteAvsScript(TPlace& place) {
    DeleteAvsScript(std::exchange(place.avsScript, QString()));
}

QString TBatchDriver::CommandLineFor(const QString& source) const {
    const QString options = m_settings.profileOptions ? m_settings.profileOptions() : QString();
    return EngineCommandLine(EnginePath(), inputFor(source), PatchEngineOptions(options),
                             OutputPathFor(source));
}

void TBatchDriver::setUpPlaces(int count) {
    detachEngines();
    m_places.clear();
    while (int(m_ownEngines.size()) < count - 1)
        m_ownEngines.push_back(m_engineFactory());
    for (int i = 0; i < count; ++i) {
        auto place = std::make_unique<TPlace>();
        place->engine = i == 0 ? &m_engine : m_ownEngines[size_t(i - 1)].get();
        place->file = i == 0 ? static_cast<TFileRunState*>(&m_run) : &place->ownFile;
        // One at a time the parser shows the file in the file displays; with several at once
        // each file has its row, and the batch counts the others in flight by their percentages.
        if (count == 1)
            place->parser = std::make_unique<TEngineOutputParser>(m_run, m_view, m_clock);
        else
            place->parser = std::make_unique<TEngineOutputParser>(
                m_run, *place->file, i, [this, i] { return processedInFlight(i); }, m_view, m_clock);
        place->parser->ShareAnimation(&m_animationRunning);
        place->readsAhead = count == 1 && m_engineFactory && m_engine.CanStandBy();
        m_places.push_back(std::move(place));
    }
}

void TBatchDriver::attachEngine(int index) {
    TPlace& place = *m_places[size_t(index)];
    place.engine->SetHandlers(
        [&place](const char* bytes, int64_t count) {
            place.parser->ParseEngineOutput(bytes, count, place.engine->ProcessEnded());
        },
        [this, index] { FileFinished(index); });
}

QString TBatchDriver::confirmedReplacementFor(const QString& output, bool outputExists) const {
    return outputExists && m_confirmedReplacements.contains(output) ? output : QString();
}

bool TBatchDriver::anyBusy() const {
    return std::any_of(m_places.cbegin(), m_places.cend(), [](const auto& p) { return p->busy; });
}

int64_t TBatchDriver::processedInFlight(int except) const {
    int64_t bytes = 0;
    for (size_t i = 0; i < m_places.size(); ++i)
        if (int(i) != except && m_places[i]->busy)
            bytes += m_places[i]->parser->FileProcessedBytes();
    return bytes;
}

int TBatchDriver::nextRow() const {
    // Converted rows leave the list and failed ones go to its end, so one at a time the next file
    // is the first row. With several at once the rows in flight are still listed and a failed
    // row may already have been booked: the next file is the first row that is neither, and
    // whose output no engine in flight writes.
    if (m_started >= m_run.TotalCount)
        return -1;
    for (int row = 0; row < m_queue.Count(); ++row) {
        const QString source = m_queue.Caption(row);
        if (m_booked.contains(source))
            continue;
        const bool taken = std::any_of(m_places.cbegin(), m_places.cend(), [&](const auto& p) {
            return p->busy && (p->file->CurrentInput == source || samePath(p->output, OutputPathFor(source)));
        });
        if (!taken)
            return row;
    }
    return -1;
}

bool TBatchDriver::Convert() {
    const bool ran = convert();
    // Refused before the batch: an engine started ahead of it has nothing to do.
    cancelStandby(m_firstStandby, nullptr);
    return ran;
}

bool TBatchDriver::convert() {
    m_batchSources.clear();
    for (int row = 0; row < m_queue.Count(); ++row)
        m_batchSources << m_queue.Caption(row);
    m_ran = false;
    m_outcomes.clear();
    m_booked.clear();

    const QString engine = EnginePath();
    if (!QFileInfo(engine).isFile()) {
        Dialogs().MessageBox(FormatStr(Str(Ids::IDS_NoEncoder), {engine}), Str(Ids::IDS_LABEL_Hint),
                             TMsgDlgType::mtWarning, static_cast<unsigned>(TMsgDlgBtn::mbOK));
        return false;
    }
    if (m_queue.Count() == 0) {
        Dialogs().MessageBox(Str(Ids::IDS_NoFiles), Str(Ids::IDS_LABEL_Hint), TMsgDlgType::mtWarning,
                             static_cast<unsigned>(TMsgDlgBtn::mbOK));
        return false;
    }
    const auto outputPath = [this](const QString& source) { return OutputPathFor(source); };
    if (!m_queue.CheckInputOutputDiffer(outputPath) || !m_queue.CheckOutputsDistinct(outputPath) ||
        !m_queue.ConfirmOverwrite(outputPath) || !CheckOutputFolder(m_settings.outputFolder))
        return false;
    // Every output there now was asked about and agreed to; one that appears later was not.
    for (int row = 0; row < m_queue.Count(); ++row) {
        const QString output = OutputPathFor(m_queue.Caption(row));
        if (const QFileInfo info(output); info.exists() || info.isSymLink())
            m_confirmedReplacements << output;
    }
    m_options.LastOutputOpenDir = TrimControls(m_settings.outputFolder);
    const bool started = StartBatch();
    m_confirmedReplacements.clear();
    return started;
}

bool TBatchDriver::StartBatch() {
    TBatchRunState& run = m_run;
    run = TBatchRunState();
    run.TotalCount = m_queue.Count();
    m_batchSources.clear();
    for (int row = 0; row < run.TotalCount; ++row) {
        run.TotalBytes += m_queue.FileSize(row);
        m_batchSources << m_queue.Caption(row);
    }
    m_booked.clear();
    m_outcomes.clear();
    m_started = 0;
    m_ran = false;

    // As many places as files at once, never more than the batch has files; one without runners
    // to make.
    const int wanted = m_engineFactory ? std::clamp(m_settings.filesAtOnce, 1, MaxFilesAtOnce) : 1;
    setUpPlaces(std::max(1, std::min(wanted, run.TotalCount)));
    for (size_t i = 0; i < m_places.size(); ++i) {
        TPlace& place = *m_places[i];
        place.busy = false;
        place.engine->SetPriority(priorityFor(m_options.Priority));
        attachEngine(int(i));
    }
    // The first file's engine, when it was started ahead of the batch, is the first place's.
    m_places.front()->standby = std::exchange(m_firstStandby, TStandby());
    m_view.SetTrayHint(Str(Ids::IDS_MESSAGEBOX_TrayEncodingStart));

    m_running = true;
    m_animationRunning = false;
    for (const auto& place : m_places)
        place->parser->SetActive(true);
    m_view.SetCaption(Str(Ids::IDS_ID_EncodingInProgress));
    m_view.SetStopWhenDoneText(Str(Ids::IDS_ID_StopEncoding));
    m_view.ResetDisplays();
    m_view.SetFilesAtOnce(FilesAtOnce());

    DeleteStaleAvsScripts();
    run.BatchStartTime = m_clock.Now();

    try {
        StartFile();
    } catch (const EVaridError& e) {
        m_running = false;
        for (const auto& place : m_places) {
            place->parser->SetActive(false);
            cancelStandby(place->standby, place->engine);
        }
        Dialogs().MessageBox(e.message(), Str(Ids::IDS_MESSAGEBOX_Error), TMsgDlgType::mtError,
                             static_cast<unsigned>(TMsgDlgBtn::mbOK));
        return false;
    }
    m_ran = true;
    // The other places start from the event loop, as every later file does.
    fillFreePlaces();

    const int result = m_view.RunProgress();

    // Stopped during files: their ends book nothing, their rows stay where they are. An engine
    // waiting for its turn has written nothing and goes.
    for (const auto& place : m_places) {
        if (place->engine->Active())
            stopPlace(*place);
        cancelStandby(place->standby, place->engine);
    }
    m_view.BatchEndReport(run.BatchHadError, result);
    m_running = false;
    for (const auto& place : m_places)
        place->parser->SetActive(false);
    return true;
}

void TBatchDriver::stopPlace(TPlace& place) {
    place.engine->DetachTermination();
    place.engine->Terminate(0);
    place.busy = false;
    deleteAvsScript(place);
    // A cut-off output is no result: remove it unless it was there before this file started.
    if (!place.outputExisted && !samePath(place.output, place.file->CurrentInput))
        QFile::remove(place.output);
}

bool TBatchDriver::StartFile() {
    deleteAvsScript(*m_places.front());
    if (m_queue.Count() == 0)
        return false;
    startFile(0, 0);
    return true;
}

bool TBatchDriver::startFile(int index) {
    deleteAvsScript(*m_places[size_t(index)]);
    const int row = nextRow();
    if (row < 0)
        return false;
    startFile(index, row);
    return true;
}

void TBatchDriver::startFile(int index, int row) {
    TPlace& place = *m_places[size_t(index)];
    TFileRunState& file = *place.file;
    file.FileFailed = false;
    file.FileStartTime = m_clock.Now();
    file.FilePercent = 0;
    file.PartialLine.clear();
    // Nothing the engine said about the previous file may show for this one.
    file.DurationMs = 0;
    file.TimeMs = 0;
    file.EngineInputName.clear();
    file.EngineOutputName.clear();
    file.CurrentInput = m_queue.Caption(row);
    file.CurrentBytes = m_queue.FileSize(row);
    place.output = OutputPathFor(file.CurrentInput);
    // A link at the output name counts as there, also a dangling one: it is never removed.
    const QFileInfo output(place.output);
    place.outputExisted = output.exists() || output.isSymLink();
    place.sourceIdentity = FileIdentityOf(file.CurrentInput);
    place.busy = true;
    ++m_started;

    // The profile is read from disk now, so every file gets the profile as stored at its start.
    const QString options =
        PatchEngineOptions(m_settings.profileOptions ? m_settings.profileOptions() : QString());
    place.parser->BeginFile(options, m_started);
    if (place.parser->SharesDisplay()) {
        // The file's row shows it from its start, before the engine says anything.
        TFileProgress progress;
        progress.source = file.CurrentInput;
        progress.working = FormatStr(Str(Ids::IDS_ID_WORKING),
                                     {QString::number(m_started), QString::number(m_run.TotalCount),
                                      QFileInfo(file.CurrentInput).fileName()});
        progress.status = Str(Ids::IDS_CONVERTING_Status) + QStringLiteral("0%");
        progress.remaining = DurationText(0);
        m_view.SetFileProgress(index, progress);
    }
    try {
        const QString input = inputFor(file.CurrentInput);
        if (usesAvsScript(file.CurrentInput)) {
            place.avsScript = input;
            WriteAvsScript(file.CurrentInput, place.avsScript);
        }
        const QString command = EngineCommandLine(EnginePath(), input, options, place.output);
        const QString replacement = confirmedReplacementFor(place.output, place.outputExisted);
        if (!takeStandby(index, file.CurrentInput, command, replacement)) {
            place.engine->SetCommandLine(command);
            place.engine->SetConfirmedReplacement(replacement);
            place.engine->Execute();
        }
    } catch (const EVaridError&) {
        place.busy = false;
        deleteAvsScript(place);
        throw;
    }
    prepareStandby(index, options);
}

bool TBatchDriver::takeStandby(int index, const QString& source, const QString& command,
                               const QString& replacement) {
    TPlace& place = *m_places[size_t(index)];
    IEngineRunner* const standby = place.standby.runner;
    // Only an engine started for this very file with this very command line (the profile as
    // stored now) may convert it.
    if (!standby || !standby->Active() || standby->ProcessEnded() || place.standby.source != source ||
        place.standby.command != command) {
        cancelStandby(place.standby, place.engine);
        return false;
    }
    place.standby = TStandby();
    IEngineRunner* const previous = std::exchange(place.engine, standby);
    previous->SetHandlers({}, {});
    attachEngine(index);
    if (place.engine->Go(!replacement.isEmpty()))
        return true;
    // It no longer waits: it has ended on its own, and the file starts afresh on its runner of
    // before.
    place.engine->SetHandlers({}, {});
    if (place.engine->Active())
        place.engine->Terminate(0);
    place.engine = previous;
    attachEngine(index);
    return false;
}

IEngineRunner* TBatchDriver::idleRunner(const IEngineRunner* except) {
    const auto idle = [except](IEngineRunner* runner) { return runner != except && !runner->Active(); };
    if (idle(&m_engine))
        return &m_engine;
    for (const auto& spare : m_spareEngines)
        if (idle(spare.get()))
            return spare.get();
    // One runner converts, one reads ahead, and one may still be ending a read-ahead not taken.
    if (m_spareEngines.size() >= 2)
        return nullptr;
    m_spareEngines.push_back(m_engineFactory());
    return m_spareEngines.back().get();
}

void TBatchDriver::prepareStandby(int index, const QString& options) {
    TPlace& place = *m_places[size_t(index)];
    if (!place.readsAhead || place.standby.runner || m_run.StopWhenDone)
        return;
    // The file taken next: the row the batch would take now, with this file in flight.
    if (const int row = nextRow(); row >= 0)
        place.standby = startStandby(m_queue.Caption(row), options, place.engine);
}

TBatchDriver::TStandby TBatchDriver::startStandby(const QString& source, const QString& options,
                                                  const IEngineRunner* active) {
    // A file that goes through the AviSynth script gets its script only at its turn.
    if (usesAvsScript(source))
        return {};
    IEngineRunner* const runner = idleRunner(active);
    if (!runner || !runner->CanStandBy())
        return {};
    const QString command = EngineCommandLine(EnginePath(), source, options, OutputPathFor(source));
    try {
        runner->SetHandlers({}, {});
        runner->SetPriority(priorityFor(m_options.Priority));
        runner->SetCommandLine(command);
        runner->ExecuteStandingBy();
    } catch (const EVaridError&) {
        return {}; // the file starts at its turn, as without a runner that can stand by
    }
    return {runner, source, command};
}

void TBatchDriver::ReadAhead(const QString& source) {
    if (m_running || m_firstStandby.runner || !m_engineFactory || !m_engine.CanStandBy() ||
        !QFileInfo(source).isFile())
        return;
    m_firstStandby = startStandby(
        source, PatchEngineOptions(m_settings.profileOptions ? m_settings.profileOptions() : QString()),
        &m_engine);
}

void TBatchDriver::cancelStandby(TStandby& standby, const IEngineRunner* active) {
    if (standby.runner && standby.runner != active && standby.runner->Active()) {
        standby.runner->SetHandlers({}, {});
        standby.runner->Terminate(0);
    }
    standby = TStandby();
}

void TBatchDriver::FileFinished(int index) {
    if (!m_running || index < 0 || index >= int(m_places.size()))
        return;
    TPlace& place = *m_places[size_t(index)];
    if (!place.busy)
        return;
    place.parser->FlushEngineOutput();
    deleteAvsScript(place);

    // A file counts as converted only when the engine reported no failure, exited with 0 and
    // left a non-empty output.
    const TFileRunState& file = *place.file;
    const QString source = ByteNames().Display(file.CurrentInput);
    QString reason;
    if (file.FileFailed) {
        reason = place.parser->FirstFailureLine();
    } else if (const int code = place.engine->ExitCode(); code != 0) {
        reason = FormatStr(Str(Ids::IDS_BATCH_EngineExitCode), {source, QString::number(code)});
    } else if (const QFileInfo out(place.output); !out.isFile()) {
        reason = FormatStr(Str(Ids::IDS_BATCH_NoOutput), {source, place.output});
    } else if (out.size() == 0) {
        reason = FormatStr(Str(Ids::IDS_BATCH_EmptyOutput), {source, place.output});
    }
    if (!file.FileFailed && !reason.isEmpty())
        m_view.ShowFileError(file.CurrentInput, reason);
    place.busy = false;
    bookFile(index, reason);
    endOrContinue(index);
}

void TBatchDriver::bookFile(int index, const QString& reason) {
    TPlace& place = *m_places[size_t(index)];
    TBatchRunState& run = m_run;
    TFileRunState& file = *place.file;
    const QString source = file.CurrentInput;
    const bool converted = reason.isEmpty();
    QStringList lines;
    TSourceFate fate = TSourceFate::Kept;
    if (converted) {
        // Never dispose of a source that was its own output, nor of a file that took the source's
        // name (or rewrote it) while it converted.
        if (m_options.DeleteFileAfterProcessing && !samePath(source, place.output))
            fate = m_disposeOfSource ? m_disposeOfSource(source, place.sourceIdentity)
                                     : DisposeOfSource(source, place.sourceIdentity, TDisposal::Delete);
        m_queue.RemoveRow(source);
        ++run.DoneCount;
        if (run.DoneCount == run.TotalCount) {
            m_view.SetCaption(Str(Ids::IDS_LABEL_EncodingFinished));
            if (!place.parser->SharesDisplay())
                m_view.SetFileStatus(percentText(Ids::IDS_CONVERTING_Status, 100), 100);
            m_view.SetBatchStatus(percentText(Ids::IDS_ID_BATCH, 100), 100);
        }
    } else {
        file.FileFailed = true;
        run.BatchHadError = true;
        ++run.FailedCount;
        m_queue.MoveRowToEnd(source);
        if (!samePath(source, place.output))
            DeleteIfEmpty(place.output);
        lines = place.parser->FailureLines();
        if (lines.isEmpty())
            lines = QStringList{reason};
    }
    m_booked.insert(source);
    const TFileOutcome outcome{source, place.output, converted, reason, fate, lines};
    m_outcomes.append(outcome);
    m_view.FileBooked(outcome);
}

void TBatchDriver::endOrContinue(int index) {
    const TBatchRunState& run = m_run;
    if (!anyBusy() &&
        (run.StopWhenDone || run.DoneCount + run.FailedCount >= run.TotalCount || nextRow() < 0)) {
        finishBatch();
        return;
    }
    TPlace& place = *m_places[size_t(index)];
    place.parser->UpdateBatchProgressAtFileEnd();
    if (place.parser->SharesDisplay())
        m_view.ClearFileProgress(index);
    if (!run.StopWhenDone)
        QMetaObject::invokeMethod(
            this, [this, index] { startNextFile(index); }, Qt::QueuedConnection);
}

void TBatchDriver::finishBatch() {
    m_view.CloseProgress(mrOk);
    m_view.SetTrayHint(Str(Ids::IDS_MESSAGEBOX_TrayEncodingDone));
}

void TBatchDriver::fillFreePlaces() {
    for (size_t i = 0; i < m_places.size(); ++i)
        if (!m_places[i]->busy)
            QMetaObject::invokeMethod(
                this, [this, i] { startNextFile(int(i)); }, Qt::QueuedConnection);
}

void TBatchDriver::startNextFile(int index) {
    if (!m_running || m_run.StopWhenDone || index >= int(m_places.size()))
        return;
    TPlace& place = *m_places[size_t(index)];
    if (place.busy || place.engine->Active())
        return;
    try {
        if (!startFile(index) && !anyBusy())
            finishBatch(); // nothing left to start and nothing in flight
    } catch (const EVaridError& e) {
        // The engine could not be started for this file: it is booked failed with the reason
        // and the batch goes on with the next file.
        const QString reason = ByteNames().DisplayText(e.message());
        m_view.ShowFileError(place.file->CurrentInput, reason);
        bookFile(index, reason);
        endOrContinue(index);
    }
}

void TBatchDriver::StopNow() {
    if (m_running)
        m_view.CloseProgress(mrCancel);
}

void TBatchDriver::SetStopWhenDone(bool stop) {
    m_run.StopWhenDone = stop;
    // Withdrawn: the places that ended meanwhile take files again.
    if (!stop && m_running)
        fillFreePlaces();
}

TBatchReport TBatchDriver::Report() const {
    TBatchReport report;
    report.ran = m_ran;
    report.total = int(m_batchSources.size());
    report.outcomes = m_outcomes;
    for (const TFileOutcome& o : m_outcomes) {
        if (o.converted)
            ++report.converted;
        else
            report.notConverted << TNotConverted{o.source, TNotConverted::Kind::Failed, o.reason, o.lines};
    }
    const QString notReached = Str(m_ran ? Ids::IDS_BATCH_StoppedBeforeConverted : Ids::IDS_BATCH_NotStarted);
    for (const QString& source : m_batchSources)
        if (!m_booked.contains(source))
            report.notConverted << TNotConverted{
                source, TNotConverted::Kind::NotReached, notReached, {notReached}};
    return report;
}
