#include "translate.h"

#include "codecs.h"
#include "input_formats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace avcore {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string ExtensionOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    return Lower(path.substr(dot + 1));
}

std::string Kbps(double kbps) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%gk", kbps);
    return buffer;
}

std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

// The NTSC family of rates, written the way the converter writes them, as exact rationals.
std::string ExactFrameRate(const std::string& rate) {
    static const std::map<std::string, std::string> exact = {
        {"14.985", "15000/1001"}, {"19.98", "20000/1001"}, {"23.976", "24000/1001"},
        {"29.97", "30000/1001"},  {"59.94", "60000/1001"},
    };
    auto it = exact.find(rate);
    return it == exact.end() ? rate : it->second;
}

FrameSize NearestH263Size(FrameSize wanted) {
    static const FrameSize sizes[] = {{128, 96}, {176, 144}, {352, 288}, {704, 576}, {1408, 1152}};
    const long area = static_cast<long>(wanted.width) * wanted.height;
    FrameSize best = sizes[0];
    for (const auto& s : sizes) {
        if (std::labs(static_cast<long>(s.width) * s.height - area) <
            std::labs(static_cast<long>(best.width) * best.height - area)) {
            best = s;
        }
    }
    return best;
}

int Align(int value, int alignment) {
    return std::max(alignment, (value + alignment / 2) / alignment * alignment);
}

// FFmpeg reads a name like "-y.mp3" as an option and "concat:a|b" as a protocol; with the "file:"
// prefix every name is a plain file.
std::string AsFile(const std::string& path) {
    return "file:" + path;
}

class Translator {
  public:
    Translator(const Request& request, FfmpegPlan& plan) : r_(request), plan_(plan) {}

    void Run(const std::string& input, const std::string& output, int progressFd) {
        Add({"-hide_banner", "-nostdin", "-loglevel", "level+info", "-nostats", "-stats_period", "0.25",
             "-progress", "pipe:" + std::to_string(progressFd)});
        // FFmpeg writes a temporary file the engine has just made for it; whether an existing
        // output may be replaced is decided when that file is renamed.
        Add({"-y"});
        if (!r_.start.empty()) {
            Add({"-ss", r_.start});
        }
        // The source is read as a plain file with a demuxer that reads nothing else.
        Add({"-protocol_whitelist", "file", "-format_whitelist", ReadableInputFormats()});
        Add({"-i", AsFile(input)});
        if (!r_.duration.empty()) {
            Add({"-t", r_.duration});
        }
        // Subtitle and data streams of the source are not converted: most of the containers cannot hold them.
        Add({"-sn", "-dn"});
        if (!r_.target.empty()) {
            Target();
        } else {
            Container();
            if (r_.noVideo) {
                AudioFileStreams();
            } else {
                Video();
            }
            if (r_.noAudio) {
                Add({"-an"});
            } else {
                Audio();
            }
        }
        if (!r_.strict.empty()) {
            Add({"-strict", r_.strict});
        }
        Add({AsFile(output)});
    }

  private:
    void Add(std::initializer_list<std::string> args) { plan_.args.insert(plan_.args.end(), args); }
    void Add(const std::vector<std::string>& args) {
        plan_.args.insert(plan_.args.end(), args.begin(), args.end());
    }
    void Note(const std::string& text) { plan_.notes.push_back(text); }

    // A disc preset sets container, codecs, size and rates itself; the converter may still give
    // the video and audio bit rates and the aspect.
    void Target() {
        Add({"-target", r_.target});
        if (r_.videoKbps) {
            Add({"-b:v", Kbps(*r_.videoKbps)});
        }
        if (!r_.aspect.empty()) {
            Add({"-aspect", r_.aspect});
        }
        if (r_.audioKbps) {
            // A DVD carries AC-3; VCD and SVCD carry MPEG audio layer II.
            const bool dvd = r_.target.find("dvd") != std::string::npos;
            auto offered =
                OfferedBitRates(dvd ? AudioBitRates::Ac3 : AudioBitRates::Mp2, dvd ? 48000 : 44100, 2);
            Add({"-b:a", Kbps(Nearest(offered, *r_.audioKbps))});
        }
    }

