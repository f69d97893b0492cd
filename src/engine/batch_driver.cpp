#include "engine/batch_driver.h"

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

TBatchDriver::TBatchDriver(IBatchQueue& queue, IEngineRunner& engine, IProgressView& view,
                           const IClock& clock, TOptions& options)
    : m_queue(queue), m_engine(engine), m_view(view), m_clock(clock), m_options(options),
      m_parser(m_run, view, clock) {}

TBatchDriver::~TBatchDriver() {
    m_engine.SetHandlers({}, {});
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

void TBatchDriver::deleteAvsScript() {
    DeleteAvsScript(std::exchange(m_avsScript, QString()));
}

QString TBatchDriver::CommandLineFor(const QString& source) const {
    const QString options = m_settings.profileOptions ? m_settings.profileOptions() : QString();
    return EngineCommandLine(EnginePath(), inputFor(source), PatchEngineOptions(options),
                             OutputPathFor(source));
}

bool TBatchDriver::Convert() {
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
    m_options.LastOutputOpenDir = TrimControls(m_settings.outputFolder);
    return StartBatch();
}

bool TBatchDriver::StartBatch() {
    m_engine.SetPriority(priorityFor(m_options.Priority));
    m_engine.SetHandlers(
        [this](const char* bytes, int64_t count) {
            m_parser.ParseEngineOutput(bytes, count, m_engine.ProcessEnded());
        },
        [this] { FileFinished(); });
    m_view.SetTrayHint(Str(Ids::IDS_MESSAGEBOX_TrayEncodingStart));

    m_running = true;
    m_parser.SetActive(true);
    m_parser.ResetAnimation();
    m_view.SetCaption(Str(Ids::IDS_ID_EncodingInProgress));
    m_view.SetStopWhenDoneText(Str(Ids::IDS_ID_StopEncoding));
    m_view.ResetDisplays();

    DeleteStaleAvsScripts();
    TBatchRunState& run = m_run;
    run = TBatchRunState();
    run.TotalCount = m_queue.Count();
    for (int row = 0; row < run.TotalCount; ++row)
        run.TotalBytes += m_queue.FileSize(row);
    run.BatchStartTime = m_clock.Now();
    m_outcomes.clear();

    try {
        StartFile();
    } catch (const EVaridError& e) {
        m_running = false;
        m_parser.SetActive(false);
        Dialogs().MessageBox(e.message(), Str(Ids::IDS_MESSAGEBOX_Error), TMsgDlgType::mtError,
                             static_cast<unsigned>(TMsgDlgBtn::mbOK));
        return false;
    }

    const int result = m_view.RunProgress();

    if (m_engine.Active()) {
        // Stopped during a file: its end books nothing, the row stays where it is.
        m_engine.DetachTermination();
        m_engine.Terminate(0);
        deleteAvsScript();
        // A cut-off output is no result: remove it unless it was there before this file started.
        if (!m_outputExisted && !samePath(m_currentOutput, run.CurrentInput))
            QFile::remove(m_currentOutput);
    }
    m_view.BatchEndReport(run.BatchHadError, result);
    m_running = false;
    m_parser.SetActive(false);
    return true;
}

bool TBatchDriver::StartFile() {
    deleteAvsScript();
    if (m_queue.Count() == 0)
        return false;
    TBatchRunState& run = m_run;
    run.FileFailed = false;
    run.FileStartTime = m_clock.Now();
    run.FilePercent = 0;
    run.PartialLine.clear();
    // Nothing the engine said about the previous file may show for this one.
    run.DurationMs = 0;
    run.TimeMs = 0;
    run.EngineInputName.clear();
    run.EngineOutputName.clear();
    run.CurrentInput = m_queue.Caption(0);
    run.CurrentBytes = m_queue.FileSize(0);
    m_currentOutput = OutputPathFor(run.CurrentInput);
    // A link at the output name counts as there, also a dangling one: it is never removed.
    const QFileInfo output(m_currentOutput);
    m_outputExisted = output.exists() || output.isSymLink();
    m_sourceIdentity = FileIdentityOf(run.CurrentInput);

    // The profile is read from disk now, so every file gets the profile as stored at its start.
    const QString options =
        PatchEngineOptions(m_settings.profileOptions ? m_settings.profileOptions() : QString());
    const QString input = inputFor(run.CurrentInput);
    if (usesAvsScript(run.CurrentInput)) {
        m_avsScript = input;
        WriteAvsScript(run.CurrentInput, m_avsScript);
    }
    m_parser.BeginFile(options);
    m_engine.SetCommandLine(EngineCommandLine(EnginePath(), input, options, m_currentOutput));
    m_engine.Execute();
    return true;
}

void TBatchDriver::FileFinished() {
    if (!m_running)
        return;
    m_parser.FlushEngineOutput();
    deleteAvsScript();

    // A file counts as converted only when the engine reported no failure, exited with 0 and
    // left a non-empty output.
    const TBatchRunState& run = m_run;
    QString reason;
    if (run.FileFailed) {
        reason = m_parser.FirstFailureLine();
    } else if (const int code = m_engine.ExitCode(); code != 0) {
        reason = FormatStr(Str(Ids::IDS_BATCH_EngineExitCode), {run.CurrentInput, QString::number(code)});
    } else if (const QFileInfo out(m_currentOutput); !out.isFile()) {
        reason = FormatStr(Str(Ids::IDS_BATCH_NoOutput), {run.CurrentInput, m_currentOutput});
    } else if (out.size() == 0) {
        reason = FormatStr(Str(Ids::IDS_BATCH_EmptyOutput), {run.CurrentInput, m_currentOutput});
    }
    if (!run.FileFailed && !reason.isEmpty())
        m_view.ShowEngineError(reason);
    bookFile(reason);
    endOrContinue();
}

void TBatchDriver::bookFile(const QString& reason) {
    TBatchRunState& run = m_run;
    const QString source = run.CurrentInput;
    const bool converted = reason.isEmpty();
    TSourceFate fate = TSourceFate::Kept;
    if (converted) {
        // Never dispose of a source that was its own output, nor of a file that took the source's
        // name (or rewrote it) while it converted.
        if (m_options.DeleteFileAfterProcessing && !samePath(source, m_currentOutput))
            fate = m_disposeOfSource ? m_disposeOfSource(source, m_sourceIdentity)
                                     : DisposeOfSource(source, m_sourceIdentity, TDisposal::Delete);
        m_queue.RemoveRow(source);
        ++run.DoneCount;
        if (run.DoneCount == run.TotalCount) {
            m_view.SetCaption(Str(Ids::IDS_LABEL_EncodingFinished));
            m_view.SetFileStatus(percentText(Ids::IDS_CONVERTING_Status, 100), 100);
            m_view.SetBatchStatus(percentText(Ids::IDS_ID_BATCH, 100), 100);
        }
    } else {
        run.FileFailed = true;
        run.BatchHadError = true;
        ++run.FailedCount;
        m_queue.MoveRowToEnd(source);
        if (!samePath(source, m_currentOutput))
            DeleteIfEmpty(m_currentOutput);
    }
    const TFileOutcome outcome{source, m_currentOutput, converted, reason, fate};
    m_outcomes.append(outcome);
    m_view.FileBooked(outcome);
}

void TBatchDriver::endOrContinue() {
    const TBatchRunState& run = m_run;
    if (run.StopWhenDone || run.DoneCount + run.FailedCount >= run.TotalCount || m_queue.Count() == 0) {
        m_view.CloseProgress(mrOk);
        m_view.SetTrayHint(Str(Ids::IDS_MESSAGEBOX_TrayEncodingDone));
        return;
    }
    m_parser.UpdateBatchProgressAtFileEnd();
    QMetaObject::invokeMethod(this, &TBatchDriver::startNextFile, Qt::QueuedConnection);
}

void TBatchDriver::startNextFile() {
    if (!m_running || m_engine.Active())
        return;
    try {
        StartFile();
    } catch (const EVaridError& e) {
        // The engine could not be started for this file: it is booked failed with the reason
        // and the batch goes on with the next file.
        m_view.ShowEngineError(e.message());
        bookFile(e.message());
        endOrContinue();
    }
}

void TBatchDriver::StopNow() {
    if (m_running)
        m_view.CloseProgress(mrCancel);
}

void TBatchDriver::SetStopWhenDone(bool stop) {
    m_run.StopWhenDone = stop;
}
