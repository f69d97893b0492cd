#pragma once
// The output chooser: format, profile and output folder. The main window creates a new one at
// each "Output Setting" and reads the most recent one; it shows without blocking while the main
// window is disabled, and OK or Cancel hides it again (it stays alive and keeps serving batches).
#include <QWidget>

class TfrmConvert : public QWidget {
    Q_OBJECT
  public:
    // Runs the opening steps (options reloaded, stored format chosen, captions, profile lists).
    explicit TfrmConvert(QWidget* owner);
    ~TfrmConvert() override;

    // The current format index (Options.OutputFormat) and the text of its profile list.
    int CurrentFormat() const;
    QString CurrentProfile() const;
    // The folder field as typed (users trim it, except the open-destination action).
    QString OutputFolderText() const;
    // The folder field trimmed: empty asks nothing and refuses; a missing folder is created on
    // request. Messages go through the dialogs interface.
    bool CheckOutputFolder();
    // The options text of the current format and profile, built from the profile on disk.
    QString GetProfileOptions() const;
    // Re-applies every caption from the string table (after a language switch).
    void ApplyCaptions();

  signals:
    // A format was chosen: the main window shows formatCaption and profileText in its labels.
    void formatChosen(const QString& formatCaption, const QString& profileText);
    // OK: the main window shows the trimmed folder and enables itself.
    void accepted(const QString& folder);
    // Cancel: the main window empties its format and profile labels and enables itself.
    void cancelled();

  private:
    struct Impl;
    Impl* d = nullptr; // owned; replaced by the window's own members
};
