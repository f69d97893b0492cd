#pragma once
// The pieces the editor builder puts together: control factories, bindings of controls to profile
// keys, and the rules shared by every editor. Internal to src/profiles/editor.
#include "profiles/editor/editordefs.h"
#include "profiles/editor/editormodel.h"
#include "profiles/editor/recordaccess.h"

#include <memory>
#include <utility>

using THandler = TEditorModel::THandler;

// A control name made of a pattern and a page suffix ("TrackBarVideoBitrate%1" and "DivX").
inline QString Named(const QString& pattern, const QString& suffix) {
    return pattern.arg(suffix);
}

// Control names that differ between the AAC editor and the others; "%1" stands for a page suffix.
struct TNames {
    QString DescriptionLabel, Description, Options, General, AudioTab, TimeGroup, TimeCheck, TimeHint,
        StartLabel, Start, EndLabel, End, DurationLabel, Duration, AudioCodecGroup, AudioCodec, AudioPages;
    QString Heading, Line, ChannelsGroup, Channels, RateGroup, Rate, BitrateGroup, AutoBitrate, Track,
        Current, Bitrate, Kbps, Small, Large;
};

struct TBuild {
    TEditorModel& M;
    std::shared_ptr<TRecordAccess> Rec;
    const TEditorDef& Def;
    const TNames& N;
    // Show rules collected per kind, applied in the order each editor needs.
    std::vector<THandler> VideoModes, AudioRules, PageRules;
};

// ---- Control factories ----------------------------------------------------------------------
TControl& Make(TBuild& b, TControlKind kind, const QString& name, const QString& parent, int row,
               const QString& text = QString());
TControl& MakeRadio(TBuild& b, const QString& name, const QString& parent, int row, const QString& text,
                    const QString& group, bool checked = false);
TControl& MakeList(TBuild& b, const QString& name, const QString& parent, int row, const QStringList& items);
TControl& MakeTrack(TBuild& b, const QString& name, const QString& parent, int row, int min, int max);
// A label naming another control.
TControl& MakeBuddy(TBuild& b, const QString& name, const QString& parent, int row, const QString& text,
                    const QString& buddy);
QStringList Texts(std::initializer_list<Ids> ids);
QString Heading(Ids text);

// ---- Bindings of controls to profile keys -----------------------------------------------------
void BindText(TBuild& b, const QString& edit, const QString& key);
void BindCheck(TBuild& b, const QString& check, const QString& key);
// A radio pair stored as one Boolean: true when the first is checked.
void BindPair(TBuild& b, const QString& first, const QString& second, const QString& key);
// A list's item index; a stored index outside the list shows no selection, none is stored as 255.
void BindIndex(TBuild& b, const QString& list, const QString& key);
void BindSpin(TBuild& b, const QString& spin, const QString& key);
// A track bar over a bitrate table, stored as the kbps under it. Loading starts at startPosition
// and moves to the last entry equal to the stored value.
void BindPreset(TBuild& b, const QString& track, const QString& key, const std::vector<int>& table,
                int startPosition);
// A label showing a number, stored as that number.
void BindNumber(TBuild& b, const QString& label, const QString& key);
// Radio buttons with codes: the button of the stored code is checked; the first checked button's
// code is stored (unchanged when none is checked).
void BindCodes(TBuild& b, const std::vector<std::pair<QString, int>>& buttons, const QString& key);

// ---- Shared rules -----------------------------------------------------------------------------
// Enables the controls exactly when source is checked (or, with whenChecked false, when it is not).
THandler EnableWhen(TBuild& b, const QStringList& controls, const QString& source, bool whenChecked = true);
// The label shows the table entry under the track bar.
THandler TrackLabel(TBuild& b, const QString& track, const QString& label, const std::vector<int>& table);
// Sets the track bar's range from the sample rate chosen in the list; no rate keeps the range.
THandler RangeByRate(TBuild& b, const QString& rateList, const std::vector<int>& rates, const QString& track,
                     const std::vector<TRateRange>& ranges);
// "Configure": asks for a bitrate within the table's first and last entries; the label shows it.
THandler SpecifyBitrate(TBuild& b, const QString& label, const std::vector<int>& table);
// Runs a handler on each of the events of the named controls.
void OnAll(TBuild& b, const QStringList& controls, TControlEvent event, const THandler& handler);

// ---- Bitrate groups -----------------------------------------------------------------------------
struct TVideoBitrateNames {
    QString Group, Preset, Specify, Track, Current, Value, Kbps2, Low, High, Specified, Kbps, Configure;
};
// The names of a codec page's video bitrate group.
TVideoBitrateNames VideoBitrateNames(const QString& suffix);
// A video bitrate group editing the keys keyPrefix + "BitRateUsePresert" / "BitRatePreset" /
// "BitRateSpecify" + keySuffix; returns its bitrate mode rule.
THandler BuildVideoBitrate(TBuild& b, const TVideoBitrateNames& names, const QString& parent, int row,
                           const std::vector<int>& table, int trackMax, const QString& keyPrefix,
                           const QString& keySuffix, int startPosition);
struct TAudioBitrateNames {
    QString Group, AutoSet, Track, Current, Value, Kbps, Small, Large; // Kbps may be empty
};
// An audio bitrate group editing keyPrefix + "BitRateUseAutoSet" / "BitRatePreset" + keySuffix;
// returns its mode rule (nothing to do unless "Auto set" disables the track bar).
THandler BuildAudioBitrate(TBuild& b, const TAudioBitrateNames& names, const QString& parent, int row,
                           const std::vector<int>& table, int trackMax, const QString& keyPrefix,
                           const QString& keySuffix, int startPosition, bool autoDisables);

// ---- The modern codecs' groups --------------------------------------------------------------------
// The texts of a channel list of the shared value lists ("As source", "1 (mono)", ...).
QStringList ChannelTexts(TValueList channels);
// The bitrate group of an audio page at a row of the page (the track bar starts at position 4);
// returns its mode rule.
THandler BuildPageBitrate(TBuild& b, const TAudioPageDef& def, int row = 3);
// A modern audio page after its channels: sample rate, bitrate, and quality or compression.
void BuildModernAudio(TBuild& b, const TAudioPageDef& def, const QString& rateGroup, const QString& rate);
// A modern video page's constant quality and encoder speed at a row; returns the rule that
// enables the quality or the bitrate.
THandler BuildQualityAndSpeed(TBuild& b, const TVideoPageDef& def, const QString& page, int row);

// ---- Parts of the window ------------------------------------------------------------------------
// The window frame and the time control group (with its rules and bindings).
void BuildFrame(TBuild& b);
// The codec pages of the definition, on the Video and Audio pages.
void BuildVideoPage(TBuild& b, const TVideoPageDef& page, const QString& pageControl);
void BuildAudioPage(TBuild& b, const TAudioPageDef& page, const QString& pageControl);
// The General page's codec groups, the special pages and the page rules of each kind of editor.
void BuildGeneral(TBuild& b);
