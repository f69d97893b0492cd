#include "profiles/editor/editormodel.h"

#include "app/errors.h"

#include <algorithm>

TControl& TEditorModel::Add(TControl control) {
    const QString name = control.Name;
    if (m_index.count(name))
        throw EVaridError(QStringLiteral("Control %1 added twice").arg(name));
    m_index[name] = m_controls.size();
    m_controls.push_back(std::move(control));
    return m_controls.back();
}

void TEditorModel::On(const QString& name, TControlEvent event, THandler handler) {
    m_handlers[{name, event}].push_back(std::move(handler));
}

void TEditorModel::Bind(THandler load, THandler store) {
    m_loads.push_back(std::move(load));
    m_stores.push_back(std::move(store));
}

void TEditorModel::OnShow(THandler rule) {
    m_showRules.push_back(std::move(rule));
}

bool TEditorModel::Has(const QString& name) const {
    return m_index.count(name) != 0;
}

TControl& TEditorModel::C(const QString& name) {
    const auto found = m_index.find(name);
    if (found == m_index.end())
        throw EVaridError(QStringLiteral("No control %1").arg(name));
    return m_controls[found->second];
}

const TControl& TEditorModel::C(const QString& name) const {
    return const_cast<TEditorModel*>(this)->C(name);
}

std::vector<const TControl*> TEditorModel::Children(const QString& parent) const {
    std::vector<const TControl*> children;
    for (const TControl& control : m_controls) {
        if (control.Parent == parent && control.Name != parent)
            children.push_back(&control);
    }
    return children;
}

void TEditorModel::SetChecked(const QString& name, bool checked) {
    TControl& control = C(name);
    control.Checked = checked;
    if (checked && control.Kind == TControlKind::Radio) {
        for (TControl& other : m_controls) {
            if (other.Kind == TControlKind::Radio && other.Name != name &&
                other.RadioGroup == control.RadioGroup)
                other.Checked = false;
        }
    }
    Touch();
}

void TEditorModel::SetItemIndex(const QString& name, int index) {
    TControl& control = C(name);
    control.ItemIndex = index >= 0 && index < control.Items.size() ? index : -1;
    Touch();
}

void TEditorModel::SetPosition(const QString& name, int position) {
    TControl& control = C(name);
    control.Position = std::clamp(position, control.Min, std::max(control.Min, control.Max));
    Touch();
    Fire(name, TControlEvent::Change);
}

void TEditorModel::SetRange(const QString& name, int min, int max) {
    TControl& control = C(name);
    control.Min = min;
    control.Max = max;
    const int clamped = std::clamp(control.Position, min, std::max(min, max));
    Touch();
    if (clamped != control.Position)
        SetPosition(name, clamped);
}

void TEditorModel::SetText(const QString& name, const QString& text) {
    C(name).Text = text;
    Touch();
}

void TEditorModel::SetEnabled(const QString& name, bool enabled) {
    C(name).Enabled = enabled;
    Touch();
}

void TEditorModel::SetVisible(const QString& name, bool visible) {
    C(name).Visible = visible;
    Touch();
}

void TEditorModel::BringToFront(const QString& name) {
    TControl& control = C(name);
    for (TControl& other : m_controls) {
        if (!control.Stack.isEmpty() && other.Stack == control.Stack)
            other.Front = false;
    }
    control.Front = true;
    Touch();
}

void TEditorModel::SetActivePage(const QString& pageControl, const QString& page) {
    C(pageControl).ActivePage = page;
    Touch();
}

void TEditorModel::UserClick(const QString& name) {
    TControl& control = C(name);
    if (!control.Enabled)
        return;
    if (control.Kind == TControlKind::Check)
        SetChecked(name, !control.Checked);
    else if (control.Kind == TControlKind::Radio)
        SetChecked(name, true);
    Fire(name, TControlEvent::Click);
}

void TEditorModel::UserSelect(const QString& name, int index) {
    SetItemIndex(name, index);
    Fire(name, TControlEvent::Change);
}

void TEditorModel::UserSetPosition(const QString& name, int position) {
    SetPosition(name, position);
}

void TEditorModel::UserType(const QString& name, const QString& text) {
    SetText(name, text);
    Fire(name, TControlEvent::Change);
}

void TEditorModel::UserEnter(const QString& name) {
    if (m_focused == name)
        return;
    if (!m_focused.isEmpty())
        UserExit(QString(m_focused));
    m_focused = name;
    Fire(name, TControlEvent::Enter);
}

void TEditorModel::UserExit(const QString& name) {
    if (m_focused != name)
        return;
    const QString left = name; // name may be m_focused itself
    m_focused.clear();
    Fire(left, TControlEvent::Exit);
}

void TEditorModel::UserSave() {
    if (!m_focused.isEmpty())
        UserExit(m_focused);
}

void TEditorModel::ProfileToControls() {
    for (const THandler& load : m_loads)
        load();
    Touch();
}

void TEditorModel::ControlsToProfile() {
    for (const THandler& store : m_stores)
        store();
}

void TEditorModel::Show() {
    for (const THandler& rule : m_showRules)
        rule();
    Touch();
}

void TEditorModel::Fire(const QString& name, TControlEvent event) {
    const auto found = m_handlers.find({name, event});
    if (found == m_handlers.end())
        return;
    for (const THandler& handler : found->second)
        handler();
}