    void Container() {
        const std::string extension = ExtensionOf(r_.output);
        if (!r_.format.empty()) {
            container_ = FindContainerByName(Lower(r_.format));
            // The 3GPP2 form of 3GP is asked for as "-f 3gp" with a .3g2 file name.
            if (container_ && container_->muxer == "3gp" && extension == "3g2") {
                container_ = FindContainerByName("3g2");
            }
        } else {
            container_ = FindContainerByExtension(extension);
        }
        video_ = r_.noVideo || r_.videoCodec.empty() ? nullptr : FindVideoCodec(Lower(r_.videoCodec));
        if (container_ && video_ && video_->microsoftFamily && !container_->carriesMicrosoftVideo) {
            Note("Note: " + std::string(container_->muxer) + " cannot carry " + std::string(video_->name) +
                 " video; MPEG-4 Visual (DivX-compatible) video is written instead");
            video_ = &Mpeg4Part2();
        }
        // MPEG-2 video belongs in an MPEG-2 program stream; FFmpeg's plain "mpeg" muxer writes MPEG-1
        // systems.
        if (container_ && container_->muxer == "mpeg" && video_ && video_->encoder == "mpeg2video") {
            container_ = FindContainerByName("vob");
        }
        if (container_) {
            Add({"-f", std::string(container_->muxer)});
        } else if (!r_.format.empty()) {
            Add({"-f", r_.format}); // a container FFmpeg may know although this engine does not list it
        }
    }

    void Video() {
        if (!r_.videoCodec.empty()) {
            Add({"-c:v", video_ ? std::string(video_->encoder) : r_.videoCodec});
        }
        const int alignment = video_ ? video_->alignment : 2;
        const int minSize = std::max(alignment, video_ ? video_->minSize : 0);
        if (video_ && video_->sizeRule == SizeRule::H263Sizes) {
            FrameSize size = NearestH263Size(r_.size.value_or(FrameSize{352, 288}));
            if (r_.size && (size.width != r_.size->width || size.height != r_.size->height)) {
                Note("Note: H.263 only knows five picture sizes; " + std::to_string(size.width) + "x" +
                     std::to_string(size.height) + " is used");
            }
            if (r_.size) {
                Add({"-s", std::to_string(size.width) + "x" + std::to_string(size.height)});
            } else {
                // Without a size the source's height picks the nearest of the five picture formats.
                Add({"-vf", "scale=w=if(lte(ih\\,120)\\,128\\,if(lte(ih\\,216)\\,176\\,if(lte(ih\\,432)\\,"
                            "352\\,if(lte(ih\\,864)\\,704\\,1408)))):"
                            "h=if(lte(ih\\,120)\\,96\\,if(lte(ih\\,216)\\,144\\,if(lte(ih\\,432)\\,288\\,if("
                            "lte(ih\\,864)\\,576\\,1152))))"});
            }
        } else if (r_.size) {
            FrameSize size{std::max(minSize, Align(r_.size->width, alignment)),
                           std::max(minSize, Align(r_.size->height, alignment))};
            Add({"-s", std::to_string(size.width) + "x" + std::to_string(size.height)});
        } else {
            // Most encoders need even sizes, some multiples of 4 or 16: round the source's size down
            // (and a tiny picture up to the smallest the encoder takes).
            const std::string a = std::to_string(alignment);
            const std::string least = std::to_string(minSize);
            Add({"-vf", "scale=w=max(" + least + "\\,trunc(iw/" + a + ")*" + a + "):h=max(" + least +
                            "\\,trunc(ih/" + a + ")*" + a + ")"});
        }
        if (video_ && !video_->aviTag.empty() && container_ && container_->muxer == "avi") {
            Add({"-vtag", std::string(video_->aviTag)});
        }
        // Apple's players take H.265 in MP4 and QuickTime files only under the tag "hvc1".
        if (video_ && !video_->mp4Tag.empty() && container_ && IsMp4Family(container_->muxer)) {
            Add({"-tag:v", std::string(video_->mp4Tag)});
        }
        if (video_ && !video_->pixelFormat.empty()) {
            Add({"-pix_fmt", std::string(video_->pixelFormat)});
        }
        if (r_.sameQuality && video_) {
            // FFmpeg dropped -sameq; a constant high quality of the chosen encoder takes its place.
            Add(video_->sameQuality);
        } else if (r_.sameQuality) {
            Add({"-q:v", "2"});
        } else if (r_.crf && video_ && video_->speed != SpeedStyle::None) {
            Add({"-crf", std::to_string(*r_.crf)});
            if (video_->crfNeedsZeroBitRate) {
                Add({"-b:v", "0"});
            }
        } else if (r_.videoKbps) {
            Add({"-b:v", Kbps(*r_.videoKbps)});
        }
        if (video_) {
            Speed();
            Add(video_->extra);
        }
        if (!r_.frameRate.empty()) {
            Add({"-r", FrameRate()});
        }
        if (!r_.aspect.empty()) {
            Add({"-aspect", r_.aspect});
        }
    }

