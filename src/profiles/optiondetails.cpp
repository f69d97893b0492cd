// The options builders. Each format is a codec table per key (codec name, key group, style)
// over the common frames below; the value tables and group fragments are in optionfragments.cpp.
#include "profiles/optiondetails.h"

#include "app/options.h"
#include "profiles/catalogue.h"
#include "profiles/keytable.h"
#include "profiles/optionfragments.h"
#include "profiles/profiles.h"

namespace {

template <class R> struct TVideoCodec {
    const char* Name;
    TVideoGroup R::*Group;
    const TVideoStyle* Style;
};

template <class R> struct TAudioCodec {
    const char* Name; // nullptr: the codec is the container's own, no codec option
    TAudioGroup R::*Group;
    const TAudioStyle* Style;
};

// The entry of a codec key, or nullptr (no fragments at all) when the value is outside the table.
template <class C, std::size_t N> const C* Choose(const C (&table)[N], int value) {
    return value >= 0 && value < static_cast<int>(N) ? &table[value] : nullptr;
}

template <class R> QString VideoPart(const R& s, const TVideoCodec<R>* codec) {
    if (!codec)
        return {};
    return QStringLiteral("-vcodec ") + QLatin1String(codec->Name) + QLatin1Char(' ') +
           VideoGroupOptions(s.*(codec->Group), *codec->Style);
}

template <class R> QString AudioPart(const R& s, const TAudioCodec<R>* codec) {
    if (!codec)
        return {};
    QString text;
    if (codec->Name)
        text = QStringLiteral("-acodec ") + QLatin1String(codec->Name) + QLatin1Char(' ');
    return text + AudioGroupOptions(s.*(codec->Group), *codec->Style);
}

// "-sameq ", the video part, then "-an " or the audio part.
template <class R>
QString VideoAndAudio(const R& s, const TVideoCodec<R>* video, const TAudioCodec<R>* audio) {
    QString text;
    if (s.VideoSameQuality)
        text += QStringLiteral("-sameq ");
    text += VideoPart(s, video);
    text += s.AudioDisableAudio ? QStringLiteral("-an ") : AudioPart(s, audio);
    return text;
}

// The frame of the video formats: opening, time window, then video and audio.
template <class R>
QString VideoFormat(const R& s, const QString& opening, const TVideoCodec<R>* video,
                    const TAudioCodec<R>* audio) {
    return opening + TimeWindow(s) + VideoAndAudio(s, video, audio);
}

// The frame of the audio formats: opening, time window, "-vn ", then the audio part.
template <class R> QString AudioFormat(const R& s, const char* opening, const TAudioCodec<R>* audio) {
    return QLatin1String(opening) + TimeWindow(s) + QStringLiteral("-vn ") + AudioPart(s, audio);
}

using AVI = TAVISettings;
const TVideoCodec<AVI> AviVideo[] = {
    {"msmpeg4", &AVI::DivX, &StandardVideo},    {"xvid", &AVI::XviD, &StandardVideo},
    {"msmpeg4", &AVI::MsMPEG4, &StandardVideo}, {"msmpeg4v2", &AVI::MsMPEG4v2, &StandardVideo},
    {"h263", &AVI::H263, &H263Video},           {"h263p", &AVI::H263P, &StandardVideo},
    {"h264", &AVI::H264, &StandardVideo},       {"ffvhuff", &AVI::huffYUV, &StandardVideo},
    {"mjpeg", &AVI::Mjpeg, &StandardVideo},     {"svq1", &AVI::Svq1, &StandardVideo},
    {"flv", &AVI::Flv, &StandardVideo},
};
const TAudioCodec<AVI> AviAudio[] = {
    {"mp2", &AVI::Mp2, &MpegAudio4},         {"mp3", &AVI::Mp3, &MpegAudio4},
    {"pcm_s16le", &AVI::Pcm16le, &PcmAudio}, {"pcm_u8", &AVI::Pcmu8, &PcmAudio},
    {"ac3", &AVI::AC3, &Ac3Audio},
};

using MP4 = TMP4Settings;
const char* const Mp4Containers[] = {"mp4", "psp", "mp4", "mp4"}; // iPod, PSP, mobile, MP4
constexpr int Mp4PspFormat = 1;
const TVideoCodec<MP4> Mp4Video[] = {{"h264", &MP4::H264, &StandardVideo},
                                     {"hevc", &MP4::H265, &ModernVideo}};
const TAudioCodec<MP4> Mp4Audio[] = {{"aac", &MP4::AACMP4, &AacAudio8}};
const TAudioCodec<MP4> PspAudio[] = {{"aac", &MP4::AACPsp, &AacPspAudio}};

using TGP = TTGPSettings;
const TVideoCodec<TGP> NokiaVideo[] = {{"h263", &TGP::H263, &TgpH263Video},
                                       {"msmpeg4", &TGP::DivX, &TgpVideo}};
const TVideoCodec<TGP> SonyVideo[] = {{"msmpeg4", &TGP::DivX, &TgpVideo}, {"xvid", &TGP::XviD, &TgpVideo}};
const TAudioCodec<TGP> NokiaAudio[] = {{"amr_nb", &TGP::Armnb, &AmrNbAudio},
                                       {"amr_wb", &TGP::Armwb, &AmrWbAudio},
                                       {"aac", &TGP::AACMP4, &AacAudio8}};
const TAudioCodec<TGP> SonyAudio[] = {{"aac", &TGP::AACMP4, &AacAudio8}};

using MPEG = TMPEGSettings;
const TVideoCodec<MPEG> MpegVideo[] = {{"mpeg1video", &MPEG::MPEG1, &StandardVideo},
                                       {"mpeg2video", &MPEG::MPEG2, &StandardVideo}};
constexpr int MpegVideoMPEG2 = 1;
const TAudioCodec<MPEG> Mpeg1Audio[] = {{"mp2", &MPEG::Mp2, &MpegAudio4}, {"mp3", &MPEG::Mp3, &MpegAudio4}};
const TAudioCodec<MPEG> Mpeg2Audio[] = {
    {"ac3", &MPEG::AC3, &Ac3Audio}, {"mp2", &MPEG::Mp2, &MpegAudio4}, {"mp3", &MPEG::Mp3, &MpegAudio4}};
// Disc presets by PresetType, each by TargetFormat (Auto, NTSC, PAL).
const char* const VcdTargets[] = {"film-vcd", "ntsc-vcd", "pal-vcd"};
const char* const SvcdTargets[] = {"film-svcd", "ntsc-svcd", "pal-svcd"};
const char* const DvdTargets[] = {"film-dvd", "ntsc-dvd", "pal-dvd"};
const char* const DvdAspects[] = {"1:1", "4:3", "16:9"};
enum TMpegPreset { Vcd = 0, Svcd = 1, Dvd = 2 };

QString MpegDiscPreset(const MPEG& s) {
    switch (s.PresetType) {
    case Vcd:
        return ListFragment("-target", VcdTargets, s.TargetFormat);
    case Svcd:
        return ListFragment("-target", SvcdTargets, s.TargetFormat);
    case Dvd: {
        QString text = ListFragment("-target", DvdTargets, s.TargetFormat);
        const int32_t rate = s.DVDVideoBitRateUsePresert ? s.DVDVideoBitRatePreset : s.DVDVideoBitRateSpecify;
        text += QStringLiteral("-b ") + Number(rate) + QStringLiteral("k ");
        if (!s.DVDVideoKeepAspect)
            text += ListFragment("-aspect", DvdAspects, s.DVDVideoAspect);
        if (!s.DVDAudioBitRateUseAutoSet)
            text += QStringLiteral("-ab ") + Number(s.DVDAudioBitRatePreset) + QLatin1Char(' ');
        return text;
    }
    default:
        return {};
    }
}

using MOV = TMovSettings;
const TVideoCodec<MOV> MovVideo[] = {
    {"svq1", &MOV::Svq1, &StandardVideo}, {"msmpeg4", &MOV::DivX, &StandardVideo},
    {"xvid", &MOV::XviD, &StandardVideo}, {"h263", &MOV::H263, &NoAspectH263Video},
    {"h264", &MOV::H264, &NoAspectVideo}, {"hevc", &MOV::H265, &ModernVideo},
};
const TAudioCodec<MOV> MovAudio[] = {
    {nullptr, &MOV::AACMP4, &AacAudio8},     {"pcm_alaw", &MOV::Alaw, &PcmAudio},
    {"amr_nb", &MOV::Armnb, &AmrNbAudio},    {"pcm_s16le", &MOV::Pcm16le, &PcmAudio},
    {"pcm_s16be", &MOV::Pcm16be, &PcmAudio},
};

using WMV = TWmvSettings;
const TVideoCodec<WMV> WmvVideo[] = {
    {"msmpeg4", &WMV::MsMPEG4, &StandardVideo},
    {"msmpeg4v2", &WMV::MsMPEG4v2, &StandardVideo},
    {"wmv1", &WMV::Wmv7, &StandardVideo},
    {"wmv2", &WMV::Wmv8, &StandardVideo},
};
const TAudioCodec<WMV> WmvAudio[] = {{"mp3", &WMV::Mp3, &MpegAudio4}};

using RM = TRmSettings;
const TVideoCodec<RM> RmVideo10[] = {{"rv10", &RM::Rm10, &RmVideo}};
const TAudioCodec<RM> RmAudio[] = {{"ac3", &RM::AC3, &Ac3Audio}};

using SWF = TSwfSettings;
const TVideoCodec<SWF> SwfVideo[] = {{"flv", &SWF::Flv, &StandardVideo}};
const TAudioCodec<SWF> SwfAudio[] = {{"mp3", &SWF::Mp3, &SwfMp3Audio}};

using VOB = TVobSettings;
const TVideoCodec<VOB> VobVideo2[] = {{"mpeg2video", &VOB::MPEG2, &VobVideo}};
const TAudioCodec<VOB> VobAudio[] = {{"mp2", &VOB::Mp2, &MpegAudio4}, {"ac3", &VOB::AC3, &Ac3Audio}};

using ASF = TAsfSettings;
const TVideoCodec<ASF> AsfVideo[] = {{"msmpeg4", &ASF::MsMPEG4, &StandardVideo},
                                     {"msmpeg4v2", &ASF::MsMPEG4v2, &StandardVideo}};
const TAudioCodec<ASF> AsfAudio[] = {{"mp3", &ASF::Mp3, &MpegAudio4}};

const TAudioCodec<TAacSettings> AacAudio[] = {{"aac", &TAacSettings::AACMP4, &AacAudio8}};
const TAudioCodec<TAc3Settings> Ac3FormatAudio[] = {{"ac3", &TAc3Settings::AC3, &Ac3Audio}};
const TAudioCodec<TMp2Settings> Mp2Audio[] = {{"mp2", &TMp2Settings::Mp2, &MpegAudio4}};
const TAudioCodec<TMp3Settings> Mp3Audio[] = {{"mp3", &TMp3Settings::Mp3, &MpegAudio4}};
const TAudioCodec<TAmrSettings> AmrAudio[] = {{"amr_nb", &TAmrSettings::Armnb, &AmrNbAudio},
                                              {"amr_wb", &TAmrSettings::Armwb, &AmrWbAudio}};
const TAudioCodec<TWavSettings> WavAudio[] = {{"pcm_s16le", &TWavSettings::Pcm16le, &PcmAudio},
                                              {"pcm_u8", &TWavSettings::Pcmu8, &PcmAudio}};

using MKV = TMkvSettings;
const TVideoCodec<MKV> MkvVideo[] = {
    {"h264", &MKV::H264, &ModernVideo},
    {"hevc", &MKV::H265, &ModernVideo},
    {"av1", &MKV::AV1, &ModernVideo},
    {"vp9", &MKV::VP9, &ModernVideo},
};
const TAudioCodec<MKV> MkvAudio[] = {
    {"aac", &MKV::AAC, &ModernAacAudio}, {"opus", &MKV::Opus, &OpusAudio},
    {"flac", &MKV::Flac, &FlacAudio},    {"ac3", &MKV::AC3, &ModernAc3Audio},
    {"mp3", &MKV::Mp3, &ModernMp3Audio},
};

using WEBM = TWebmSettings;
const TVideoCodec<WEBM> WebmVideo[] = {{"vp9", &WEBM::VP9, &ModernVideo}, {"av1", &WEBM::AV1, &ModernVideo}};
const TAudioCodec<WEBM> WebmAudio[] = {{"opus", &WEBM::Opus, &OpusAudio},
                                       {"vorbis", &WEBM::Vorbis, &VorbisAudio}};

const TAudioCodec<TM4aSettings> M4aAudio[] = {{"aac", &TM4aSettings::AAC, &ModernAacAudio},
                                              {"alac", &TM4aSettings::Alac, &AlacAudio}};
const TAudioCodec<TFlacSettings> FlacFormatAudio[] = {{"flac", &TFlacSettings::Flac, &FlacAudio}};
const TAudioCodec<TOpusSettings> OpusFormatAudio[] = {{"opus", &TOpusSettings::Opus, &OpusAudio}};
const TAudioCodec<TOggSettings> OggAudio[] = {{"vorbis", &TOggSettings::Vorbis, &VorbisAudio}};

} // namespace

