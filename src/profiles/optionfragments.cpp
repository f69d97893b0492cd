#include "profiles/optionfragments.h"

#include "app/utils.h"

namespace {

// Frame rates by VideoFrameRate index.
const char* const FrameRates[] = {"10", "12",    "14.985", "15", "19.98", "23.976", "24",
                                  "25", "29.97", "30",     "50", "59.94", "60"};
const char* const VobFrameRates[] = {"19.98", "23.976", "24", "25", "29.97", "30", "50", "59.94", "60"};

// Aspect choices by VideoAspect index; an empty entry is a choice that adds no option.
const char* const Aspects[] = {"", "4:3", "16:9"};                    // Auto, 4:3, 16:9
const char* const H263Aspects[] = {"", "", "4:3", "", "16:9"};        // Auto, 1:1, 4:3, 11:9, 16:9
const char* const TgpAspects[] = {"11:9", "4:3", "16:9"};             // Auto, 4:3, 16:9
const char* const TgpH263Aspects[] = {"11:9", "", "4:3", "", "16:9"}; // Auto, 1:1, 4:3, 11:9, 16:9
const char* const VobAspects[] = {"5:4", "4:3", "16:9"};              // Auto, 4:3, 16:9

// Sample rates by AudioSampleRate index.
const char* const Rates4[] = {"22050", "24000", "44100", "48000"};
const char* const Rates8[] = {"11025", "12000", "16000", "22050", "24000", "32000", "44100", "48000"};
const char* const SwfRates[] = {"11025", "22050", "44100"};
const char* const PspRates[] = {"48000"};
const char* const AmrNbRates[] = {"8000"};
const char* const AmrWbRates[] = {"16000"};

// Channels by AudioChannels index.
const char* const Channels[] = {"1", "2"};
const char* const MonoOnly[] = {"1"};
constexpr int Ac3SixChannels = 2;

QString BitRate(const TAudioGroup& group) {
    if (group.AudioBitRateUseAutoSet)
        return {};
    return QStringLiteral("-ab ") + Number(group.AudioBitRatePreset) + QLatin1Char(' ');
}

QString NumberFragment(const char* option, int32_t value) {
    return QLatin1String(option) + QLatin1Char(' ') + Number(value) + QLatin1Char(' ');
}

} // namespace

const TValueList MonoStereo = Channels;

QString ListFragment(const char* option, TValueList list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size()) || *list[index] == '\0')
        return {};
    return QLatin1String(option) + QLatin1Char(' ') + QLatin1String(list[index]) + QLatin1Char(' ');
}

QString VideoGroupOptions(const TVideoGroup& group, const TVideoStyle& style) {
    QString size;
    if (style.SizeAlways || !group.VideoSizeUseSource)
        size = QStringLiteral("-s ") + Number(group.VideoWidth) + QLatin1Char('x') +
               Number(group.VideoHeight) + QLatin1Char(' ');
    const int32_t rate = group.VideoBitRateUsePresert ? group.VideoBitRatePreset : group.VideoBitRateSpecify;
    QString bitRate = QStringLiteral("-b ") + Number(rate) + QStringLiteral("k ");
    if (style.Modern) {
        if (group.VideoConstantQuality)
            bitRate = NumberFragment("-crf", group.VideoQuality);
        bitRate += ListFragment("-preset", ValueLists::EncoderSpeeds, group.VideoSpeed);
    }
    QString frameRate;
    if (!group.VideoKeepFrameRate)
        frameRate = ListFragment("-r", style.FrameRates, group.VideoFrameRate);
    else if (style.AutoFrameRate)
        frameRate = QStringLiteral("-r ") + QLatin1String(style.AutoFrameRate) + QLatin1Char(' ');
    const QString aspect = ListFragment("-aspect", style.Aspects, group.VideoAspect);
    return (style.BitRateFirst ? bitRate + size : size + bitRate) + frameRate + aspect;
}

