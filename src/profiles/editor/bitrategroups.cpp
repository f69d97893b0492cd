// The two bitrate groups: the video one (preset track bar or a specified number) and the audio one
// (track bar, optionally set automatically). The codec pages and the MPEG DVD page place them.
#include "profiles/editor/editorparts.h"

TVideoBitrateNames VideoBitrateNames(const QString& s) {
    auto named = [&](const char* pattern) { return QString::fromLatin1(pattern).arg(s); };
    return {named("GroupBoxVideoBitrate%1"),
            named("RadioButtonVideoPresert%1"),
            named("RadioButtonVideoSpecify%1"),
            named("TrackBarVideoBitrate%1"),
            named("LabelCurrentBitrate%1"),
            named("LabelBitrate%1"),
            named("LabelKbps2%1"),
            named("LabelLow%1"),
            named("LabelHigh%1"),
            named("LabelBitrateSpecify%1"),
            named("LabelKbps%1"),
            named("ButtonVideoBitrateConfigure%1")};
}

THandler BuildVideoBitrate(TBuild& b, const TVideoBitrateNames& n, const QString& parent, int row,
                           const std::vector<int>& table, int trackMax, const QString& keyPrefix,
                           const QString& keySuffix, int startPosition) {
    Make(b, TControlKind::Group, n.Group, parent, row, Str(Ids::IDS_PROFILE_GROUPBOX_Bitrate));
    MakeRadio(b, n.Preset, n.Group, 0, Str(Ids::IDS_PROFILE_RADIOBUTTON_PresetQuality), n.Group, true);
    MakeBuddy(b, n.Current, n.Group, 1, Str(Ids::IDS_PROFILE_LABEL_CurrentBitrate), n.Track);
    Make(b, TControlKind::Label, n.Value, n.Group, 1);
    Make(b, TControlKind::Label, n.Kbps2, n.Group, 1, QStringLiteral("kbps"));
    Make(b, TControlKind::Label, n.Low, n.Group, 2, Str(Ids::IDS_PROFILE_LABEL_LowQuality));
    MakeTrack(b, n.Track, n.Group, 2, 1, trackMax);
    Make(b, TControlKind::Label, n.High, n.Group, 2, Str(Ids::IDS_PROFILE_LABEL_HighQuliaty));
    MakeRadio(b, n.Specify, n.Group, 3, Str(Ids::IDS_PROFILE_RADIOBUTTON_SpecifySetting), n.Group);
    Make(b, TControlKind::Label, n.Specified, n.Group, 4);
    Make(b, TControlKind::Label, n.Kbps, n.Group, 4, QStringLiteral("kbps"));
    Make(b, TControlKind::Button, n.Configure, n.Group, 4, Str(Ids::IDS_PROFILE_BUTTON_Configure));

    const THandler mode = [presetOn =
                               EnableWhen(b, {n.Current, n.Value, n.Low, n.High, n.Track, n.Kbps2}, n.Preset),
                           specifyOn = EnableWhen(b, {n.Specified, n.Kbps, n.Configure}, n.Specify)] {
        presetOn();
        specifyOn();
    };
    OnAll(b, {n.Preset, n.Specify}, TControlEvent::Click, mode);
    TrackLabel(b, n.Track, n.Value, table);
    b.M.On(n.Configure, TControlEvent::Click, SpecifyBitrate(b, n.Specified, table));
    BindPair(b, n.Preset, n.Specify, keyPrefix + QStringLiteral("BitRateUsePresert") + keySuffix);
    BindNumber(b, n.Specified, keyPrefix + QStringLiteral("BitRateSpecify") + keySuffix);
    BindPreset(b, n.Track, keyPrefix + QStringLiteral("BitRatePreset") + keySuffix, table, startPosition);
    return mode;
}

THandler BuildAudioBitrate(TBuild& b, const TAudioBitrateNames& n, const QString& parent, int row,
                           const std::vector<int>& table, int trackMax, const QString& keyPrefix,
                           const QString& keySuffix, int startPosition, bool autoDisables) {
    Make(b, TControlKind::Group, n.Group, parent, row, Str(Ids::IDS_PROFILE_GROUPBOX_Bitrate));
    Make(b, TControlKind::Check, n.AutoSet, n.Group, 0, Str(Ids::IDS_PROFILE_CHECKBOX_AutoSet));
    MakeBuddy(b, n.Current, n.Group, 1, Str(Ids::IDS_PROFILE_LABEL_CurrentBitrate), n.Track);
    Make(b, TControlKind::Label, n.Value, n.Group, 1);
    if (!n.Kbps.isEmpty())
        Make(b, TControlKind::Label, n.Kbps, n.Group, 1, QStringLiteral("kbps"));
    Make(b, TControlKind::Label, n.Small, n.Group, 2, Str(Ids::IDS_PROFILE_LABEL_LowQuality));
    MakeTrack(b, n.Track, n.Group, 2, 1, trackMax);
    Make(b, TControlKind::Label, n.Large, n.Group, 2, Str(Ids::IDS_PROFILE_LABEL_HighQuliaty));

    TrackLabel(b, n.Track, n.Value, table);
    BindCheck(b, n.AutoSet, keyPrefix + QStringLiteral("BitRateUseAutoSet") + keySuffix);
    BindPreset(b, n.Track, keyPrefix + QStringLiteral("BitRatePreset") + keySuffix, table, startPosition);
    if (!autoDisables)
        return [] {};
    QStringList controls = {n.Track, n.Current, n.Value, n.Small, n.Large};
    if (!n.Kbps.isEmpty())
        controls << n.Kbps;
    const THandler mode = EnableWhen(b, controls, n.AutoSet, false);
    b.M.On(n.AutoSet, TControlEvent::Click, mode);
    return mode;
}