QString BuildOptions(const TAVISettings& s) {
    return VideoFormat(s, QStringLiteral("-y -f avi "), Choose(AviVideo, s.VideoCodec),
                       Choose(AviAudio, s.AudioCodec));
}

QString BuildOptions(const TMP4Settings& s) {
    const QString opening = QStringLiteral("-y ") + ListFragment("-f", Mp4Containers, s.Format);
    const auto& audio = s.Format == Mp4PspFormat ? PspAudio : Mp4Audio;
    return VideoFormat(s, opening, Choose(Mp4Video, s.VideoCodec), Choose(audio, s.AudioCodec));
}

QString BuildOptions(const TTGPSettings& s) {
    // The Nokia codec keys serve the first form, the Sony ones the other two.
    const bool nokia = s.TGPFormat == 0;
    const auto* video = nokia ? Choose(NokiaVideo, s.VideoCodecNokia) : Choose(SonyVideo, s.VideoCodecSony);
    const auto* audio = nokia ? Choose(NokiaAudio, s.AudioCodecNokia) : Choose(SonyAudio, s.AudioCodecSony);
    return VideoFormat(s, QStringLiteral("-y -f 3gp "), video, audio);
}

QString BuildOptions(const TMPEGSettings& s) {
    // A disc preset is complete by itself: no "-y", no codec options.
    if (s.UsePresetFormats)
        return TimeWindow(s) + MpegDiscPreset(s);
    const auto* audio = s.VideoCodec == MpegVideoMPEG2 ? Choose(Mpeg2Audio, s.AudioCodecMPEG2)
                                                       : Choose(Mpeg1Audio, s.AudioCodecMPEG1);
    return TimeWindow(s) + QStringLiteral("-y ") + VideoAndAudio(s, Choose(MpegVideo, s.VideoCodec), audio);
}

