// The groups of the modern codecs' pages: constant quality and encoder speed on the video pages;
// on the audio pages the source's sample rate and channels kept, Vorbis's quality level and FLAC's
// compression level and sample size.
#include "profiles/editor/editorparts.h"

#include <functional>

namespace {

// The texts of a modern channel or rate list: "As source" for the empty entry.
QStringList ListTexts(TValueList values, const std::function<QString(const QString&)>& text) {
    QStringList texts;
    for (const char* value : values) {
        const QString v = QString::fromLatin1(value);
        texts << (v.isEmpty() ? Str(Ids::IDS_PROFILE_AsSource) : text(v));
    }
    return texts;
}

} // namespace

QStringList ChannelTexts(TValueList channels) {
    return ListTexts(channels, [](const QString& count) {
        if (count == QLatin1String("1"))
            return Str(Ids::IDS_PROFILE_GROUPBOX_Channels_1);
        if (count == QLatin1String("2"))
            return Str(Ids::IDS_PROFILE_GROUPBOX_Channels_2);
        return Str(Ids::IDS_PROFILE_Channels_Surround);
    });
}

// The bitrate group of an audio page (the track bar starts at position 4); returns its mode rule.
THandler BuildPageBitrate(TBuild& b, const TAudioPageDef& def, int row) {
    const TNames& n = b.N;
    const QString s = def.Suffix;
    return BuildAudioBitrate(
        b,
        {Named(n.BitrateGroup, s), Named(n.AutoBitrate, s), Named(n.Track, s), Named(n.Current, s),
         Named(n.Bitrate, s), Named(n.Kbps, s), Named(n.Small, s), Named(n.Large, s)},
        def.Page, row, *def.Bitrates, def.TrackMax, QStringLiteral("Audio"), def.Key, 4, true);
}

namespace {

// A track bar over a list of levels with the value beside it, in a group of its own.
struct TLevelNames {
    QString Group, Current, Value, Low, Track, High;
};
void BuildLevel(TBuild& b, const TLevelNames& names, const QString& parent, int row, Ids caption, Ids current,
                Ids low, Ids high, const std::vector<int>& levels, const QString& key, int startPosition) {
    Make(b, TControlKind::Group, names.Group, parent, row, Str(caption));
    MakeBuddy(b, names.Current, names.Group, 1, Str(current), names.Track);
    Make(b, TControlKind::Label, names.Value, names.Group, 1);
    Make(b, TControlKind::Label, names.Low, names.Group, 2, Str(low));
    MakeTrack(b, names.Track, names.Group, 2, 1, static_cast<int>(levels.size()));
    Make(b, TControlKind::Label, names.High, names.Group, 2, Str(high));
    TrackLabel(b, names.Track, names.Value, levels);
    BindPreset(b, names.Track, key, levels, startPosition);
}

const std::vector<int> VorbisQualities = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
const std::vector<int> FlacLevels = {0, 1, 2, 3, 4, 5, 6, 7, 8};

} // namespace

// The rest of a modern audio page: the sample rate (unless the codec has its own), the bitrate,
// and the quality level (Vorbis) or the compression level and sample size (FLAC).
void BuildModernAudio(TBuild& b, const TAudioPageDef& def, const QString& rateGroup, const QString& rate) {
    TEditorModel* m = &b.M;
    const QString s = def.Suffix, k = def.Key;
    if (!def.ModernRates.empty()) {
        Make(b, TControlKind::Group, rateGroup, def.Page, 2, Str(Ids::IDS_PROFILE_GROUPBOX_SampleRate));
        MakeList(b, rate, rateGroup, 0, ListTexts(def.ModernRates, [](const QString& hz) { return hz; }));
        BindIndex(b, rate, QStringLiteral("AudioSampleRate") + k);
    }
    // A quality level comes first, above the bitrate it replaces.
    if (def.Bitrates)
        b.AudioRules.push_back(BuildPageBitrate(b, def, def.Extra == TAudioExtra::Quality ? 4 : 3));
    if (def.Extra == TAudioExtra::Quality) {
        // A quality level replaces the bitrate: the bitrate group is disabled while it is chosen.
        const QString group = Named(QStringLiteral("GroupBoxAudioQuality%1"), s);
        const QString check = Named(QStringLiteral("CheckBoxUseQuality%1"), s);
        const TLevelNames names{group,
                                Named(QStringLiteral("LabelCurrentQuality%1"), s),
                                Named(QStringLiteral("LabelQuality%1"), s),
                                Named(QStringLiteral("LabelQualityLow%1"), s),
                                Named(QStringLiteral("TrackBarAudioQuality%1"), s),
                                Named(QStringLiteral("LabelQualityHigh%1"), s)};
        BuildLevel(b, names, def.Page, 3, Ids::IDS_PROFILE_GROUPBOX_AudioQuality,
                   Ids::IDS_PROFILE_LABEL_CurrentQuality, Ids::IDS_PROFILE_LABEL_LowQuality,
                   Ids::IDS_PROFILE_LABEL_HighQuliaty, VorbisQualities, QStringLiteral("AudioQuality") + k,
                   7);
        Make(b, TControlKind::Check, check, group, 0, Str(Ids::IDS_PROFILE_CHECKBOX_UseQuality));
        BindCheck(b, check, QStringLiteral("AudioUseQuality") + k);
        const QString bitrate = Named(b.N.BitrateGroup, s);
        const THandler qualityOn =
            EnableWhen(b, {names.Current, names.Value, names.Low, names.Track, names.High}, check);
        const THandler mode = [=] {
            qualityOn();
            m->SetEnabled(bitrate, !m->C(check).Checked);
        };
        m->On(check, TControlEvent::Click, mode);
        b.AudioRules.push_back(mode);
    } else if (def.Extra == TAudioExtra::Compression) {
        BuildLevel(b,
                   {Named(QStringLiteral("GroupBoxCompression%1"), s),
                    Named(QStringLiteral("LabelCurrentCompression%1"), s),
                    Named(QStringLiteral("LabelCompression%1"), s), Named(QStringLiteral("LabelFast%1"), s),
                    Named(QStringLiteral("TrackBarCompression%1"), s),
                    Named(QStringLiteral("LabelSmall%1"), s)},
                   def.Page, 3, Ids::IDS_PROFILE_GROUPBOX_Compression,
                   Ids::IDS_PROFILE_LABEL_CompressionLevel, Ids::IDS_PROFILE_LABEL_FastLarge,
                   Ids::IDS_PROFILE_LABEL_SlowSmall, FlacLevels, QStringLiteral("AudioCompression") + k, 6);
        const QString bitsGroup = Named(QStringLiteral("GroupBoxSampleSize%1"), s);
        const QString bits = Named(QStringLiteral("ComboBoxSampleSize%1"), s);
        Make(b, TControlKind::Group, bitsGroup, def.Page, 3, Str(Ids::IDS_PROFILE_GROUPBOX_SampleSize));
        MakeList(b, bits, bitsGroup, 0, ListTexts(ValueLists::FlacBits, [](const QString& size) {
                     return Str(size == QLatin1String("16") ? Ids::IDS_PROFILE_Bits16
                                                            : Ids::IDS_PROFILE_Bits24);
                 }));
        BindIndex(b, bits, QStringLiteral("AudioBits") + k);
    }
    if (def.Hint)
        Make(b, TControlKind::Label, Named(QStringLiteral("LabelHint%1"), s), def.Page, 5, Str(*def.Hint));
}