    static bool IsMp4Family(std::string_view muxer) {
        return muxer == "mp4" || muxer == "mov" || muxer == "psp" || muxer == "ipod";
    }

    // The speed word in the encoder's own terms; a speed is only given when one was asked for.
    void Speed() {
        const auto& speeds = EncoderSpeeds();
        const auto found = std::find(speeds.begin(), speeds.end(), r_.preset);
        if (found == speeds.end()) {
            return;
        }
        const int rank = static_cast<int>(found - speeds.begin()); // 0 fastest ... 8 slowest
        switch (video_->speed) {
        case SpeedStyle::X26x:
            Add({"-preset", r_.preset});
            break;
        case SpeedStyle::SvtAv1: {
            static const int presets[] = {12, 11, 10, 9, 8, 6, 4, 2, 0};
            Add({"-preset", std::to_string(presets[rank])});
            break;
        }
        case SpeedStyle::LibvpxVp9: {
            // The fastest speeds use libvpx's real-time mode, the others its good-quality mode.
            static const char* const deadlines[] = {"realtime", "realtime", "realtime", "good", "good",
                                                    "good",     "good",     "good",     "good"};
            static const int cpuUsed[] = {8, 7, 6, 5, 4, 3, 2, 1, 0};
            Add({"-deadline", deadlines[rank], "-cpu-used", std::to_string(cpuUsed[rank])});
            break;
        }
        case SpeedStyle::None:
            Note("Note: " + std::string(video_->name) + " video has no speed setting; " + r_.preset +
                 " is ignored");
            break;
        }
    }

    // An audio file: the first audio stream of the source, and for the containers that hold them
    // the source's tags (also those an Ogg or FLAC source keeps with its audio stream rather than
    // the file) and its cover picture, copied as it is.
    void AudioFileStreams() {
        if (!container_ || !container_->keepsTags) {
            Add({"-vn"});
            return;
        }
        Add({"-map", "0:a:0", "-map_metadata", "0", "-map_metadata", "0:s:a:0"});
        if (container_->keepsCover) {
            // Every video stream of the source, less those that are moving pictures: its covers.
            Add({"-map", "0:v?", "-map", "-0:V?", "-c:v", "copy", "-disposition:v", "attached_pic"});
        }
    }

    std::string FrameRate() {
        std::string rate = ExactFrameRate(r_.frameRate);
        if (!video_ || !video_->mpegFrameRates) {
            return rate;
        }
        const double wanted = std::stod(r_.frameRate);
        const auto& rates = MpegFrameRates();
        auto best = std::min_element(rates.begin(), rates.end(),
                                     [wanted](const FrameRateInfo& a, const FrameRateInfo& b) {
                                         return std::fabs(a.value - wanted) < std::fabs(b.value - wanted);
                                     });
        if (std::fabs(best->value - wanted) > 0.01) {
            Note("Note: MPEG video cannot run at " + r_.frameRate + " frames per second; " +
                 Number(best->value) + " is used");
        }
        return std::string(best->text);
    }

