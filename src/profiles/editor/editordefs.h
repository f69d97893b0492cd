#pragma once
// The profile editors as data: each editor's codec pages (names, key suffixes, list
// texts), their bitrate tables and track-bar ranges, size, frame-rate, sample-rate and channel
// lists, and which General page it has. One generic builder (editorbuilder.h) turns a definition
// into an editor model.
#include "lang/strings.h"
#include "profiles/valuelists.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// One entry of a video size list; the list ends in "..." (any other size) on its own.
struct TSizePreset {
    int Width = 0;
    int Height = 0;
    const char* Note = nullptr;             // fixed text in parentheses ("VCD NTSC")
    std::optional<Ids> Name = std::nullopt; // translated text in parentheses ("Apple iPod")
};

struct TSizeList {
    const char* Separator = "x"; // between width and height in the entry text
    std::vector<TSizePreset> Presets;
};

// The track-bar range an audio page gets for a sample rate.
struct TRateRange {
    int Rate = 0;
    int Min = 1;
    int Max = 1;
};

// A video codec page built from the page template.
struct TVideoPageDef {
    QString Page;       // the page's own name (TabSheetDivX)
    QString Suffix;     // control name suffix (DivX)
    QString Key;        // key suffix (DivX)
    Ids Text;           // list text and heading
    bool Listed = true; // has an entry in the video codec list (listed pages come first)
    const std::vector<int>* Bitrates = nullptr;
    int TrackMax = 0;                 // track bar range 1..TrackMax at creation
    const TSizeList* Sizes = nullptr; // nullptr: the H263 page (three fixed sizes, five aspects)
    const QStringList* FrameRates = nullptr;
    bool EvenSize = true;  // odd widths and heights become even when the field is left
    QString HeadingSuffix; // suffix of the heading and its line when it differs from Suffix
    int MaxSize = 1600;    // the largest width and height the size fields take
    // Modern codecs: the constant-quality values (CRF) from the worst to the best, shown on a
    // track bar beside the bitrate, and the encoder speed list. nullptr for the classic codecs.
    const std::vector<int>* Qualities = nullptr;
};

// What a modern audio page offers besides channels, sample rate and bitrate.
enum class TAudioExtra {
    None,
    Quality,     // a quality level in place of the bitrate (Vorbis)
    Compression, // compression level and sample size (FLAC)
};

// An audio codec page. Pages without a bitrate table have only the channel and sample-rate rows.
struct TAudioPageDef {
    QString Page;
    QString Suffix;
    QString Key;
    Ids Text;
    bool Listed = true;
    const std::vector<int>* Bitrates = nullptr;
    int TrackMax = 0;
    const std::vector<int>* SampleRates = nullptr;
    int Channels = 2; // 1: mono only, 2: mono and stereo, 3: also 5.1 (with the AC3 channel rule)
    const std::vector<TRateRange>* Ranges = nullptr; // track-bar range by sample rate
    // Modern pages take their sample rates and channels from the shared value lists, where an
    // empty entry is "As source"; no sample rates: the codec has its own (Opus).
    bool Modern = false;
    TValueList ModernRates;
    TValueList ModernChannels;
    TAudioExtra Extra = TAudioExtra::None;
    std::optional<Ids> Hint = std::nullopt; // a line of explanation under the lists
};

// What the General page holds besides the time control group.
enum class TGeneralKind {
    Video, // video codec, same quality, audio codec, disable audio
    Mp4,   // Video plus the type list that chooses the AAC page
    Tgp,   // type list, Nokia and Sony codec lists, same quality, disable audio
    Mpeg, // preset formats, video codec, MPEG-1 and MPEG-2 audio lists, same quality, disable audio, DVD page
    Audio, // audio codec only
};

struct TEditorDef {
    int Format = 0;
    Ids Label;
    TGeneralKind General = TGeneralKind::Video;
    bool AacNames = false; // the AAC editor's own control names
    std::vector<TVideoPageDef> Video;
    std::vector<TAudioPageDef> Audio;
};

// The definition of a format's editor; nullptr for an unknown format.
const TEditorDef* EditorDef(int formatIndex);

// Shared tables, also used by the rules.
const std::vector<int>& StandardVideoBitrates();
const std::vector<int>& DvdAudioBitrates();
const std::vector<TRateRange>& Ac3Ranges();
QString SizeText(const TSizeList& list, const TSizePreset& preset);
