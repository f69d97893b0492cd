#include "ui/main/batchwindow.h"

#include "app/byte_names.h"
#include "app/dialogs.h"
#include "app/options.h"
#include "app/paths.h"
#include "app/power.h"
#include "app/utils.h"
#include "engine/batch_driver.h"
#include "engine/clock.h"
#include "engine/engine_process.h"
#include "engine/progress_view.h"
#include "engine/source_disposal.h"
#include "lang/strings.h"
#include "sources/sourcelist.h"
#include "ui/centre.h"
#include "ui/main/progresswnd.h"
#include "ui/main/shutdownwnd.h"
#include "ui/main/trayicon.h"

#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

#include <algorithm>

// The window side of a batch: the driver's view over the progress window, the tray and the end
// report with its completion action.
struct TBatchWindow::Impl final : public IProgressView {
    Impl(TBatchWindow& self, QWidget* owner, TSourceList& list, TBatchWindowParts parts)
        : self(self), owner(owner), list(list),
          ownEngine(parts.engine ? nullptr : std::make_unique<TEngineProcess>()),
          engine(parts.engine ? parts.engine : ownEngine.get()),
          clock(parts.clock ? parts.clock : &systemClock), tray(new TTrayIcon(&self)),
          driver(std::make_unique<TBatchDriver>(list, *engine, *this, *clock)) {
        if (parts.trayAvailable || parts.notify)
            tray->SetPlatform(
                parts.trayAvailable ? parts.trayAvailable : [] { return false; },
                parts.notify ? parts.notify : [](const QString&, const QString&) { return false; });
        tray->SetBatchRunning([this] { return Running(); });
        if (!parts.engine)
            driver->SetEngineFactory([] { return std::make_unique<TEngineProcess>(); });
        // Converted sources go to the desktop's trash (deleted where their drive has none).
        driver->SetSourceDisposer([](const QString& source, const TFileIdentity& identity) {
            return DisposeOfSource(source, identity, TDisposal::Trash);
        });
        QObject::connect(tray, &TTrayIcon::showWindowRequested, &self, [this] { restoreFromTray(); });
        QObject::connect(tray, &TTrayIcon::exitRequested, &self, [this] { exitFromTray(); });
    }
    ~Impl() override {
        driver.reset(); // before the engine it uses
        delete progress.data();
    }

    bool Running() const { return progress || driver->Running(); }

    // ---- The progress window --------------------------------------------------------------

    TfrmProgress& window() {
        if (!progress) {
            progress = new TfrmProgress(owner);
            QObject::connect(progress, &TfrmProgress::stopWhenDoneChanged, progress,
                             [this](bool stop) { driver->SetStopWhenDone(stop); });
            QObject::connect(progress, &TfrmProgress::deleteSourceToggled, progress,
                             [](bool on) { Options.DeleteFileAfterProcessing = on; });
            QObject::connect(progress, &TfrmProgress::shutdownToggled, progress,
                             [](bool on) { Options.ShutdownWindowsWhenDone = on; });
            QObject::connect(progress, &TfrmProgress::sendToTrayClicked, progress, [this] { sendToTray(); });
            QObject::connect(progress, &TfrmProgress::minimiseRequested, progress,
                             [this] { minimiseProgram(); });
        }
        return *progress;
    }

    void closeWindow() {
        delete progress.data();
        inhibitor.reset();
    }

    void sendToTray() {
        if (!tray->TrayAvailable()) {
            // No tray to come back from: the program goes to the task bar instead.
            minimiseProgram();
            return;
        }
        if (progress)
            progress->hide();
        if (owner)
            owner->hide();
        tray->ShowIcon();
        tray->Balloon(FormatStr(Str(Ids::IDS_CONVERTING_TrayInfo), {ApplicationTitle}),
                      Str(Ids::IDS_CONVERTING_TrayMin));
    }

