// Control factories, key bindings and the rules every editor shares.
#include "app/utils.h"
#include "profiles/editor/editorparts.h"

#include <algorithm>

TControl& Make(TBuild& b, TControlKind kind, const QString& name, const QString& parent, int row,
               const QString& text) {
    TControl control;
    control.Kind = kind;
    control.Name = name;
    control.Parent = parent;
    control.Row = row;
    control.Text = text;
    return b.M.Add(std::move(control));
}

TControl& MakeRadio(TBuild& b, const QString& name, const QString& parent, int row, const QString& text,
                    const QString& group, bool checked) {
    TControl& radio = Make(b, TControlKind::Radio, name, parent, row, text);
    radio.RadioGroup = group;
    radio.Checked = checked;
    return radio;
}

TControl& MakeList(TBuild& b, const QString& name, const QString& parent, int row, const QStringList& items) {
    TControl& list = Make(b, TControlKind::List, name, parent, row);
    list.Items = items;
    return list;
}

TControl& MakeTrack(TBuild& b, const QString& name, const QString& parent, int row, int min, int max) {
    TControl& track = Make(b, TControlKind::TrackBar, name, parent, row);
    track.Min = min;
    track.Max = max;
    track.Position = min;
    return track;
}

TControl& MakeBuddy(TBuild& b, const QString& name, const QString& parent, int row, const QString& text,
                    const QString& buddy) {
    TControl& label = Make(b, TControlKind::Label, name, parent, row, text);
    label.Buddy = buddy;
    return label;
}

QStringList Texts(std::initializer_list<Ids> ids) {
    QStringList texts;
    for (Ids id : ids)
        texts << Str(id);
    return texts;
}

QString Heading(Ids text) {
    return FormatStr(Str(Ids::IDS_PROFILE_LABEL_FormatProperties), {Str(text)});
}

// ---- Bindings ---------------------------------------------------------------------------------

void BindText(TBuild& b, const QString& edit, const QString& key) {
    TEditorModel* m = &b.M;
    auto rec = b.Rec;
    m->Bind([=] { m->SetText(edit, rec->Text(key)); }, [=] { rec->SetText(key, m->C(edit).Text); });
}

void BindCheck(TBuild& b, const QString& check, const QString& key) {
    TEditorModel* m = &b.M;
    auto rec = b.Rec;
    m->Bind([=] { m->SetChecked(check, rec->Bool(key)); }, [=] { rec->SetBool(key, m->C(check).Checked); });
}

void BindPair(TBuild& b, const QString& first, const QString& second, const QString& key) {
    TEditorModel* m = &b.M;
    auto rec = b.Rec;
    m->Bind(
        [=] {
            const bool value = rec->Bool(key);
            m->SetChecked(first, value);
            m->SetChecked(second, !value);
        },
        [=] { rec->SetBool(key, m->C(first).Checked); });
}

void BindIndex(TBuild& b, const QString& list, const QString& key) {
    TEditorModel* m = &b.M;
    auto rec = b.Rec;
    m->Bind([=] { m->SetItemIndex(list, rec->Int(key)); }, [=] { rec->SetInt(key, m->C(list).ItemIndex); });
}

void BindSpin(TBuild& b, const QString& spin, const QString& key) {
    TEditorModel* m = &b.M;
    auto rec = b.Rec;
    m->Bind(
        [=] {
            // A stored size outside the field's range is kept as it is rather than cut to the range.
            TControl& field = m->C(spin);
            const int value = rec->Int(key);
            field.Min = std::min(field.Min, value);
            field.Max = std::max(field.Max, value);
            m->SetPosition(spin, value);
        },
        [=] { rec->SetInt(key, m->C(spin).Position); });
}

void BindPreset(TBuild& b, const QString& track, const QString& key, const std::vector<int>& table,
                int startPosition) {
    TEditorModel* m = &b.M;
    auto rec = b.Rec;
    const std::vector<int>* entries = &table;
    m->Bind(
        [=] {
            int position = startPosition;
            const int stored = rec->Int(key);
            for (std::size_t p = 1; p <= entries->size(); ++p) {
                if ((*entries)[p - 1] == stored)
                    position = static_cast<int>(p);
            }
            m->SetPosition(track, startPosition);
            m->SetPosition(track, position);
        },
        [=] {
            const int position = m->C(track).Position;
            if (position >= 1 && position <= static_cast<int>(entries->size()))
                rec->SetInt(key, (*entries)[position - 1]);
        });
}

void BindNumber(TBuild& b, const QString& label, const QString& key) {
    TEditorModel* m = &b.M;
    auto rec = b.Rec;
    m->Bind([=] { m->SetText(label, QString::number(rec->Int(key))); },
            [=] { rec->SetInt(key, m->C(label).Text.toInt()); });
}

void BindCodes(TBuild& b, const std::vector<std::pair<QString, int>>& buttons, const QString& key) {
    TEditorModel* m = &b.M;
    auto rec = b.Rec;
    m->Bind(
        [=] {
            for (const auto& [name, code] : buttons) {
                if (code == rec->Int(key))
                    m->SetChecked(name, true);
            }
        },
        [=] {
            for (const auto& [name, code] : buttons) {
                if (m->C(name).Checked) {
                    rec->SetInt(key, code);
                    return;
                }
            }
        });
}

// ---- Rules ------------------------------------------------------------------------------------

THandler EnableWhen(TBuild& b, const QStringList& controls, const QString& source, bool whenChecked) {
    TEditorModel* m = &b.M;
    return [=] {
        const bool enabled = m->C(source).Checked == whenChecked;
        for (const QString& name : controls)
            m->SetEnabled(name, enabled);
    };
}

THandler TrackLabel(TBuild& b, const QString& track, const QString& label, const std::vector<int>& table) {
    TEditorModel* m = &b.M;
    const std::vector<int>* entries = &table;
    THandler rule = [=] {
        const int position = m->C(track).Position;
        if (position >= 1 && position <= static_cast<int>(entries->size()))
            m->SetText(label, QString::number((*entries)[position - 1]));
    };
    m->On(track, TControlEvent::Change, rule);
    return rule;
}

THandler RangeByRate(TBuild& b, const QString& rateList, const std::vector<int>& rates, const QString& track,
                     const std::vector<TRateRange>& ranges) {
    TEditorModel* m = &b.M;
    const std::vector<int>* rateValues = &rates;
    const std::vector<TRateRange>* table = &ranges;
    return [=] {
        const int index = m->C(rateList).ItemIndex;
        if (index < 0 || index >= static_cast<int>(rateValues->size()))
            return;
        for (const TRateRange& range : *table) {
            if (range.Rate == (*rateValues)[index])
                m->SetRange(track, range.Min, range.Max);
        }
    };
}

THandler SpecifyBitrate(TBuild& b, const QString& label, const std::vector<int>& table) {
    TEditorModel* m = &b.M;
    const int minimum = table.front();
    const int maximum = table.back();
    return [=] {
        const int current = m->C(label).Text.toInt();
        if (!m->InputValue)
            return;
        const int value = m->InputValue({Str(Ids::IDS_ENTER_VIDEOBITRATE_TITLE),
                                         Str(Ids::IDS_ENTER_VIDEOBITRATE), current, maximum, minimum});
        m->SetText(label, QString::number(value));
    };
}

void OnAll(TBuild& b, const QStringList& controls, TControlEvent event, const THandler& handler) {
    for (const QString& name : controls)
        b.M.On(name, event, handler);
}
