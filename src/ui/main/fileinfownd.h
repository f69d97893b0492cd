#pragma once
// The file information window: the media library's text report of one source file, which the
// user can save as a text file. The main window makes it once and reuses it for every file.
#include "media/fileitem.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TfrmFileInfo : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmFileInfo(QWidget* parent = nullptr);

    // Caption and report for the record's file; false (and nothing changed) when the file no
    // longer exists. The caller then shows the window.
    bool Fill(const TFileItem& item);
    void ApplyCaptions();
    // The save dialog's last name (without a folder the first time).
    QString SaveName() const { return m_saveName; }

  private:
    void save();

    QPlainTextEdit* mmoInfo = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnOK = nullptr;
    QString m_saveName;
    QString m_fileName; // of the file shown, for the caption after a language switch
};