QString BuildOptions(const TMovSettings& s) {
    return VideoFormat(s, QStringLiteral("-y -f mov "), Choose(MovVideo, s.VideoCodec),
                       Choose(MovAudio, s.AudioCodec));
}

QString BuildOptions(const TWmvSettings& s) {
    return VideoFormat(s, QStringLiteral("-y "), Choose(WmvVideo, s.VideoCodec),
                       Choose(WmvAudio, s.AudioCodec));
}

QString BuildOptions(const TRmSettings& s) {
    return VideoFormat(s, QStringLiteral("-y -f rm "), Choose(RmVideo10, s.VideoCodec),
                       Choose(RmAudio, s.AudioCodec));
}

QString BuildOptions(const TSwfSettings& s) {
    return VideoFormat(s, QStringLiteral("-y "), Choose(SwfVideo, s.VideoCodec),
                       Choose(SwfAudio, s.AudioCodec));
}

QString BuildOptions(const TVobSettings& s) {
    return VideoFormat(s, QStringLiteral("-y -f vob "), Choose(VobVideo2, s.VideoCodec),
                       Choose(VobAudio, s.AudioCodec));
}

QString BuildOptions(const TAsfSettings& s) {
    return VideoFormat(s, QStringLiteral("-y -f asf "), Choose(AsfVideo, s.VideoCodec),
                       Choose(AsfAudio, s.AudioCodec));
}

