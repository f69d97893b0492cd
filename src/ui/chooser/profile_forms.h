#pragma once
// The windows of profile management over the chooser: the format's profile editor (made by a
// replaceable factory, so tests can script the editor) and the name dialog.
#include "profiles/profile_manager.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class IProfileEditor;

using TProfileEditorFactory = std::function<std::unique_ptr<IProfileEditor>(int formatIndex, QWidget* owner)>;

// Replaces the factory of profile editors; an empty function puts CreateProfileEditor back.
void SetProfileEditorFactory(TProfileEditorFactory factory);

class TProfileForms final : public IProfileForms {
  public:
    // The editor and the name dialog are centred over owner.
    explicit TProfileForms(QWidget* owner) : m_owner(owner) {}

    std::unique_ptr<IProfileEditSession> CreateEditor(int formatIndex) override;
    bool AskProfileName(QString& name) override;

  private:
    QPointer<QWidget> m_owner;
};