    void minimiseProgram() {
        if (minimising)
            return;
        minimising = true;
        if (owner)
            owner->showMinimized();
        if (progress && !progress->isMinimized())
            progress->showMinimized();
        minimising = false;
    }

    void restoreFromTray() {
        if (owner) {
            owner->showNormal();
            owner->raise();
        }
        if (progress && !progress->Closed()) {
            progress->showNormal();
            progress->raise();
            progress->activateWindow();
        }
        tray->HideIcon();
    }

    void exitFromTray() {
        if (progress && !progress->Closed())
            progress->reject(); // asks whether to stop
        else if (owner) {
            // Closed as a visible window, so that it ends the program as its own close would.
            restoreFromTray();
            owner->close();
        }
    }

    // ---- IProgressView -------------------------------------------------------------------

    void SetFileStatus(const QString& text, int percent) override {
        if (progress)
            progress->SetFileStatus(text, percent);
    }
    void SetFileRemaining(const QString& d) override {
        if (progress)
            progress->SetFileRemaining(d);
    }
    void SetBatchStatus(const QString& text, int percent) override {
        if (progress)
            progress->SetBatchStatus(text, percent);
    }
    void SetBatchElapsed(const QString& d) override {
        if (progress)
            progress->SetBatchElapsed(d);
    }
    void SetBatchEstimated(const QString& d) override {
        if (progress)
            progress->SetBatchEstimated(d);
    }
    void SetBatchRemaining(const QString& d) override {
        if (progress)
            progress->SetBatchRemaining(d);
    }
    void SetWorking(const QString& text) override {
        if (!progress)
            return;
        // The first line of the next file: the last file's percentage and time go.
        if (fileEnded) {
            fileEnded = false;
            progress->ResetFileDisplays();
        }
        progress->SetWorking(text);
    }
    void SetOutput(const QString& text) override {
        if (progress)
            progress->SetOutput(text);
    }
    void StartAnimation(const QString& label) override {
        if (progress)
            progress->StartAnimation(label);
    }
    void SetTrayHint(const QString& text) override { tray->setToolTip(text); }

    // A failure never waits for anyone: it is listed in the window at once; the end report
    // takes it from the driver's report.
    void ShowEngineError(const QString& line) override { ShowFileError(driver->Run().CurrentInput, line); }
    void ShowFileError(const QString& source, const QString& line) override {
        if (progress)
            progress->AddFailure(ByteNames().Display(source), TrimControls(line));
    }

    void SetFilesAtOnce(int count) override { window().SetFilesAtOnce(count); }
    void SetFileProgress(int place, const TFileProgress& p) override {
        if (progress)
            progress->SetFileProgress(place, p);
    }
    void ClearFileProgress(int place) override {
        if (progress)
            progress->ClearFileProgress(place);
    }

    void SetCaption(const QString& text) override { window().SetCaptionText(text); }
    void SetStopWhenDoneText(const QString& text) override { window().SetStopWhenDoneText(text); }
    void ResetDisplays() override { window().ResetDisplays(); }

    void FileBooked(const TFileOutcome&) override { fileEnded = true; }

    int RunProgress() override {
        // No sleep while the batch runs; the lock goes before any completion action.
        inhibitor = std::make_unique<TPowerInhibitor>(
            FormatStr(Str(Ids::IDS_BATCH_InhibitReason), {QString::number(driver->Run().TotalCount)}));
        return window().RunModal();
    }

    void CloseProgress(int modalResult) override {
        if (progress)
            progress->Finish(modalResult);
    }