QString BuildOptions(const TAacSettings& s) {
    return AudioFormat(s, "-y -f aac ", Choose(AacAudio, s.AudioCodec));
}

QString BuildOptions(const TAc3Settings& s) {
    return AudioFormat(s, "-y -f ac3 ", Choose(Ac3FormatAudio, s.AudioCodec));
}

QString BuildOptions(const TMp2Settings& s) {
    return AudioFormat(s, "-y -f mp2 ", Choose(Mp2Audio, s.AudioCodec));
}

QString BuildOptions(const TMp3Settings& s) {
    return AudioFormat(s, "-y -f mp3 ", Choose(Mp3Audio, s.AudioCodec));
}

QString BuildOptions(const TAmrSettings& s) {
    return AudioFormat(s, "-y -f amr ", Choose(AmrAudio, s.AudioCodec));
}

QString BuildOptions(const TWavSettings& s) {
    return AudioFormat(s, "-y -f wav ", Choose(WavAudio, s.AudioCodec));
}

QString BuildOptions(const TMkvSettings& s) {
    return VideoFormat(s, QStringLiteral("-y -f matroska "), Choose(MkvVideo, s.VideoCodec),
                       Choose(MkvAudio, s.AudioCodec));
}

QString BuildOptions(const TWebmSettings& s) {
    return VideoFormat(s, QStringLiteral("-y -f webm "), Choose(WebmVideo, s.VideoCodec),
                       Choose(WebmAudio, s.AudioCodec));
}

