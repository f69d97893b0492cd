// The window frame every editor shares: description, the main pages, Save and Close, and the time
// control group with its rules.
#include "app/utils.h"
#include "profiles/editor/editorparts.h"

#include <map>

namespace {

constexpr int64_t TimeLimitMs = 720000000; // 200 hours

// A time text read as milliseconds; an unreadable text counts as 0 in sums.
int64_t MsOrZero(const QString& text) {
    const int64_t ms = TimeTextToMs(text);
    return ms < 0 ? 0 : ms;
}

void BuildTimeGroup(TBuild& b) {
    const TNames& n = b.N;
    Make(b, TControlKind::Group, n.TimeGroup, n.General, 0, Str(Ids::IDS_PROFILE_GROUPBOX_TimeControl)).Grid =
        true;
    Make(b, TControlKind::Check, n.TimeCheck, n.TimeGroup, 0, Str(Ids::IDS_PROFILE_GROUPBOX_TimeControl));
    MakeBuddy(b, n.StartLabel, n.TimeGroup, 1, Str(Ids::IDS_PROFILE_LABEL_StartTime), n.Start);
    Make(b, TControlKind::Edit, n.Start, n.TimeGroup, 1);
    Make(b, TControlKind::Label, n.TimeHint, n.TimeGroup, 1, Str(Ids::IDS_PROFILE_LABEL_HrMn));
    MakeBuddy(b, n.EndLabel, n.TimeGroup, 2, Str(Ids::IDS_PROFILE_LABEL_EndTime), n.End);
    Make(b, TControlKind::Edit, n.End, n.TimeGroup, 2);
    MakeBuddy(b, n.DurationLabel, n.TimeGroup, 3, Str(Ids::IDS_PROFILE_LABEL_Duration), n.Duration);
    Make(b, TControlKind::Edit, n.Duration, n.TimeGroup, 3);

    TEditorModel* m = &b.M;
    const QString start = n.Start, end = n.End, duration = n.Duration;

    // Entering a field remembers its text; a rejected value puts it back when the field is left.
    auto remembered = std::make_shared<std::map<QString, QString>>();
    for (const QString& field : {start, end, duration})
        m->On(field, TControlEvent::Enter, [=] { (*remembered)[field] = m->C(field).Text; });
    auto restore = [=](const QString& field) { m->SetText(field, (*remembered)[field]); };
    auto setTime = [=](const QString& field, int64_t ms) { m->SetText(field, MsToTimeText(ms)); };

    m->On(start, TControlEvent::Exit, [=] {
        const int64_t startMs = TimeTextToMs(m->C(start).Text);
        if (startMs < 0 || startMs > TimeLimitMs)
            return restore(start);
        const int64_t endMs = TimeTextToMs(m->C(end).Text);
        setTime(start, startMs);
        if (endMs <= startMs)
            setTime(end, startMs);
        setTime(duration, MsOrZero(m->C(end).Text) - startMs);
    });
    m->On(end, TControlEvent::Exit, [=] {
        const int64_t startMs = MsOrZero(m->C(start).Text);
        const int64_t endMs = TimeTextToMs(m->C(end).Text);
        // An unreadable end (-1) is rejected like one before the start.
        if (endMs < 0 || endMs < startMs || endMs > TimeLimitMs)
            return restore(end);
        setTime(end, endMs);
        setTime(duration, endMs - startMs);
    });
    m->On(duration, TControlEvent::Exit, [=] {
        const int64_t durationMs = TimeTextToMs(m->C(duration).Text);
        if (durationMs < 0 || durationMs > TimeLimitMs)
            return restore(duration);
        setTime(duration, durationMs);
        setTime(end, MsOrZero(m->C(start).Text) + durationMs);
    });

    BindCheck(b, n.TimeCheck, QStringLiteral("EnableTimeControl"));
    BindText(b, duration, QStringLiteral("Duration"));
    BindText(b, start, QStringLiteral("StartTime"));
    auto rec = b.Rec;
    m->Bind(
        [=] {
            setTime(end, MsOrZero(rec->Text(QStringLiteral("StartTime"))) +
                             MsOrZero(rec->Text(QStringLiteral("Duration"))));
        },
        [] {});

    const THandler enabling = EnableWhen(
        b, {n.TimeHint, n.StartLabel, start, n.EndLabel, end, n.DurationLabel, duration}, n.TimeCheck);
    m->On(n.TimeCheck, TControlEvent::Click, enabling);
    m->OnShow(enabling);
}

} // namespace

void BuildFrame(TBuild& b) {
    const TNames& n = b.N;
    TEditorModel& m = b.M;
    m.Caption = FormatStr(Str(Ids::IDS_PROFILE_FORM_ProfileEditor), {Str(b.Def.Label)});
    MakeBuddy(b, n.DescriptionLabel, QString(), 0, Str(Ids::IDS_PROFILE_LABEL_Description), n.Description);
    Make(b, TControlKind::Edit, n.Description, QString(), 0);
    BindText(b, n.Description, QStringLiteral("Description"));

    Make(b, TControlKind::PageControl, n.Options, QString(), 1);
    Make(b, TControlKind::Page, n.General, n.Options, 0, Str(Ids::IDS_PROFILE_PAGECONTROL_General));
    if (!b.Def.Video.empty()) {
        Make(b, TControlKind::Page, QStringLiteral("TabSheetVideo"), n.Options, 0,
             Str(Ids::IDS_PROFILE_PAGECONTROL_Video));
        Make(b, TControlKind::PageControl, QStringLiteral("PageControlVCodec"),
             QStringLiteral("TabSheetVideo"), 0)
            .TabsHidden = true;
    }
    Make(b, TControlKind::Page, n.AudioTab, n.Options, 0, Str(Ids::IDS_PROFILE_PAGECONTROL_Audio));
    Make(b, TControlKind::PageControl, n.AudioPages, n.AudioTab, 0).TabsHidden = true;
    m.C(n.Options).ActivePage = n.General;

    Make(b, TControlKind::Button, QStringLiteral("btnSave"), QString(), 2, Str(Ids::IDS_PROFILE_BUTTON_Save));
    Make(b, TControlKind::Button, QStringLiteral("btnClose"), QString(), 2,
         Str(Ids::IDS_PROFILE_BUTTON_Close));
    m.DefaultButton = QStringLiteral("btnSave");
    m.CancelButton = QStringLiteral("btnClose");

    BuildTimeGroup(b);
}
