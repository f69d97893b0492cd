#pragma once
// The settings dialog: the engine's priority, how many files a batch converts at once, what
// "Shutdown" at the end of a batch really does, and whether every source goes through the
// AviSynth script.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QTabWidget;

class TfrmSettings : public QDialog {
    Q_OBJECT
  public:
    // Sets the captions, fills the lists and shows the current options.
    explicit TfrmSettings(QWidget* parent = nullptr);

    void ApplyCaptions();
    // OK: the shown values become the options and all options are saved. A list that shows no
    // entry (its stored value was outside the list) leaves its option as it was.
    void StoreOptions() const;

  private:
    QTabWidget* PageControlOptions = nullptr;
    QWidget* TabSheetGeneral = nullptr;
    QGroupBox* GroupBoxPriority = nullptr;
    QComboBox* ComboBoxPriority = nullptr;
    QLabel* LabelFilesAtOnce = nullptr;
    QComboBox* ComboBoxFilesAtOnce = nullptr;
    QGroupBox* GroupBoxDirectShow = nullptr;
    QCheckBox* CheckBoxDirectShow = nullptr;
    QLabel* LabelShutDown = nullptr;
    QComboBox* ComboBoxShutdownFlag = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