QString AudioGroupOptions(const TAudioGroup& group, const TAudioStyle& style) {
    const QString rate = ListFragment("-ar", style.SampleRates, group.AudioSampleRate);
    const QString channels = ListFragment("-ac", style.Channels, group.AudioChannels);
    switch (style.Family) {
    case TAudioFamily::MpegAac:
        return channels + BitRate(group) + rate;
    case TAudioFamily::Pcm:
        return channels + rate;
    case TAudioFamily::Vorbis:
        return channels +
               (group.AudioUseQuality ? NumberFragment("-aq", group.AudioQuality) : BitRate(group)) + rate;
    case TAudioFamily::Flac:
        return channels + NumberFragment("-compression_level", group.AudioCompression) +
               ListFragment("-abits", ValueLists::FlacBits, group.AudioBits) + rate;
    case TAudioFamily::Amr:
        return ListFragment("-ac", MonoOnly, group.AudioChannels) + rate + BitRate(group);
    case TAudioFamily::Ac3: {
        // Six channels (5.1) are only encoded at 48000 Hz, whatever the rate key holds; a channel
        // index outside the list writes neither channels nor rate.
        QString channelsAndRate;
        if (group.AudioChannels == Ac3SixChannels)
            channelsAndRate = QStringLiteral("-ac 5:1 -ar 48000 ");
        else if (!channels.isEmpty())
            channelsAndRate = channels + rate;
        return channelsAndRate + BitRate(group);
    }
    }
    return {};
}

QString TimeWindow(const TCommonSettings& settings) {
    // A hand-edited profile may hold anything in its time keys; only time texts reach the command
    // line, and a window with a text that is none is off, as if it were not set.
    if (!settings.EnableTimeControl || !IsTimeText(settings.Duration) || !IsTimeText(settings.StartTime))
        return {};
    return QStringLiteral(" -t ") + settings.Duration + QStringLiteral(" -ss ") + settings.StartTime +
           QLatin1Char(' ');
}

const TVideoStyle StandardVideo{FrameRates, "25", Aspects};
const TVideoStyle H263Video{FrameRates, "25", H263Aspects, true};
const TVideoStyle TgpVideo{FrameRates, "25", TgpAspects};
const TVideoStyle TgpH263Video{FrameRates, "12.5", TgpH263Aspects, true};
const TVideoStyle NoAspectVideo{FrameRates, "25", {}};
const TVideoStyle NoAspectH263Video{FrameRates, "25", {}, true};
const TVideoStyle RmVideo{FrameRates, "25", {}, false, true};
const TVideoStyle VobVideo{VobFrameRates, "25", VobAspects};
const TVideoStyle ModernVideo{FrameRates, nullptr, Aspects, false, false, true};

const TAudioStyle MpegAudio4{TAudioFamily::MpegAac, Rates4};
const TAudioStyle SwfMp3Audio{TAudioFamily::MpegAac, SwfRates};
const TAudioStyle AacAudio8{TAudioFamily::MpegAac, Rates8};
const TAudioStyle AacPspAudio{TAudioFamily::MpegAac, PspRates};
const TAudioStyle Ac3Audio{TAudioFamily::Ac3, Rates4};
const TAudioStyle PcmAudio{TAudioFamily::Pcm, Rates8};
const TAudioStyle AmrNbAudio{TAudioFamily::Amr, AmrNbRates};
const TAudioStyle AmrWbAudio{TAudioFamily::Amr, AmrWbRates};

namespace VL = ValueLists;
const TAudioStyle ModernAacAudio{TAudioFamily::MpegAac, VL::LossyRates, VL::SurroundChannels};
const TAudioStyle ModernAc3Audio{TAudioFamily::MpegAac, VL::Ac3Rates, VL::SurroundChannels};
const TAudioStyle ModernMp3Audio{TAudioFamily::MpegAac, VL::Mp3Rates, VL::StereoChannels};
const TAudioStyle OpusAudio{TAudioFamily::MpegAac, {}, VL::SurroundChannels};
const TAudioStyle VorbisAudio{TAudioFamily::Vorbis, VL::LossyRates, VL::SurroundChannels};
const TAudioStyle FlacAudio{TAudioFamily::Flac, VL::LosslessRates, VL::SurroundChannels};
const TAudioStyle AlacAudio{TAudioFamily::Pcm, VL::LosslessRates, VL::SurroundChannels};
