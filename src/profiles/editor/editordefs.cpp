// The data of the profile editors.
#include "profiles/editor/editordefs.h"

namespace {

// ---- Bitrate tables (kbps) ------------------------------------------------------------------

const std::vector<int> StandardVideo = {64,   128,  256,  512,  768,  1080, 1152,
                                        1200, 1500, 2496, 4600, 6000, 9600};
const std::vector<int> WindowsVideo = {64, 128, 256, 512, 768, 1080, 1152, 1200, 1500, 2496, 4600, 6000};
const std::vector<int> FlashVideo = {64, 128, 256, 512, 768, 1080, 1152, 1200, 1500, 2496, 3600};
const std::vector<int> DvdAudio = {64, 96, 112, 128, 128, 160, 192, 224, 256, 320};
const std::vector<int> Ac3Audio = {32, 48, 56, 64, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448};
const std::vector<int> Mp2Audio = {32, 48, 56, 64, 96, 112, 128, 160, 192, 224, 256, 320, 384};
const std::vector<int> Mp3Audio = {32, 48, 56, 64, 96, 112, 128, 160, 192, 224, 256, 320};
const std::vector<int> AacAudio = {24, 32, 48, 56, 64, 96, 112, 128, 160, 192, 224, 256};
const std::vector<int> AmrNbAudio = {8, 9, 10, 11, 12, 13};
const std::vector<int> AmrWbAudio = {7, 9, 13, 16, 18, 20, 24};
const std::vector<int> ModernVideo = {500,  1000, 1500,  2000,  2500,  3000,  4000, 5000,
                                      6000, 8000, 10000, 15000, 20000, 30000, 40000};
const std::vector<int> ModernAacAudio = {32, 48, 64, 96, 128, 160, 192, 224, 256, 320};
const std::vector<int> OpusAudio = {6, 8, 12, 16, 24, 32, 48, 64, 96, 128, 160, 192, 256, 320, 384, 448, 510};
const std::vector<int> VorbisAudio = {64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 500};

// A range of whole numbers, from first to last in that order.
std::vector<int> Steps(int first, int last) {
    std::vector<int> steps;
    for (int value = first; value != last; value += first < last ? 1 : -1)
        steps.push_back(value);
    steps.push_back(last);
    return steps;
}
// Constant quality (CRF) from the worst to the best: H.264 and H.265 count 51..0, AV1 and VP9 63..0.
const std::vector<int> CrfTo51 = Steps(51, 0);
const std::vector<int> CrfTo63 = Steps(63, 0);

// ---- Track-bar ranges by sample rate ----------------------------------------------------------

const std::vector<TRateRange> Mp2Ranges = {{22050, 1, 8}, {24000, 1, 8}, {44100, 1, 13}, {48000, 1, 13}};
// 11025 occurs only in the SWF editor's Mp3 list.
const std::vector<TRateRange> Mp3Ranges = {
    {11025, 1, 8}, {22050, 1, 8}, {24000, 1, 8}, {44100, 1, 12}, {48000, 1, 12}};
const std::vector<TRateRange> Ac3RangeTable = {
    {22050, 1, 12}, {24000, 1, 12}, {44100, 2, 14}, {48000, 2, 14}};
const std::vector<TRateRange> AacRanges = {{11025, 1, 5}, {12000, 1, 5},  {16000, 1, 6},  {22050, 1, 8},
                                           {24000, 1, 8}, {32000, 1, 10}, {44100, 1, 12}, {48000, 1, 12}};

// ---- Sample-rate, frame-rate and size lists -----------------------------------------------------

const std::vector<int> CodedRates = {22050, 24000, 44100, 48000};
const std::vector<int> WideRates = {11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
const std::vector<int> SwfMp3Rates = {11025, 22050, 44100};
const std::vector<int> PspRates = {48000};
const std::vector<int> AmrNbRates = {8000};
const std::vector<int> AmrWbRates = {16000};

const QStringList FrameRates = {QStringLiteral("10"), QStringLiteral("12"),    QStringLiteral("14.985"),
                                QStringLiteral("15"), QStringLiteral("19.98"), QStringLiteral("23.976"),
                                QStringLiteral("24"), QStringLiteral("25"),    QStringLiteral("29.97"),
                                QStringLiteral("30"), QStringLiteral("50"),    QStringLiteral("59.94"),
                                QStringLiteral("60")};
const QStringList VobFrameRates = FrameRates.mid(4);

const TSizeList StandardSizes = {"x",
                                 {{320, 240},
                                  {352, 240},
                                  {352, 288},
                                  {384, 288},
                                  {480, 480},
                                  {480, 576},
                                  {640, 368},
                                  {640, 480},
                                  {704, 480},
                                  {704, 576},
                                  {720, 480},
                                  {720, 576},
                                  {1280, 720}}};
const TSizeList RmSizes = {"x", {StandardSizes.Presets.begin(), StandardSizes.Presets.end() - 1}};
const TSizeList ModernSizes = {
    "x", {{640, 360}, {854, 480}, {1280, 720}, {1920, 1080}, {2560, 1440}, {3840, 2160}}};
const TSizeList PortableSizes = {"x",
                                 {{176, 120},
                                  {176, 144, nullptr, Ids::IDS_PROFILE_CHECKBOX_MobileMovie},
                                  {240, 176},
                                  {320, 176},
                                  {320, 240, nullptr, Ids::IDS_PROFILE_CHECKBOX_AppleiPod},
                                  {368, 208, nullptr, Ids::IDS_PROFILE_GROUPBOX_Type_FullScreen},
                                  {384, 160},
                                  {400, 192},
                                  {416, 176},
                                  {480, 160},
                                  {480, 272}}};
const TSizeList MobileSizes = {"x", {{128, 96}, {176, 144}, {220, 176}, {240, 192}, {320, 240}, {352, 288}}};
const TSizeList MpegSizes = {" x ",
                             {{80, 60},
                              {96, 72},
                              {128, 96},
                              {160, 320},
                              {176, 120},
                              {176, 144},
                              {192, 144},
                              {240, 180},
                              {320, 200},
                              {320, 240},
                              {352, 240, "VCD NTSC"},
                              {352, 288, "VCD PAL"},
                              {480, 480, "SVCD NTSC"},
                              {480, 576, "SVCD PAL"},
                              {720, 480, "DVD NTSC"},
                              {720, 576, "DVD PAL"}}};

// ---- Page factories ---------------------------------------------------------------------------

// The shared parts of a family of video pages.
struct TVideoFamily {
    const std::vector<int>* Bitrates;
    int TrackMax;
    const TSizeList* Sizes;
    const QStringList* FrameRates;
    bool EvenSize = true;
    int MaxSize = 1600;
    const std::vector<int>* Qualities = nullptr;
};
const TVideoFamily Standard = {&StandardVideo, 13, &StandardSizes, &FrameRates};
const TVideoFamily Portable = {&StandardVideo, 13, &PortableSizes, &FrameRates};
const TVideoFamily Mobile = {&StandardVideo, 10, &MobileSizes, &FrameRates};
const TVideoFamily MobileH263 = {&StandardVideo, 10, nullptr, &FrameRates};
const TVideoFamily StandardH263 = {&StandardVideo, 13, nullptr, &FrameRates};
const TVideoFamily Mpeg = {&StandardVideo, 13, &MpegSizes, &FrameRates, false};
const TVideoFamily Windows = {&WindowsVideo, 12, &StandardSizes, &FrameRates};
const TVideoFamily Vob = {&StandardVideo, 13, &StandardSizes, &VobFrameRates};
const TVideoFamily Real = {&StandardVideo, 13, &RmSizes, &FrameRates};
const TVideoFamily Flash = {&FlashVideo, 11, &StandardSizes, &FrameRates};
// Modern codecs: sizes up to 4K and beyond, constant quality and encoder speed.
constexpr int ModernMaxSize = 7680;
const TVideoFamily Modern51 = {&ModernVideo, 15, &ModernSizes, &FrameRates, true, ModernMaxSize, &CrfTo51};
const TVideoFamily Modern63 = {&ModernVideo, 15, &ModernSizes, &FrameRates, true, ModernMaxSize, &CrfTo63};

TVideoPageDef Video(const char* suffix, const char* key, Ids text, const TVideoFamily& family,
                    bool listed = true) {
    TVideoPageDef page;
    page.Suffix = QString::fromLatin1(suffix);
    page.Page = QStringLiteral("TabSheet") + page.Suffix;
    page.Key = QString::fromLatin1(key);
    page.Text = text;
    page.Listed = listed;
    page.Bitrates = family.Bitrates;
    page.TrackMax = family.TrackMax;
    page.Sizes = family.Sizes;
    page.FrameRates = family.FrameRates;
    page.EvenSize = family.EvenSize;
    page.MaxSize = family.MaxSize;
    page.Qualities = family.Qualities;
    return page;
}

TVideoPageDef H265Page() {
    return Video("H265", "H265", Ids::IDS_PROFILE_PAGECONTROL_H265, Modern51);
}
TVideoPageDef Av1Page() {
    return Video("AV1", "AV1", Ids::IDS_PROFILE_PAGECONTROL_AV1, Modern63);
}
TVideoPageDef Vp9Page() {
    return Video("VP9", "VP9", Ids::IDS_PROFILE_PAGECONTROL_VP9, Modern63);
}

// The MS-MPEG-4 v2 page: its page, heading and line are spelled "Msmpeg4v2", its controls "MsMpeg4v2".
TVideoPageDef MsMpeg4v2(const TVideoFamily& family) {
    TVideoPageDef page = Video("MsMpeg4v2", "MsMPEG4v2", Ids::IDS_PROFILE_PAGECONTROL_Mpeg4v2, family);
    page.Page = QStringLiteral("TabSheetMsmpeg4v2");
    page.HeadingSuffix = QStringLiteral("Msmpeg4v2");
    return page;
}

TAudioPageDef Audio(const char* page, const char* suffix, const char* key, Ids text,
                    const std::vector<int>* bitrates, const std::vector<int>& rates,
                    const std::vector<TRateRange>* ranges = nullptr, int channels = 2, bool listed = true) {
    TAudioPageDef def;
    def.Page = QString::fromLatin1(page);
    def.Suffix = QString::fromLatin1(suffix);
    def.Key = QString::fromLatin1(key);
    def.Text = text;
    def.Listed = listed;
    def.Bitrates = bitrates;
    def.TrackMax = bitrates ? static_cast<int>(bitrates->size()) : 0;
    def.SampleRates = &rates;
    def.Channels = channels;
    def.Ranges = ranges;
    return def;
}

TAudioPageDef Mp2Page() {
    return Audio("TabSheetMp2", "Mp2", "Mp2", Ids::IDS_PROFILE_PAGECONTROL_Mp2, &Mp2Audio, CodedRates,
                 &Mp2Ranges);
}
TAudioPageDef Mp3Page(const std::vector<int>& rates = CodedRates) {
    return Audio("TabSheetMp3", "Mp3", "Mp3", Ids::IDS_PROFILE_PAGECONTROL_Mp3, &Mp3Audio, rates, &Mp3Ranges);
}
TAudioPageDef Ac3Page() {
    return Audio("TabSheetAC3", "AC3", "AC3", Ids::IDS_PROFILE_PAGECONTROL_Ac3, &Ac3Audio, CodedRates,
                 &Ac3RangeTable, 3);
}
TAudioPageDef Pcm16lePage() {
    return Audio("TabSheePcm16le", "Pcm16le", "Pcm16le", Ids::IDS_PROFILE_PAGECONTROL_Pcm16Little, nullptr,
                 WideRates);
}
TAudioPageDef Pcmu8Page() {
    return Audio("TabSheetPcmu8", "Pcmu8", "Pcmu8", Ids::IDS_PROFILE_PAGECONTROL_PcmU8, nullptr, WideRates);
}
TAudioPageDef AacPage(const char* page) {
    return Audio(page, "AACMp4", "AACMP4", Ids::IDS_PROFILE_PAGECONTROL_Aac, &AacAudio, WideRates,
                 &AacRanges);
}
TAudioPageDef AmrNbPage(int channels = 2) {
    return Audio("TabSheetArmnb", "Armnb", "Armnb", Ids::IDS_PROFILE_PAGECONTROL_AmrBand, &AmrNbAudio,
                 AmrNbRates, nullptr, channels);
}
TAudioPageDef AmrWbPage() {
    return Audio("TabSheetArmwb", "Armwb", "Armwb", Ids::IDS_PROFILE_PAGECONTROL_AmrWide, &AmrWbAudio,
                 AmrWbRates);
}

// A page of the modern formats: its sample rates and channels may stay as the source's.
TAudioPageDef ModernAudio(const char* suffix, Ids text, const std::vector<int>* bitrates, TValueList rates,
                          TValueList channels = ValueLists::SurroundChannels,
                          TAudioExtra extra = TAudioExtra::None, std::optional<Ids> hint = std::nullopt) {
    TAudioPageDef def;
    def.Suffix = QString::fromLatin1(suffix);
    def.Page = QStringLiteral("TabSheet") + def.Suffix;
    def.Key = def.Suffix;
    def.Text = text;
    def.Bitrates = bitrates;
    def.TrackMax = bitrates ? static_cast<int>(bitrates->size()) : 0;
    def.Modern = true;
    def.ModernRates = rates;
    def.ModernChannels = channels;
    def.Extra = extra;
    def.Hint = hint;
    return def;
}
TAudioPageDef ModernAacPage() {
    return ModernAudio("AAC", Ids::IDS_PROFILE_PAGECONTROL_Aac, &ModernAacAudio, ValueLists::LossyRates);
}
TAudioPageDef OpusPage() {
    return ModernAudio("Opus", Ids::IDS_PROFILE_PAGECONTROL_Opus, &OpusAudio, {},
                       ValueLists::SurroundChannels, TAudioExtra::None, Ids::IDS_PROFILE_LABEL_OpusRate);
}
TAudioPageDef VorbisPage() {
    return ModernAudio("Vorbis", Ids::IDS_PROFILE_PAGECONTROL_Vorbis, &VorbisAudio, ValueLists::LossyRates,
                       ValueLists::SurroundChannels, TAudioExtra::Quality);
}
TAudioPageDef FlacPage() {
    return ModernAudio("Flac", Ids::IDS_PROFILE_PAGECONTROL_Flac, nullptr, ValueLists::LosslessRates,
                       ValueLists::SurroundChannels, TAudioExtra::Compression,
                       Ids::IDS_PROFILE_LABEL_Lossless);
}
TAudioPageDef AlacPage() {
    return ModernAudio("Alac", Ids::IDS_PROFILE_PAGECONTROL_Alac, nullptr, ValueLists::LosslessRates,
                       ValueLists::SurroundChannels, TAudioExtra::None, Ids::IDS_PROFILE_LABEL_Lossless);
}

using I = Ids;

std::vector<TEditorDef> BuildDefs() {
    std::vector<TEditorDef> defs(22);
    defs[0] = {0,
               I::IDS_PROFILE_LABEL_AVI,
               TGeneralKind::Video,
               false,
               {Video("DivX", "DivX", I::IDS_PROFILE_PAGECONTROL_Divx, Standard),
                Video("XviD", "XviD", I::IDS_PROFILE_PAGECONTROL_Xvid, Standard),
                Video("Msmpeg4", "MsMPEG4", I::IDS_PROFILE_PAGECONTROL_Mpeg4, Standard), MsMpeg4v2(Standard),
                Video("H263", "H263", I::IDS_PROFILE_PAGECONTROL_H263, StandardH263),
                Video("H263P", "H263P", I::IDS_PROFILE_PAGECONTROL_H263P, Standard),
                Video("H264", "H264", I::IDS_PROFILE_PAGECONTROL_H264, Standard),
                Video("huffYUV", "huffYUV", I::IDS_PROFILE_PAGECONTROL_HuffYUV, Standard),
                Video("Mjpeg", "Mjpeg", I::IDS_PROFILE_PAGECONTROL_Jpeg, Standard),
                Video("Svq1", "Svq1", I::IDS_PROFILE_PAGECONTROL_Svq1, Standard),
                Video("Flv", "Flv", I::IDS_PROFILE_PAGECONTROL_Flv, Standard),
                Video("Mpeg1", "MPEG1", I::IDS_PROFILE_PAGECONTROL_Mpeg1, Standard, false),
                Video("Mpeg2", "MPEG2", I::IDS_PROFILE_PAGECONTROL_Mpeg2, Standard, false),
                Video("DV", "DV", I::IDS_PROFILE_PAGECONTROL_DV, Standard, false)},
               {Mp2Page(), Mp3Page(), Pcm16lePage(), Pcmu8Page(), Ac3Page()}};
    // The PSP page has no list entry; it is headed by its type's name.
    TAudioPageDef psp = Audio("TabSheetAACPsp", "AACPsp", "AACPsp", I::IDS_PROFILE_CHECKBOX_SonyPSP,
                              &AacAudio, PspRates, &AacRanges, 2, false);
    defs[1] = {1,
               I::IDS_PROFILE_LABEL_MP4,
               TGeneralKind::Mp4,
               false,
               {Video("H264", "H264", I::IDS_PROFILE_PAGECONTROL_H264, Portable), H265Page(),
                Video("DivX", "DivX", I::IDS_PROFILE_PAGECONTROL_Divx, Portable, false),
                Video("XviD", "XviD", I::IDS_PROFILE_PAGECONTROL_Xvid, Portable, false)},
               {AacPage("TabSheetAACMp4"), psp}};
    defs[2] = {2,
               I::IDS_PROFILE_LABEL_3GP,
               TGeneralKind::Tgp,
               false,
               {Video("DivX", "DivX", I::IDS_PROFILE_PAGECONTROL_Divx, Mobile, false),
                Video("XviD", "XviD", I::IDS_PROFILE_PAGECONTROL_Xvid, Mobile, false),
                Video("H263", "H263", I::IDS_PROFILE_PAGECONTROL_H263, MobileH263, false)},
               {AmrNbPage(), AmrWbPage(), AacPage("TabSheetAAC")}};
    for (TAudioPageDef& page : defs[2].Audio)
        page.Listed = false;
    defs[3] = {3,
               I::IDS_PROFILE_LABEL_MPEG,
               TGeneralKind::Mpeg,
               false,
               {Video("Mpeg1", "MPEG1", I::IDS_PROFILE_PAGECONTROL_Mpeg1, Mpeg),
                Video("Mpeg2", "MPEG2", I::IDS_PROFILE_PAGECONTROL_Mpeg2, Mpeg)},
               {Ac3Page(), Mp2Page(), Mp3Page()}};
    for (TAudioPageDef& page : defs[3].Audio)
        page.Listed = false;
    defs[4] = {4,
               I::IDS_PROFILE_LABEL_MOV,
               TGeneralKind::Video,
               false,
               {Video("Svq1", "Svq1", I::IDS_PROFILE_PAGECONTROL_Svq1, Standard),
                Video("DivX", "DivX", I::IDS_PROFILE_PAGECONTROL_Divx, Standard),
                Video("XviD", "XviD", I::IDS_PROFILE_PAGECONTROL_Xvid, Standard),
                Video("H263", "H263", I::IDS_PROFILE_PAGECONTROL_H263, StandardH263),
                Video("H264", "H264", I::IDS_PROFILE_PAGECONTROL_H264, Standard), H265Page()},
               {AacPage("TabSheetAACMp4"),
                Audio("TabSheetAlaw", "Alaw", "Alaw", I::IDS_PROFILE_PAGECONTROL_ALaw, nullptr, WideRates),
                AmrNbPage(1), Pcm16lePage(),
                Audio("TabSheetPcm16be", "Pcm16be", "Pcm16be", I::IDS_PROFILE_PAGECONTROL_Pcm16Big, nullptr,
                      WideRates)}};
    const std::vector<TVideoPageDef> windows = {
        Video("Msmpeg4", "MsMPEG4", I::IDS_PROFILE_PAGECONTROL_Mpeg4, Windows), MsMpeg4v2(Windows)};
    defs[5] = {5, I::IDS_PROFILE_LABEL_WMV, TGeneralKind::Video, false, windows, {Mp3Page()}};
    defs[5].Video.push_back(Video("Wmv7", "Wmv7", I::IDS_PROFILE_GROUPBOX_WMV7, Windows));
    defs[5].Video.push_back(Video("Wmv8", "Wmv8", I::IDS_PROFILE_GROUPBOX_WMV8, Windows));
    defs[6] = {6,
               I::IDS_PROFILE_LABEL_RM,
               TGeneralKind::Video,
               false,
               {Video("Rm10", "Rm10", I::IDS_PROFILE_GROUPBOX_RealVideo, Real)},
               {Ac3Page()}};
    defs[7] = {7,
               I::IDS_PROFILE_LABEL_SWF,
               TGeneralKind::Video,
               false,
               {Video("Flv", "Flv", I::IDS_PROFILE_PAGECONTROL_Flv, Flash)},
               {Mp3Page(SwfMp3Rates)}};
    defs[8] = {8,
               I::IDS_PROFILE_LABEL_VOB,
               TGeneralKind::Video,
               false,
               {Video("Mpeg2", "MPEG2", I::IDS_PROFILE_PAGECONTROL_Mpeg2, Vob)},
               {Mp2Page(), Ac3Page()}};
    defs[9] = {9, I::IDS_PROFILE_LABEL_ASF, TGeneralKind::Video, false, windows, {Mp3Page()}};
    defs[10] = {10, I::IDS_PROFILE_LABEL_AAC, TGeneralKind::Audio, true, {}, {AacPage("tabAACMp4")}};
    defs[11] = {11, I::IDS_PROFILE_LABEL_AC3, TGeneralKind::Audio, false, {}, {Ac3Page()}};
    defs[12] = {12, I::IDS_PROFILE_LABEL_MP2, TGeneralKind::Audio, false, {}, {Mp2Page()}};
    defs[12].Audio[0].Text = I::IDS_PROFILE_LABEL_MP2;
    defs[13] = {13, I::IDS_PROFILE_LABEL_MP3, TGeneralKind::Audio, false, {}, {Mp3Page()}};
    defs[14] = {14, I::IDS_PROFILE_LABEL_AMR, TGeneralKind::Audio, false, {}, {AmrNbPage(), AmrWbPage()}};
    defs[15] = {15, I::IDS_PROFILE_LABEL_WAV, TGeneralKind::Audio, false, {}, {Pcm16lePage(), Pcmu8Page()}};
    defs[16] = {
        16,
        I::IDS_PROFILE_LABEL_MKV,
        TGeneralKind::Video,
        false,
        {Video("H264", "H264", I::IDS_PROFILE_PAGECONTROL_H264, Modern51), H265Page(), Av1Page(), Vp9Page()},
        {ModernAacPage(), OpusPage(), FlacPage(),
         ModernAudio("AC3", I::IDS_PROFILE_PAGECONTROL_Ac3, &Ac3Audio, ValueLists::Ac3Rates),
         ModernAudio("Mp3", I::IDS_PROFILE_PAGECONTROL_Mp3, &Mp3Audio, ValueLists::Mp3Rates,
                     ValueLists::StereoChannels)}};
    defs[17] = {17,    I::IDS_PROFILE_LABEL_WebM, TGeneralKind::Video,
                false, {Vp9Page(), Av1Page()},    {OpusPage(), VorbisPage()}};
    defs[18] = {18, I::IDS_PROFILE_LABEL_M4A, TGeneralKind::Audio, false, {}, {ModernAacPage(), AlacPage()}};
    defs[19] = {19, I::IDS_PROFILE_LABEL_FLAC, TGeneralKind::Audio, false, {}, {FlacPage()}};
    defs[20] = {20, I::IDS_PROFILE_LABEL_Opus, TGeneralKind::Audio, false, {}, {OpusPage()}};
    defs[21] = {21, I::IDS_PROFILE_LABEL_OGG, TGeneralKind::Audio, false, {}, {VorbisPage()}};
    return defs;
}

} // namespace

const TEditorDef* EditorDef(int formatIndex) {
    static const std::vector<TEditorDef> defs = BuildDefs();
    if (formatIndex < 0 || formatIndex >= static_cast<int>(defs.size()))
        return nullptr;
    return &defs[formatIndex];
}

const std::vector<int>& StandardVideoBitrates() {
    return StandardVideo;
}

const std::vector<int>& DvdAudioBitrates() {
    return DvdAudio;
}

const std::vector<TRateRange>& Ac3Ranges() {
    return Ac3RangeTable;
}

QString SizeText(const TSizeList& list, const TSizePreset& preset) {
    QString text =
        QString::number(preset.Width) + QString::fromLatin1(list.Separator) + QString::number(preset.Height);
    if (preset.Note)
        text += QStringLiteral(" (") + QString::fromLatin1(preset.Note) + QLatin1Char(')');
    if (preset.Name)
        text += QStringLiteral(" (") + Str(*preset.Name) + QLatin1Char(')');
    return text;
}
