#pragma once
// The batch in the window: the progress window over the main window, the tray icon with its
// menu, the end-of-batch report and the completion action. The main window creates one and
// keeps it for the program's life; its convert action hands over the output settings.
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class IClock;
class IEngineRunner;
class QWidget;
class TSourceList;
struct TBatchSettings;

// A batch without errors, for the main window to show when the desktop could not: how many files
// were converted, where to, and where their sources went.
struct TBatchSuccess {
    int converted = 0;
    QString outputFolder;
    int trashed = 0;
    int deleted = 0;
    int notRemoved = 0;
};

// What a test steers in place of the real parts; every empty member takes the real one.
struct TBatchWindowParts {
    IEngineRunner* engine = nullptr; // the engine runner (not owned)
    const IClock* clock = nullptr;   // the time source of the progress (not owned)
    std::function<bool()> trayAvailable;
    // Where balloons go when the tray icon is not shown: whether the desktop took it.
    std::function<bool(const QString& title, const QString& text)> notify;
};

class TBatchWindow : public QObject {
    Q_OBJECT
  public:
    // owner: the main window (hidden and shown by the tray, closed by the tray's exit item when
    // no batch runs). list: the source list the batch works through.
    TBatchWindow(QWidget* owner, TSourceList& list);
    TBatchWindow(QWidget* owner, TSourceList& list, TBatchWindowParts parts);
    ~TBatchWindow() override;

    // The convert command: the driver's checks in order, then the batch in the progress window,
    // the end report and the completion action. Returns whether a batch ran.
    bool Convert(const TBatchSettings& settings);
    // Makes the further runners of several files at once: by default real engines, and none (one
    // file at a time) when the parts gave an engine.
    void SetEngineFactory(std::function<std::unique_ptr<IEngineRunner>()> factory);
    // Whether a batch (its progress window) exists.
    bool Running() const;
    // Re-applies every caption from the string table (after a language switch).
    void ApplyCaptions();

  signals:
    // A batch ended without errors and neither a tray balloon nor a desktop notification could
    // say so: the owner shows it without blocking.
    void succeededUnannounced(const TBatchSuccess& success);

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
