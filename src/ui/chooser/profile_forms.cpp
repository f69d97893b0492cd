#include "ui/chooser/profile_forms.h"

#include "ui/chooser/namewnd.h"
#include "ui/editors/profileeditor.h"

namespace {

TProfileEditorFactory& editorFactory() {
    static TProfileEditorFactory factory;
    return factory;
}

// The editor window as profile management drives it.
class TEditorSession final : public IProfileEditSession {
  public:
    explicit TEditorSession(std::unique_ptr<IProfileEditor> editor) : m_editor(std::move(editor)) {}
    void ProfileToControls() override { m_editor->ProfileToControls(); }
    void ControlsToProfile() override { m_editor->ControlsToProfile(); }
    bool Execute() override { return m_editor->Execute(); }

  private:
    std::unique_ptr<IProfileEditor> m_editor;
};

} // namespace

void SetProfileEditorFactory(TProfileEditorFactory factory) {
    editorFactory() = std::move(factory);
}

std::unique_ptr<IProfileEditSession> TProfileForms::CreateEditor(int formatIndex) {
    const TProfileEditorFactory& factory = editorFactory();
    std::unique_ptr<IProfileEditor> editor =
        factory ? factory(formatIndex, m_owner) : CreateProfileEditor(formatIndex, m_owner);
    if (!editor)
        return nullptr;
    return std::make_unique<TEditorSession>(std::move(editor));
}

bool TProfileForms::AskProfileName(QString& name) {
    TfrmName dialog(m_owner, name);
    dialog.exec();
    if (!dialog.Confirmed())
        return false;
    name = dialog.FileName();
    return true;
}