    void Audio() {
        const AudioCodecInfo* audio = nullptr;
        if (!r_.audioCodec.empty()) {
            audio = FindAudioCodec(Lower(r_.audioCodec));
            Add({"-c:a", audio ? std::string(audio->encoder) : r_.audioCodec});
        } else if (container_ && !container_->defaultAudio.empty() &&
                   (r_.channels || r_.audioKbps || r_.sampleRate)) {
            // Audio settings without a codec: the container's usual codec, named so its limits apply.
            audio = FindAudioCodec(container_->defaultAudio);
            Add({"-c:a", std::string(audio->encoder)});
        }
        if (audio && !audio->channelLayouts.empty()) {
            Add({"-af", "aformat=channel_layouts=" + std::string(audio->channelLayouts)});
        }
        int channels = r_.channels.value_or(2);
        if (audio && audio->fixedChannels) {
            channels = audio->fixedChannels;
            Add({"-ac", std::to_string(channels)});
        } else if (r_.channels) {
            channels = audio ? std::min(channels, audio->maxChannels) : channels;
            Add({"-ac", std::to_string(channels)});
        }
        int rate = r_.sampleRate.value_or(44100);
        std::vector<int> allowed = audio ? audio->sampleRates : std::vector<int>{};
        if (container_ && !container_->audioRates.empty()) {
            allowed = container_->audioRates;
        }
        if (!allowed.empty() && (r_.sampleRate || allowed.size() == 1)) {
            const int chosen = Nearest(allowed, rate);
            if (r_.sampleRate && chosen != *r_.sampleRate) {
                Note("Note: " + std::string(audio ? audio->name : "this format") +
                     " audio cannot be sampled at " + std::to_string(*r_.sampleRate) + " Hz; " +
                     std::to_string(chosen) + " Hz is used");
            }
            rate = chosen;
            Add({"-ar", std::to_string(rate)});
        } else if (r_.sampleRate) {
            Add({"-ar", std::to_string(rate)});
        }
        LosslessAndQuality(audio);
        if (r_.audioQuality && audio && audio->takesQuality) {
            return; // the quality level decides the bit rate
        }
        if (!r_.audioKbps || (audio && audio->bitRates == AudioBitRates::None)) {
            return;
        }
        double kbps = *r_.audioKbps;
        auto offered = audio ? OfferedBitRates(audio->bitRates, rate, channels) : std::vector<double>{};
        if (!offered.empty()) {
            kbps = Nearest(offered, kbps);
            if (std::fabs(kbps - *r_.audioKbps) > 0.001) {
                Note("Note: " + std::string(audio->name) + " audio has no " + Number(*r_.audioKbps) +
                     " kbit/s mode; " + Number(kbps) + " kbit/s is used");
            }
        }
        Add({"-b:a", Kbps(kbps)});
    }

    // Vorbis's quality level, and the compression level and sample size of the lossless codecs.
    void LosslessAndQuality(const AudioCodecInfo* audio) {
        const std::string name = audio ? std::string(audio->name) : r_.audioCodec;
        if (r_.audioQuality) {
            if (audio && audio->takesQuality) {
                Add({"-q:a", Number(*r_.audioQuality)});
            } else {
                Note("Note: " + name + " audio has no quality levels; the quality is ignored");
            }
        }
        if (r_.compressionLevel) {
            if (audio && audio->takesCompression) {
                Add({"-compression_level", std::to_string(*r_.compressionLevel)});
            } else {
                Note("Note: " + name + " audio has no compression levels; the level is ignored");
            }
        }
        if (r_.audioBits) {
            const std::string_view format = !audio                ? std::string_view()
                                            : *r_.audioBits == 16 ? audio->format16
                                                                  : audio->format24;
            if (!format.empty()) {
                Add({"-sample_fmt", std::string(format)});
            } else {
                Note("Note: the sample size of " + name + " audio cannot be chosen; " +
                     std::to_string(*r_.audioBits) + " bits is ignored");
            }
        }
    }

    const Request& r_;
    FfmpegPlan& plan_;
    const ContainerInfo* container_ = nullptr;
    const VideoCodecInfo* video_ = nullptr;
};

} // namespace

FfmpegPlan Translate(const Request& request, const std::string& input, const std::string& output,
                     int progressFd) {
    FfmpegPlan plan;
    Translator(request, plan).Run(input, output, progressFd);
    return plan;
}

} // namespace avcore