    void BatchEndReport(bool hadError, int modalResult) override {
        inhibitor.reset();
        // The report says where the sources of the converted files went.
        const QList<TFileOutcome>& outcomes = driver->Outcomes();
        const auto count = [&outcomes](TSourceFate fate) {
            return int(std::count_if(outcomes.cbegin(), outcomes.cend(),
                                     [fate](const TFileOutcome& o) { return o.sourceFate == fate; }));
        };
        const int trashed = count(TSourceFate::Trashed);
        const int deleted = count(TSourceFate::Deleted);
        const int notRemoved = count(TSourceFate::NotRemoved);
        const QString sources = SourcesNote(trashed, deleted, notRemoved);
        const auto withSources = [&sources](const QString& text, const char* gap) {
            return sources.isEmpty() ? text : text + QLatin1String(gap) + sources;
        };
        if (hadError) {
            Dialogs().MessageBoxDetails(withSources(Str(Ids::IDS_MESSAGEBOX_AnErrorOccurred), "\n\n"),
                                        Str(Ids::IDS_MESSAGEBOX_Oops), TMsgDlgType::mtWarning,
                                        static_cast<unsigned>(TMsgDlgBtn::mbOK),
                                        ReportDetails(driver->Report().Failed()));
            markFailedRows();
            return;
        }
        const bool announced =
            tray->Balloon(FormatStr(Str(Ids::IDS_LABEL_TrayInformation), {ApplicationTitle}),
                          withSources(Str(Ids::IDS_MESSAGEBOX_TrayConvertComplete), "\n"));
        const int converted = int(std::count_if(outcomes.cbegin(), outcomes.cend(),
                                                [](const TFileOutcome& o) { return o.converted; }));
        // Without a tray or notifications the window says it (a batch stopped before its first
        // file was done has nothing to say).
        if (!announced && converted > 0)
            emit self.succeededUnannounced(
                {converted, TrimControls(driver->Settings().outputFolder), trashed, deleted, notRemoved});
        if (Options.ShutdownWindowsWhenDone && modalResult != mrCancel) {
            TfrmShutdown countdown(owner);
            countdown.adjustSize();
            CentreOverOwner(&countdown, owner);
            if (countdown.exec() == QDialog::Accepted)
                ShutdownAction(Options.ShutdownFlag);
        }
    }

    // The rows that failed in this batch carry the error mark; rows the batch never reached
    // (after a stop) keep theirs.
    void markFailedRows() {
        QSet<QString> failed;
        for (const TNotConverted& file : driver->Report().Failed())
            failed.insert(file.source);
        for (int row = 0; row < list.Count(); ++row) {
            if (failed.contains(list.Caption(row)))
                list.SetImageIndex(row, 1);
        }
    }

    TBatchWindow& self;
    QPointer<QWidget> owner;
    TSourceList& list;
    std::unique_ptr<IEngineRunner> ownEngine;
    IEngineRunner* engine;
    TSystemClock systemClock;
    const IClock* clock;
    TTrayIcon* tray;
    std::unique_ptr<TBatchDriver> driver;
    QPointer<TfrmProgress> progress;
    std::unique_ptr<TPowerInhibitor> inhibitor;
    bool minimising = false;
    bool fileEnded = false; // a file was booked and the next one has said nothing yet
};

TBatchWindow::TBatchWindow(QWidget* owner, TSourceList& list)
    : TBatchWindow(owner, list, TBatchWindowParts()) {}

TBatchWindow::TBatchWindow(QWidget* owner, TSourceList& list, TBatchWindowParts parts)
    : QObject(owner), m_impl(std::make_unique<Impl>(*this, owner, list, std::move(parts))) {}

TBatchWindow::~TBatchWindow() = default;

bool TBatchWindow::Convert(const TBatchSettings& settings) {
    if (Running())
        return false;
    m_impl->driver->SetSettings(settings);
    const bool ran = m_impl->driver->Convert();
    m_impl->closeWindow();
    return ran;
}

void TBatchWindow::SetEngineFactory(std::function<std::unique_ptr<IEngineRunner>()> factory) {
    m_impl->driver->SetEngineFactory(std::move(factory));
}

bool TBatchWindow::Running() const {
    return m_impl->Running();
}

void TBatchWindow::ApplyCaptions() {
    m_impl->tray->ApplyCaptions();
    if (m_impl->progress)
        m_impl->progress->ApplyCaptions();
}