// M4A is the MPEG-4 file of music players ("ipod" names its form).
QString BuildOptions(const TM4aSettings& s) {
    return AudioFormat(s, "-y -f ipod ", Choose(M4aAudio, s.AudioCodec));
}

QString BuildOptions(const TFlacSettings& s) {
    return AudioFormat(s, "-y -f flac ", Choose(FlacFormatAudio, s.AudioCodec));
}

QString BuildOptions(const TOpusSettings& s) {
    return AudioFormat(s, "-y -f opus ", Choose(OpusFormatAudio, s.AudioCodec));
}

QString BuildOptions(const TOggSettings& s) {
    return AudioFormat(s, "-y -f ogg ", Choose(OggAudio, s.AudioCodec));
}

// Each builder loads its profile into the current record and appends the record's options.
#define VARID_DEFINE_OPTION_DETAILS(W)                                                                       \
    void Get##W##OptionDetails(const QString& fileName, QString& text) {                                     \
        Load##W##Settings(fileName);                                                                         \
        text += BuildOptions(W##Settings);                                                                   \
    }
VARID_PROFILE_FORMATS(VARID_DEFINE_OPTION_DETAILS)

namespace {

using TGetOptionDetails = void (*)(const QString&, QString&);
#define VARID_OPTION_DETAILS_ENTRY(W) &Get##W##OptionDetails,
const TGetOptionDetails OptionDetailsByFormat[] = {VARID_PROFILE_FORMATS(VARID_OPTION_DETAILS_ENTRY)};

template <class R> QString OptionsOfDefaults() {
    R record;
    DefaultSettings(record);
    return BuildOptions(record);
}
#define VARID_DEFAULT_OPTIONS_ENTRY(W) &OptionsOfDefaults<T##W##Settings>,
QString (*const DefaultOptionsByFormat[])() = {VARID_PROFILE_FORMATS(VARID_DEFAULT_OPTIONS_ENTRY)};

static_assert(std::size(OptionDetailsByFormat) == FormatCount);

} // namespace

QString FormatOptionDetails(int formatIndex, const QString& fileName) {
    QString text;
    if (const TGetOptionDetails* get = Choose(OptionDetailsByFormat, formatIndex))
        (*get)(fileName, text);
    return text;
}

void GetOptionDetails(const QString& fileName, QString& text) {
    text = FormatOptionDetails(Options.OutputFormat, fileName);
}

QString GetProfileOptions(int formatIndex, const QString& profileName) {
    if (!FormatInfo(formatIndex))
        return {};
    return FormatOptionDetails(formatIndex, ProfileFileName(formatIndex, profileName));
}

QString GetDefaultOptions(int formatIndex) {
    if (auto* const* build = Choose(DefaultOptionsByFormat, formatIndex))
        return (*build)();
    return {};
}