// A modern codec's constant quality (a CRF track bar from the worst quality to the best) and
// encoder speed. Constant quality replaces the bitrate: the bitrate group is disabled while it is
// chosen.
THandler BuildQualityAndSpeed(TBuild& b, const TVideoPageDef& def, const QString& page, int row) {
    TEditorModel* m = &b.M;
    const QString s = def.Suffix, k = def.Key;
    const QString group = Named(QStringLiteral("GroupBoxVideoQuality%1"), s);
    const QString check = Named(QStringLiteral("CheckBoxConstantQuality%1"), s);
    const QString current = Named(QStringLiteral("LabelCurrentQuality%1"), s);
    const QString value = Named(QStringLiteral("LabelQuality%1"), s);
    const QString low = Named(QStringLiteral("LabelQualityLow%1"), s);
    const QString track = Named(QStringLiteral("TrackBarVideoQuality%1"), s);
    const QString high = Named(QStringLiteral("LabelQualityHigh%1"), s);
    const QString hint = Named(QStringLiteral("LabelQualityHint%1"), s);
    Make(b, TControlKind::Group, group, page, row, Str(Ids::IDS_PROFILE_GROUPBOX_ConstantQuality));
    Make(b, TControlKind::Check, check, group, 0, Str(Ids::IDS_PROFILE_CHECKBOX_ConstantQuality));
    MakeBuddy(b, current, group, 1, Str(Ids::IDS_PROFILE_LABEL_Quality), track);
    Make(b, TControlKind::Label, value, group, 1);
    Make(b, TControlKind::Label, low, group, 2, Str(Ids::IDS_PROFILE_LABEL_LowQuality));
    MakeTrack(b, track, group, 2, 1, static_cast<int>(def.Qualities->size()));
    Make(b, TControlKind::Label, high, group, 2, Str(Ids::IDS_PROFILE_LABEL_HighQuliaty));
    Make(b, TControlKind::Label, hint, group, 3, Str(Ids::IDS_PROFILE_LABEL_QualityHint));
    TrackLabel(b, track, value, *def.Qualities);
    BindCheck(b, check, QStringLiteral("VideoConstantQuality") + k);
    BindPreset(b, track, QStringLiteral("VideoQuality") + k, *def.Qualities, 1);

    const QString speedGroup = Named(QStringLiteral("GroupBoxVideoSpeed%1"), s);
    const QString speeds = Named(QStringLiteral("ComboBoxVideoSpeed%1"), s);
    Make(b, TControlKind::Group, speedGroup, page, row, Str(Ids::IDS_PROFILE_GROUPBOX_EncoderSpeed));
    QStringList names;
    for (const char* speed : ValueLists::EncoderSpeeds)
        names << QString::fromLatin1(speed);
    MakeList(b, speeds, speedGroup, 0, names);
    Make(b, TControlKind::Label, Named(QStringLiteral("LabelSpeedHint%1"), s), speedGroup, 1,
         Str(Ids::IDS_PROFILE_LABEL_SpeedHint));
    BindIndex(b, speeds, QStringLiteral("VideoSpeed") + k);

    const QString bitrate = Named(QStringLiteral("GroupBoxVideoBitrate%1"), s);
    const THandler qualityOn = EnableWhen(b, {current, value, low, track, high, hint}, check);
    const THandler mode = [=] {
        qualityOn();
        m->SetEnabled(bitrate, !m->C(check).Checked);
    };
    m->On(check, TControlEvent::Click, mode);
    return mode;
}
