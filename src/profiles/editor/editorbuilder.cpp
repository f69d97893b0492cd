#include "profiles/editor/editorbuilder.h"

#include "app/errors.h"
#include "profiles/editor/editorparts.h"

#include <set>

namespace {

const TNames StandardNames = {
    QStringLiteral("labDescription"),
    QStringLiteral("EditDescription"),
    QStringLiteral("PageControlOptions"),
    QStringLiteral("TabSheetGeneral"),
    QStringLiteral("TabSheetAudio"),
    QStringLiteral("GroupBoxTimeControl"),
    QStringLiteral("CheckBoxEnableTimeControl"),
    QStringLiteral("LabelTimeLabel"),
    QStringLiteral("LabelStartTime"),
    QStringLiteral("EditStartTime"),
    QStringLiteral("LabelEndTime"),
    QStringLiteral("EditEndTime"),
    QStringLiteral("LabelDuration"),
    QStringLiteral("EditDuration"),
    QStringLiteral("GroupBoxAudioCodec"),
    QStringLiteral("ComboBoxAudioCodec"),
    QStringLiteral("PageControlACodec"),
    QStringLiteral("lab%1"),
    QStringLiteral("Line%1"),
    QStringLiteral("GroupBoxChannels%1"),
    QStringLiteral("ComboBoxAudioChannels%1"),
    QStringLiteral("GroupBoxSampleRate%1"),
    QStringLiteral("ComboBoxSampleRate%1"),
    QStringLiteral("GroupBoxAudioBitrate%1"),
    QStringLiteral("CheckBoxAutoSetAudioBitrate%1"),
    QStringLiteral("TrackBarAudioBitrate%1"),
    QStringLiteral("LabelCurrentAudioBitrate%1"),
    QStringLiteral("LabelAudioBitrate%1"),
    QStringLiteral("labKbps%1"),
    QStringLiteral("LabelAudioSmall%1"),
    QStringLiteral("LabelAudioLarge%1"),
};

// The AAC editor names the same controls its own way.
const TNames AacNames = {
    QStringLiteral("lblDescription"),
    QStringLiteral("txtDescription"),
    QStringLiteral("pageOptions"),
    QStringLiteral("tabGeneral"),
    QStringLiteral("TabSheetAudio"),
    QStringLiteral("grpTimeControl"),
    QStringLiteral("chkEnableTimeControl"),
    QStringLiteral("lblTime"),
    QStringLiteral("lblStartTime"),
    QStringLiteral("txtStartTime"),
    QStringLiteral("lblEndTime"),
    QStringLiteral("txtEndTime"),
    QStringLiteral("lblDuration"),
    QStringLiteral("txtDuration"),
    QStringLiteral("grpAudioCodec"),
    QStringLiteral("cmbAudioCodec"),
    QStringLiteral("pageAudioCodec"),
    QStringLiteral("lbl%1"),
    QStringLiteral("Line%1"),
    QStringLiteral("grpChannels%1"),
    QStringLiteral("ComboBoxAudioChannels%1"),
    QStringLiteral("grpSampleRate%1"),
    QStringLiteral("ComboBoxSampleRate%1"),
    QStringLiteral("grpAudioBitrate%1"),
    QStringLiteral("chkAutoSetAudioBitrate%1"),
    QStringLiteral("TrackBarAudioBitrate%1"),
    QStringLiteral("lblCurrentAudioBitrate%1"),
    QStringLiteral("lblAudioBitrate%1"),
    QStringLiteral("lblkbps%1"),
    QStringLiteral("lblAudioSmall%1"),
    QStringLiteral("lblAudioLarge%1"),
};

QString Plain(QString text) {
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

bool IsContainer(TControlKind kind) {
    return kind == TControlKind::Group || kind == TControlKind::Page || kind == TControlKind::PageControl;
}

// Gives every input and container an accessible name that is unique among the window's inputs, or
// its containers (labels are named by their text; the codec page stacks need no name): its own
// text, or the text of the label naming it, or its group's caption. Controls on a codec page are
// prefixed with the codec's name; names still shared get their group's caption, then a number.
void NameForAccessibility(TEditorModel& m) {
    std::map<QString, QString> labelled;
    for (const TControl& c : m.Controls()) {
        if (!c.Buddy.isEmpty())
            labelled[c.Buddy] = Plain(c.Text);
    }
    auto ancestor = [&](const TControl& c, auto accept) -> const TControl* {
        for (QString parent = c.Parent; !parent.isEmpty(); parent = m.C(parent).Parent) {
            if (accept(m.C(parent)))
                return &m.C(parent);
        }
        return nullptr;
    };
    auto codecPage = [&](const TControl& c) {
        return ancestor(
            c, [&](const TControl& p) { return p.Kind == TControlKind::Page && m.C(p.Parent).TabsHidden; });
    };
    auto groupCaption = [&](const TControl& c) {
        const TControl* g = ancestor(c, [](const TControl& p) { return p.Kind == TControlKind::Group; });
        return g ? Plain(g->Text) : QString();
    };
    auto join = [](const QString& a, const QString& b) { return a.isEmpty() ? b : a + QLatin1Char(' ') + b; };
    // Names are unique within their class: inputs, or containers.
    auto key = [](const TControl& c, const QString& name) {
        return (IsContainer(c.Kind) ? QStringLiteral("c:") : QStringLiteral("i:")) + name;
    };

    struct TNaming {
        QString Prefix, Base;
    };
    std::map<QString, TNaming> named; // controls still to name
    for (const TControl& c : m.Controls()) {
        if (!c.AccessibleName.isEmpty() || c.Kind == TControlKind::Label || c.Kind == TControlKind::Line ||
            c.TabsHidden)
            continue;
        QString base = labelled.count(c.Name) ? labelled[c.Name] : Plain(c.Text);
        if (base.isEmpty() && c.Kind == TControlKind::PageControl)
            base = m.Caption;
        if (base.isEmpty())
            base = groupCaption(c);
        const TControl* page = codecPage(c);
        named[c.Name] = {page ? page->AccessibleName : QString(), base};
    }
    std::map<QString, int> count;
    for (const TControl& c : m.Controls()) {
        if (!c.AccessibleName.isEmpty())
            ++count[key(c, c.AccessibleName)];
    }
    for (const auto& [name, naming] : named)
        ++count[key(m.C(name), join(naming.Prefix, naming.Base))];
    std::map<QString, QString> names;
    for (const auto& [name, naming] : named) {
        QString proposed = join(naming.Prefix, naming.Base);
        const QString group = groupCaption(m.C(name));
        if (count[key(m.C(name), proposed)] > 1 && !group.isEmpty() && group != naming.Base)
            proposed = join(naming.Prefix, group + QLatin1Char(' ') + naming.Base);
        names[name] = proposed;
    }
    // Whatever is still shared is numbered in window order.
    std::map<QString, int> seen;
    for (const TControl& c : m.Controls()) {
        if (!c.AccessibleName.isEmpty())
            ++seen[key(c, c.AccessibleName)];
    }
    for (const TControl& c : m.Controls()) {
        if (!names.count(c.Name))
            continue;
        QString name = names[c.Name];
        if (const int n = ++seen[key(c, name)]; n > 1)
            name += QStringLiteral(" %1").arg(n);
        m.C(c.Name).AccessibleName = name;
    }
}

} // namespace

std::unique_ptr<TEditorModel> BuildEditorModel(int formatIndex) {
    const TEditorDef* def = EditorDef(formatIndex);
    if (!def)
        throw EVaridError(QStringLiteral("No output format %1").arg(formatIndex));
    auto model = std::make_unique<TEditorModel>();
    TBuild b{*model, std::make_shared<TRecordAccess>(formatIndex),
             *def,   def->AacNames ? AacNames : StandardNames,
             {},     {},
             {}};
    BuildFrame(b);
    for (const TVideoPageDef& page : def->Video)
        BuildVideoPage(b, page, QStringLiteral("PageControlVCodec"));
    for (const TAudioPageDef& page : def->Audio)
        BuildAudioPage(b, page, b.N.AudioPages);
    BuildGeneral(b);

    // Showing: the mode rules of the codec pages, the audio bitrate, range and channel rules, then
    // the editor's page, group and audio-disabling rules (after the time enabling rule that the
    // frame registered first).
    for (const THandler& rule : b.VideoModes)
        model->OnShow(rule);
    for (const THandler& rule : b.AudioRules)
        model->OnShow(rule);
    for (const THandler& rule : b.PageRules)
        model->OnShow(rule);
    NameForAccessibility(*model);
    return model;
}
