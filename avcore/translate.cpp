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
                Add({"-vn"});
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
            FrameSize size{Align(r_.size->width, alignment), Align(r_.size->height, alignment)};
            Add({"-s", std::to_string(size.width) + "x" + std::to_string(size.height)});
        } else {
            // Most encoders need even sizes, some multiples of 4 or 16: round the source's size down.
            const std::string a = std::to_string(alignment);
            Add({"-vf", "scale=w=max(" + a + "\\,trunc(iw/" + a + ")*" + a + "):h=max(" + a + "\\,trunc(ih/" +
                            a + ")*" + a + ")"});
        }
        if (video_ && !video_->aviTag.empty() && container_ && container_->muxer == "avi") {
            Add({"-vtag", std::string(video_->aviTag)});
        }
        if (video_ && !video_->pixelFormat.empty()) {
            Add({"-pix_fmt", std::string(video_->pixelFormat)});
        }
        if (r_.sameQuality && video_) {
            // FFmpeg dropped -sameq; a constant high quality of the chosen encoder takes its place.
            plan_.args.insert(plan_.args.end(), video_->sameQuality.begin(), video_->sameQuality.end());
        } else if (r_.sameQuality) {
            Add({"-q:v", "2"});
        } else if (r_.videoKbps) {
            Add({"-b:v", Kbps(*r_.videoKbps)});
        }
        if (!r_.frameRate.empty()) {
            Add({"-r", FrameRate()});
        }
        if (!r_.aspect.empty()) {
            Add({"-aspect", r_.aspect});
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
