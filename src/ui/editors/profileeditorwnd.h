#pragma once
// The one window of every profile editor: renders an editor model's controls as Qt widgets named
// after them, passes what the user does to the model and shows the model's state.
#include "profiles/editor/editormodel.h"
#include "ui/editors/profileeditor.h"

#include <QDialog>

#include <map>
#include <memory>

class QAbstractButton;

class TfrmProfileEditor : public QDialog, public IProfileEditor {
    Q_OBJECT
  public:
    TfrmProfileEditor(int formatIndex, QWidget* owner);

    void ProfileToControls() override;
    void ControlsToProfile() override;
    bool Execute() override;

    TEditorModel& Model() { return *m_model; }
    // Applies the showing rules and refreshes the widgets (Execute does this before it shows).
    void PrepareToShow();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* Build(const TControl& control, QWidget* parent);
    void BuildChildren(const QString& parent, QWidget* container);
    // Passes a check or radio button's changes of state to the model, however they came.
    void FollowToggles(QAbstractButton* button, const QString& name);
    void Refresh();
    void Save();
    // Runs a user action on the model and shows the result.
    template <class F> void Act(F action);

    std::unique_ptr<TEditorModel> m_model;
    std::map<QString, QWidget*> m_widgets;
    std::map<QString, QWidget*> m_emptyPages; // blank page of each page control without tabs
    bool m_refreshing = false;
};
