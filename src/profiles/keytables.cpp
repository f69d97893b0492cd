// The key tables of the profile formats: key names, kinds, defaults and the fields they
// fill, in the order the keys are written.
#include "profiles/keytable.h"
#include "profiles/profiles.h"

#include <span>
#include <type_traits>

namespace {

// The keys of a video group: prefix + codec suffix, in the usual order.
using TVideoField = std::variant<bool TVideoGroup::*, int32_t TVideoGroup::*, uint8_t TVideoGroup::*>;
struct TVideoKey {
    const char* Prefix;
    TVideoField Field;
};
const TVideoKey VideoKeys[] = {
    {"VideoBitRateUsePresert", &TVideoGroup::VideoBitRateUsePresert},
    {"VideoBitRatePreset", &TVideoGroup::VideoBitRatePreset},
    {"VideoBitRateSpecify", &TVideoGroup::VideoBitRateSpecify},
    {"VideoSizeUseSource", &TVideoGroup::VideoSizeUseSource},
    {"VideoWidth", &TVideoGroup::VideoWidth},
    {"VideoHeight", &TVideoGroup::VideoHeight},
    {"VideoKeepFrameRate", &TVideoGroup::VideoKeepFrameRate},
    {"VideoFrameRate", &TVideoGroup::VideoFrameRate},
    {"VideoAspect", &TVideoGroup::VideoAspect},
    {"VideoConstantQuality", &TVideoGroup::VideoConstantQuality},
    {"VideoQuality", &TVideoGroup::VideoQuality},
    {"VideoSpeed", &TVideoGroup::VideoSpeed},
};
// H.263 groups have no size-from-source key; the RM group writes its bit-rate keys in its own order;
// the modern codecs add constant quality and encoder speed.
constexpr int StandardVideoOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr int H263VideoOrder[] = {0, 1, 2, 4, 5, 6, 7, 8};
constexpr int RmVideoOrder[] = {1, 2, 0, 3, 4, 5, 6, 7, 8};
constexpr int ModernVideoOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

std::span<const int> VideoOrder(const QString& suffix) {
    if (suffix == QLatin1String("H263"))
        return H263VideoOrder;
    if (suffix == QLatin1String("Rm10"))
        return RmVideoOrder;
    return StandardVideoOrder;
}

using TAudioField = std::variant<bool TAudioGroup::*, int32_t TAudioGroup::*, uint8_t TAudioGroup::*>;
struct TAudioKey {
    const char* Prefix;
    TAudioField Field;
};
const TAudioKey AudioKeys[] = {
    {"AudioBitRateUseAutoSet", &TAudioGroup::AudioBitRateUseAutoSet},
    {"AudioBitRatePreset", &TAudioGroup::AudioBitRatePreset},
    {"AudioSampleRate", &TAudioGroup::AudioSampleRate},
    {"AudioChannels", &TAudioGroup::AudioChannels},
    {"AudioUseQuality", &TAudioGroup::AudioUseQuality},
    {"AudioQuality", &TAudioGroup::AudioQuality},
    {"AudioCompression", &TAudioGroup::AudioCompression},
    {"AudioBits", &TAudioGroup::AudioBits},
};
// PCM, A-law and ALAC groups have no bit-rate keys; Opus has no sample-rate key (it has its own
// rate); Vorbis adds its quality, FLAC its compression level and sample size.
constexpr int CodedAudioOrder[] = {0, 1, 2, 3};
constexpr int PcmAudioOrder[] = {2, 3};
constexpr int OpusAudioOrder[] = {0, 1, 3};
constexpr int VorbisAudioOrder[] = {0, 1, 4, 5, 2, 3};
constexpr int FlacAudioOrder[] = {6, 7, 2, 3};

std::span<const int> AudioOrder(const QString& suffix) {
    static const QStringList pcm = {QStringLiteral("Pcm16le"), QStringLiteral("Pcm16be"),
                                    QStringLiteral("Pcmu8"), QStringLiteral("Alaw"), QStringLiteral("Alac")};
    if (pcm.contains(suffix))
        return PcmAudioOrder;
    if (suffix == QLatin1String("Opus"))
        return OpusAudioOrder;
    if (suffix == QLatin1String("Vorbis"))
        return VorbisAudioOrder;
    if (suffix == QLatin1String("Flac"))
        return FlacAudioOrder;
    return CodedAudioOrder;
}

const QString ZeroTime = QStringLiteral("0:00:00.000");

// Collects the keys of one record type in file order.
template <class R> class TTableBuilder {
  public:
    template <class T, class C>
    TTableBuilder& Key(const char* name, T C::*member, std::type_identity_t<T> def) {
        static_assert(std::is_base_of_v<C, R>);
        m_table.push_back({QString::fromLatin1(name), [member](R& r) -> TFieldRef { return &(r.*member); },
                           TKeyValue(def)});
        return *this;
    }
    TTableBuilder& Description() {
        Key("Description", &TCommonSettings::Description, QString());
        m_table.back().DefaultIsNoDescription = true;
        return *this;
    }
    TTableBuilder& TimeControl() {
        return Key("EnableTimeControl", &TCommonSettings::EnableTimeControl, false)
            .Key("Duration", &TCommonSettings::Duration, ZeroTime)
            .Key("StartTime", &TCommonSettings::StartTime, ZeroTime);
    }
    // The four header keys of most video formats.
    TTableBuilder& VideoHeader(uint8_t videoCodec, uint8_t audioCodec) {
        return Key("VideoCodec", &TVideoHeader::VideoCodec, videoCodec)
            .Key("VideoSameQuality", &TVideoHeader::VideoSameQuality, false)
            .Key("AudioCodec", &TVideoHeader::AudioCodec, audioCodec)
            .Key("AudioDisableAudio", &TVideoHeader::AudioDisableAudio, false);
    }
    TTableBuilder& Video(const char* suffix, TVideoGroup R::*group, const TVideoGroup& def) {
        return Group(suffix, group, def, VideoKeys, VideoOrder(QString::fromLatin1(suffix)));
    }
    // A modern codec's group: the video keys, constant quality and encoder speed.
    TTableBuilder& ModernVideo(const char* suffix, TVideoGroup R::*group, const TVideoGroup& def) {
        return Group(suffix, group, def, VideoKeys, ModernVideoOrder);
    }
    TTableBuilder& Audio(const char* suffix, TAudioGroup R::*group, const TAudioGroup& def) {
        return Group(suffix, group, def, AudioKeys, AudioOrder(QString::fromLatin1(suffix)));
    }
    TKeyTable<R> Table() { return std::move(m_table); }

  private:
    template <class G, class K, std::size_t N>
    TTableBuilder& Group(const char* suffix, G R::*group, const G& def, const K (&keys)[N],
                         std::span<const int> order) {
        for (int i : order) {
            std::visit(
                [&](auto field) {
                    m_table.push_back({QString::fromLatin1(keys[i].Prefix) + QString::fromLatin1(suffix),
                                       [group, field](R& r) -> TFieldRef { return &((r.*group).*field); },
                                       TKeyValue(def.*field)});
                },
                keys[i].Field);
        }
        return *this;
    }

    TKeyTable<R> m_table;
};

// Group defaults shared by several formats.
constexpr TAudioGroup Pcm44100Stereo{false, 0, 6, 1};

// Modern video groups: the source's size and frame rate, a constant quality (CRF) and an encoder
// speed that converts a 1080p minute in a few minutes on two cores; 5000 kbit/s when the bit rate
// is chosen instead.
constexpr TVideoGroup ModernVideoDefaults(int32_t quality, uint8_t speed) {
    return {true, 5000, 5000, true, 1920, 1080, true, 7, 0, true, quality, speed};
}
// Encoder speeds by index in the speed list.
constexpr uint8_t Faster = 3, Fast = 4;
const TVideoGroup H264Modern = ModernVideoDefaults(23, Fast);
const TVideoGroup H265Modern = ModernVideoDefaults(28, Faster);
const TVideoGroup Av1Modern = ModernVideoDefaults(35, Faster);
const TVideoGroup Vp9Modern = ModernVideoDefaults(33, Faster);

// Modern audio groups keep the source's sample rate and channels (index 0).
constexpr TAudioGroup BitRateKept(int32_t kbps) {
    return {false, kbps, 0, 0};
}
constexpr TAudioGroup FlacDefaults{false, 0, 0, 0, false, 0, 5, 0};
constexpr TAudioGroup VorbisDefaults{false, 192, 0, 0, true, 5, 0, 0};
constexpr TAudioGroup LosslessKept{false, 0, 0, 0};

template <class R> struct TTag {};

TKeyTable<TAVISettings> BuildKeys(TTag<TAVISettings>) {
    using S = TAVISettings;
    const TVideoGroup video{true, 1080, 1080, true, 640, 480, true, 7, 0};
    const TVideoGroup h263{true, 1080, 1080, false, 352, 288, true, 7, 0};
    const TAudioGroup coded{false, 96, 0, 1};
    const TAudioGroup pcm{false, 0, 3, 1};
    return TTableBuilder<S>()
        .Description()
        .TimeControl()
        .VideoHeader(0, 1)
        .Video("DivX", &S::DivX, video)
        .Video("XviD", &S::XviD, video)
        .Video("MsMPEG4", &S::MsMPEG4, video)
        .Video("MsMPEG4v2", &S::MsMPEG4v2, video)
        .Video("H263", &S::H263, h263)
        .Video("H263P", &S::H263P, video)
        .Video("H264", &S::H264, video)
        .Video("DV", &S::DV, video)
        .Video("huffYUV", &S::huffYUV, video)
        .Video("Mjpeg", &S::Mjpeg, video)
        .Video("MPEG1", &S::MPEG1, video)
        .Video("MPEG2", &S::MPEG2, video)
        .Video("Svq1", &S::Svq1, video)
        .Video("Flv", &S::Flv, video)
        .Audio("AC3", &S::AC3, coded)
        .Audio("Mp2", &S::Mp2, coded)
        .Audio("Mp3", &S::Mp3, coded)
        .Audio("Pcm16le", &S::Pcm16le, pcm)
        .Audio("Pcmu8", &S::Pcmu8, pcm)
        .Table();
}

TKeyTable<TMP4Settings> BuildKeys(TTag<TMP4Settings>) {
    using S = TMP4Settings;
    const TVideoGroup video{true, 1200, 1200, false, 320, 240, true, 7, 0};
    return TTableBuilder<S>()
        .Description()
        .Key("Format", &S::Format, 3)
        .TimeControl()
        .VideoHeader(0, 0)
        .Video("DivX", &S::DivX, video)
        .Video("XviD", &S::XviD, video)
        .Video("H264", &S::H264, video)
        .Audio("AACMP4", &S::AACMP4, {false, 64, 3, 1})
        .Audio("AACPsp", &S::AACPsp, {false, 64, 0, 1})
        .ModernVideo("H265", &S::H265, H265Modern)
        .Table();
}

TKeyTable<TTGPSettings> BuildKeys(TTag<TTGPSettings>) {
    using S = TTGPSettings;
    return TTableBuilder<S>()
        .Description()
        .Key("TGPFormat", &S::TGPFormat, 0)
        .TimeControl()
        .Key("VideoCodecNokia", &S::VideoCodecNokia, 0)
        .Key("VideoCodecSony", &S::VideoCodecSony, 0)
        .Key("VideoSameQuality", &S::VideoSameQuality, false)
        .Key("AudioCodecNokia", &S::AudioCodecNokia, 0)
        .Key("AudioCodecSony", &S::AudioCodecSony, 0)
        .Key("AudioDisableAudio", &S::AudioDisableAudio, false)
        .Video("DivX", &S::DivX, {true, 144, 144, false, 176, 144, true, 7, 0})
        .Video("XviD", &S::XviD, {true, 96, 96, false, 176, 144, true, 7, 0})
        .Video("H263", &S::H263, {true, 144, 144, false, 176, 144, true, 1, 0})
        .Audio("AACMP4", &S::AACMP4, {false, 56, 3, 1})
        .Audio("Armnb", &S::Armnb, {false, 13, 0, 0})
        .Audio("Armwb", &S::Armwb, {false, 13, 0, 0})
        .Table();
}

TKeyTable<TMPEGSettings> BuildKeys(TTag<TMPEGSettings>) {
    using S = TMPEGSettings;
    return TTableBuilder<S>()
        .Description()
        .Key("TargetFormat", &S::TargetFormat, 0)
        .Key("PresetType", &S::PresetType, 0)
        .Key("UsePresetFormats", &S::UsePresetFormats, false)
        .TimeControl()
        .Key("VideoCodec", &S::VideoCodec, 1)
        .Key("VideoSameQuality", &S::VideoSameQuality, false)
        .Key("AudioCodecMPEG1", &S::AudioCodecMPEG1, 0)
        .Key("AudioCodecMPEG2", &S::AudioCodecMPEG2, 0)
        .Key("AudioDisableAudio", &S::AudioDisableAudio, false)
        .Video("MPEG1", &S::MPEG1, {true, 1152, 1152, true, 640, 480, true, 7, 0})
        .Video("MPEG2", &S::MPEG2, {true, 2496, 2496, true, 640, 480, true, 8, 0})
        .Audio("AC3", &S::AC3, {false, 256, 3, 1})
        .Audio("Mp2", &S::Mp2, {false, 160, 2, 1})
        .Audio("Mp3", &S::Mp3, {false, 160, 2, 1})
        .Key("DVDVideoBitRateUsePresert", &S::DVDVideoBitRateUsePresert, true)
        .Key("DVDVideoBitRatePreset", &S::DVDVideoBitRatePreset, 6000)
        .Key("DVDVideoBitRateSpecify", &S::DVDVideoBitRateSpecify, 6000)
        .Key("DVDVideoKeepAspect", &S::DVDVideoKeepAspect, true)
        .Key("DVDVideoAspect", &S::DVDVideoAspect, 1)
        .Key("DVDAudioBitRateUseAutoSet", &S::DVDAudioBitRateUseAutoSet, false)
        .Key("DVDAudioBitRatePreset", &S::DVDAudioBitRatePreset, 384)
        .Table();
}

TKeyTable<TMovSettings> BuildKeys(TTag<TMovSettings>) {
    using S = TMovSettings;
    const TVideoGroup video{true, 1200, 1200, true, 640, 480, true, 7, 0};
    return TTableBuilder<S>()
        .Description()
        .TimeControl()
        .VideoHeader(4, 0)
        .Video("DivX", &S::DivX, video)
        .Video("XviD", &S::XviD, video)
        .Video("H263", &S::H263, {true, 1200, 1200, false, 352, 288, true, 7, 0})
        .Video("H264", &S::H264, video)
        .Video("Svq1", &S::Svq1, video)
        .Audio("AACMP4", &S::AACMP4, {false, 64, 3, 1})
        .Audio("Alaw", &S::Alaw, {false, 0, 3, 1})
        .Audio("Armnb", &S::Armnb, {false, 8, 0, 0})
        .Audio("Pcm16le", &S::Pcm16le, {false, 0, 3, 1})
        .Audio("Pcm16be", &S::Pcm16be, {false, 0, 3, 1})
        .ModernVideo("H265", &S::H265, H265Modern)
        .Table();
}

TKeyTable<TWmvSettings> BuildKeys(TTag<TWmvSettings>) {
    using S = TWmvSettings;
    const TVideoGroup video{true, 768, 768, true, 640, 480, true, 7, 0};
    return TTableBuilder<S>()
        .Description()
        .TimeControl()
        .VideoHeader(3, 0)
        .Video("MsMPEG4", &S::MsMPEG4, video)
        .Video("MsMPEG4v2", &S::MsMPEG4v2, video)
        .Video("Wmv7", &S::Wmv7, video)
        .Video("Wmv8", &S::Wmv8, video)
        .Audio("Mp3", &S::Mp3, {true, 64, 0, 1})
        .Table();
}

TKeyTable<TRmSettings> BuildKeys(TTag<TRmSettings>) {
    using S = TRmSettings;
    return TTableBuilder<S>()
        .Description()
        .TimeControl()
        .Key("AudioCodec", &S::AudioCodec, 0)
        .Key("AudioDisableAudio", &S::AudioDisableAudio, false)
        .Key("VideoCodec", &S::VideoCodec, 0)
        .Key("VideoSameQuality", &S::VideoSameQuality, false)
        .Video("Rm10", &S::Rm10, {true, 768, 768, true, 320, 240, true, 7, 0})
        .Audio("AC3", &S::AC3, {false, 256, 3, 1})
        .Table();
}

TKeyTable<TSwfSettings> BuildKeys(TTag<TSwfSettings>) {
    using S = TSwfSettings;
    return TTableBuilder<S>()
        .Description()
        .TimeControl()
        .VideoHeader(0, 0)
        .Video("Flv", &S::Flv, {true, 768, 768, true, 640, 480, true, 7, 0})
        .Audio("Mp3", &S::Mp3, {true, 64, 1, 1})
        .Table();
}

TKeyTable<TVobSettings> BuildKeys(TTag<TVobSettings>) {
    using S = TVobSettings;
    return TTableBuilder<S>()
        .Description()
        .TimeControl()
        .VideoHeader(0, 1)
        .Video("MPEG2", &S::MPEG2, {true, 6000, 6000, false, 720, 576, true, 3, 0})
        .Audio("AC3", &S::AC3, {false, 384, 3, 1})
        .Audio("Mp2", &S::Mp2, {false, 320, 3, 1})
        .Table();
}

TKeyTable<TAsfSettings> BuildKeys(TTag<TAsfSettings>) {
    using S = TAsfSettings;
    const TVideoGroup video{true, 768, 768, true, 640, 480, true, 7, 0};
    return TTableBuilder<S>()
        .Description()
        .TimeControl()
        .VideoHeader(0, 0)
        .Video("MsMPEG4", &S::MsMPEG4, video)
        .Video("MsMPEG4v2", &S::MsMPEG4v2, video)
        .Audio("Mp3", &S::Mp3, {false, 64, 0, 1})
        .Table();
}

// The audio formats: the common keys, AudioCodec (default 0) and their groups.
template <class S> TTableBuilder<S> AudioFormat() {
    TTableBuilder<S> builder;
    builder.Description().TimeControl().Key("AudioCodec", &TAudioHeader::AudioCodec, 0);
    return builder;
}

TKeyTable<TAacSettings> BuildKeys(TTag<TAacSettings>) {
    return AudioFormat<TAacSettings>().Audio("AACMP4", &TAacSettings::AACMP4, {false, 128, 6, 1}).Table();
}

TKeyTable<TAc3Settings> BuildKeys(TTag<TAc3Settings>) {
    return AudioFormat<TAc3Settings>().Audio("AC3", &TAc3Settings::AC3, {false, 384, 3, 1}).Table();
}

TKeyTable<TMp2Settings> BuildKeys(TTag<TMp2Settings>) {
    return AudioFormat<TMp2Settings>().Audio("Mp2", &TMp2Settings::Mp2, {false, 160, 2, 1}).Table();
}

TKeyTable<TMp3Settings> BuildKeys(TTag<TMp3Settings>) {
    return AudioFormat<TMp3Settings>().Audio("Mp3", &TMp3Settings::Mp3, {false, 128, 2, 1}).Table();
}

TKeyTable<TAmrSettings> BuildKeys(TTag<TAmrSettings>) {
    return AudioFormat<TAmrSettings>()
        .Audio("Armnb", &TAmrSettings::Armnb, {false, 13, 0, 0})
        .Audio("Armwb", &TAmrSettings::Armwb, {false, 13, 0, 0})
        .Table();
}

TKeyTable<TWavSettings> BuildKeys(TTag<TWavSettings>) {
    return AudioFormat<TWavSettings>()
        .Audio("Pcm16le", &TWavSettings::Pcm16le, Pcm44100Stereo)
        .Audio("Pcmu8", &TWavSettings::Pcmu8, Pcm44100Stereo)
        .Table();
}

TKeyTable<TMkvSettings> BuildKeys(TTag<TMkvSettings>) {
    using S = TMkvSettings;
    return TTableBuilder<S>()
        .Description()
        .TimeControl()
        .VideoHeader(0, 0)
        .ModernVideo("H264", &S::H264, H264Modern)
        .ModernVideo("H265", &S::H265, H265Modern)
        .ModernVideo("AV1", &S::AV1, Av1Modern)
        .ModernVideo("VP9", &S::VP9, Vp9Modern)
        .Audio("AAC", &S::AAC, BitRateKept(192))
        .Audio("Opus", &S::Opus, BitRateKept(128))
        .Audio("Flac", &S::Flac, FlacDefaults)
        .Audio("AC3", &S::AC3, BitRateKept(384))
        .Audio("Mp3", &S::Mp3, BitRateKept(192))
        .Table();
}

TKeyTable<TWebmSettings> BuildKeys(TTag<TWebmSettings>) {
    using S = TWebmSettings;
    return TTableBuilder<S>()
        .Description()
        .TimeControl()
        .VideoHeader(0, 0)
        .ModernVideo("VP9", &S::VP9, Vp9Modern)
        .ModernVideo("AV1", &S::AV1, Av1Modern)
        .Audio("Opus", &S::Opus, BitRateKept(128))
        .Audio("Vorbis", &S::Vorbis, VorbisDefaults)
        .Table();
}

TKeyTable<TM4aSettings> BuildKeys(TTag<TM4aSettings>) {
    return AudioFormat<TM4aSettings>()
        .Audio("AAC", &TM4aSettings::AAC, BitRateKept(192))
        .Audio("Alac", &TM4aSettings::Alac, LosslessKept)
        .Table();
}

TKeyTable<TFlacSettings> BuildKeys(TTag<TFlacSettings>) {
    return AudioFormat<TFlacSettings>().Audio("Flac", &TFlacSettings::Flac, FlacDefaults).Table();
}

TKeyTable<TOpusSettings> BuildKeys(TTag<TOpusSettings>) {
    return AudioFormat<TOpusSettings>().Audio("Opus", &TOpusSettings::Opus, BitRateKept(128)).Table();
}

TKeyTable<TOggSettings> BuildKeys(TTag<TOggSettings>) {
    return AudioFormat<TOggSettings>().Audio("Vorbis", &TOggSettings::Vorbis, VorbisDefaults).Table();
}

} // namespace

template <class R> const TKeyTable<R>& KeyTable() {
    static const TKeyTable<R> table = BuildKeys(TTag<R>());
    return table;
}

#define VARID_INSTANTIATE_KEY_TABLE(W) template const TKeyTable<T##W##Settings>& KeyTable<T##W##Settings>();
VARID_PROFILE_FORMATS(VARID_INSTANTIATE_KEY_TABLE)
