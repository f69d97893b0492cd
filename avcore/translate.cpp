#include "translate.h"

#include "codecs.h"
#include "format_limits.h"
#include "input_formats.h"
#include "picture.h"

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

int Align(int value, int alignment) {
    return std::max(alignment, (value + alignment / 2) / alignment * alignment);
}

// FFmpeg reads a name like "-y.mp3" as an option and "concat:a|b" as a protocol; with the "file:"
// prefix every name is a plain file.
std::string AsFile(const std::string& path) {
    return "file:" + path;
}

// The streams the output takes from the source, chosen from what FFprobe said about it.
struct StreamChoice {
    const StreamFacts* film = nullptr;  // the moving picture
    const StreamFacts* still = nullptr; // a cover shown as a still picture for the sound's length
    const StreamFacts* cover = nullptr; // a cover kept as the output's cover
    const StreamFacts* sound = nullptr;
    bool blank = false;   // a black picture, for a container that needs one
    bool silence = false; // a silent sound, for a container that needs one
    bool Any() const { return film || still || cover || sound; }
};

std::string StreamSpec(int input, const StreamFacts& stream) {
    return std::to_string(input) + ":" + std::to_string(stream.index);
}

class Translator {
  public:
    Translator(const Request& request, const std::optional<SourceFacts>& facts, FfmpegPlan& plan)
        : r_(request), facts_(facts), plan_(plan) {}

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
        Add(SafeInputOptions());
        Add({"-i", AsFile(input)});
        ChooseContainer();
        ChooseStreams();
        if (choice_.still && !r_.start.empty()) {
            // A cover is no part of the time line: read once more from the start, it stays.
            Add(SafeInputOptions());
            Add({"-i", AsFile(input)});
        }
        if (!r_.duration.empty()) {
            Add({"-t", r_.duration});
        }
        MapStreams();
        if (!r_.target.empty()) {
            Target();
        } else {
            if (container_) {
                Add({"-f", std::string(container_->muxer)});
                // A WAV header counts sizes up to 4 GiB (under seven hours of CD sound, two of 5.1):
                // a longer output is written as RF64, WAV's form with larger sizes; a shorter one
                // stays a plain WAV, with room kept for the larger header.
                if (container_->muxer == "wav") {
                    Add({"-rf64", "auto"});
                }
            } else if (!r_.format.empty()) {
                Add({"-f", r_.format}); // a container FFmpeg may know although this engine does not list it
            }
            // A source known to have no picture gets no picture options.
            if ((!r_.noVideo && (!facts_ || choice_.film || choice_.still)) || choice_.blank) {
                Video();
            }
            if (!r_.noAudio || choice_.silence) {
                Audio();
            }
        }
        Cover();
        Tags();
        if (!r_.strict.empty()) {
            Add({"-strict", r_.strict});
        }
        Add({AsFile(output)});
        plan_.expectedLength = ExpectedLength();
    }

  private:
    void Add(std::initializer_list<std::string> args) { plan_.args.insert(plan_.args.end(), args); }
    void Add(const std::vector<std::string>& args) {
        plan_.args.insert(plan_.args.end(), args.begin(), args.end());
    }
    void Note(const std::string& text) { plan_.notes.push_back(text); }

    const ContainerLimits& Holds() const { return ContainerLimitsOf(container_ ? container_->muxer : ""); }

    void ChooseContainer() {
        const std::string extension = ExtensionOf(r_.output);
        if (!r_.format.empty()) {
            container_ = FindContainerByName(Lower(r_.format));
            // The 3GPP2 form of 3GP is asked for as "-f 3gp" with a .3g2 file name.
            if (container_ && container_->muxer == "3gp" && extension == "3g2") {
                container_ = FindContainerByName("3g2");
            }
        } else if (r_.target.empty()) {
            container_ = FindContainerByExtension(extension);
        }
        if (!r_.target.empty()) {
            target_ = TargetFrameOf(Lower(r_.target));
            video_ = target_ ? FindVideoCodec(target_->encoder) : nullptr;
            return;
        }
        // Without a codec named, the container's usual one, named so that its limits apply.
        const std::string codec =
            !r_.videoCodec.empty() ? Lower(r_.videoCodec)
                                   : std::string(container_ ? container_->defaultVideo : std::string_view());
        video_ = r_.noVideo || codec.empty() ? nullptr : FindVideoCodec(codec);
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
    }

    // A video output takes the film, or else shows the cover for the length of the sound; an
    // output without video keeps the cover where its container holds one.
    void ChooseStreams() {
        if (!facts_) {
            return;
        }
        const bool video = !r_.noVideo;
        choice_.film = video ? facts_->Film() : nullptr;
        // (A disc preset this engine does not know gets no still picture: its frame is unknown.)
        if (const StreamFacts* cover = facts_->Cover();
            video && !choice_.film && cover && cover->width > 0 && (r_.target.empty() || target_)) {
            choice_.still = cover;
        }
        if (!r_.noAudio) {
            choice_.sound = facts_->Sound();
        }
        if (!video && choice_.sound && !Holds().coverCodecs.empty()) {
            choice_.cover = facts_->Cover();
        }
        // A container that needs a picture and a sound gets black or silence for the one missing.
        if (Holds().needsBoth && choice_.Any()) {
            choice_.blank = !choice_.film && !choice_.still;
            choice_.silence = !choice_.sound;
            if (choice_.blank || choice_.silence) {
                Note(std::string("Note: ") + (choice_.blank ? "a black picture" : "silence") + " is added: " +
                     std::string(container_->muxer) + " files need both a picture and a sound");
            }
        }
    }

    void MapStreams() {
        if (!choice_.Any()) {
            // Nothing to take (or nothing known): FFmpeg chooses, and says when there is nothing.
            Add({"-sn", "-dn"});
            if (r_.noVideo) {
                Add({"-vn"});
            }
            if (r_.noAudio) {
                Add({"-an"});
            }
            return;
        }
        if (choice_.film) {
            Add({"-map", StreamSpec(0, *choice_.film)});
        }
        if (choice_.still || choice_.blank) {
            Add({"-map", "[still]"});
        }
        if (choice_.sound) {
            Add({"-map", StreamSpec(0, *choice_.sound)});
        }
        if (choice_.silence) {
            const std::string length = LengthFilter("atrim", facts_->LengthOf(choice_.film));
            Add({"-filter_complex", "anullsrc=r=48000:cl=stereo" + length + "[silence]", "-map",
                 "[silence]"});
        }
        if (choice_.cover) {
            Add({"-map", StreamSpec(0, *choice_.cover)});
        }
    }

    // The length the output should reach: that of the streams it takes, as the source states
    // them, before any time window.
    std::optional<double> ExpectedLength() const {
        if (!facts_ || !choice_.Any()) {
            return std::nullopt;
        }
        std::optional<double> length;
        auto take = [&length](std::optional<double> l) {
            if (l && (!length || *l > *length)) {
                length = l;
            }
        };
        if (choice_.film) {
            take(facts_->LengthOf(choice_.film));
        }
        if (choice_.sound || choice_.still) {
            take(facts_->LengthOf(choice_.sound ? choice_.sound : facts_->Sound()));
        }
        return length;
    }

    // A disc preset sets container, codecs, size and rates itself; the converter may still give
    // the video and audio bit rates and the aspect.
    void Target() {
        Add({"-target", r_.target});
        if (r_.videoKbps) {
            Add({"-b:v", Kbps(*r_.videoKbps)});
        }
        if (target_ && PictureSource()) {
            Picture();
        } else if (!r_.aspect.empty()) {
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

    void Video() {
        if (video_) {
            Add({"-c:v", std::string(video_->encoder)});
        } else if (!r_.videoCodec.empty()) {
            Add({"-c:v", r_.videoCodec});
        }
        if (PictureSource()) {
            Picture();
        } else if (choice_.blank) {
            Blank();
        } else {
            PictureWithoutFacts();
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
        if (const int packet = Holds().maxPacketBytes; packet > 0 && video_) {
            // The encoder's buffer model keeps every picture well below the container's packet size,
            // lowering the quality of the few pictures that would not fit.
            const double kbps = r_.videoKbps.value_or(1000);
            Add({"-maxrate", Kbps(kbps), "-bufsize", Kbps(std::floor(packet * 8.0 * 0.75 / 1000))});
        }
        if (const std::string rate = FrameRate(); !rate.empty()) {
            Add({"-r", rate});
        }
    }

    // The stream the picture comes from, when its size is known.
    const StreamFacts* PictureSource() const {
        const StreamFacts* source = choice_.film ? choice_.film : choice_.still;
        return source && source->width > 0 && source->height > 0 ? source : nullptr;
    }

    // The picture upright and fitted into the frame; a cover becomes a still picture that lasts
    // as long as the sound.
    void Picture() {
        PictureRequest request;
        request.size = r_.size;
        if (!r_.aspect.empty()) {
            request.shape = ParseRatio(r_.aspect);
        }
        request.target = target_;
        const VideoCodecInfo& codec = video_ ? *video_ : Mpeg4Part2();
        const StreamFacts& source = *PictureSource();
        const PictureFit fit =
            FitPicture(source, request, codec, VideoLimitsOf(video_ ? video_->encoder : ""), Holds());
        for (const auto& note : fit.notes) {
            Note(note);
        }
        if (choice_.film) {
            // Every encoder here writes whole pictures: interlaced ones are made whole first (each
            // picture flagged interlaced, the others pass as they are), so that neither scaling
            // nor a player shows the two fields' combs.
            Add({"-vf", (choice_.film->interlaced ? "bwdif=mode=send_frame:deint=interlaced," : "") +
                            fit.Filters()});
            return;
        }
        // The fps filter states the still's rate to the encoder too, which would otherwise take the
        // picture stream's own (90000 for a cover in an MP3): more than some encoders accept at all.
        const std::string rate = target_ ? RatioText(target_->frameRate) : MadePictureRate();
        const std::string still = "[" + StreamSpec(r_.start.empty() ? 0 : 1, source) +
                                  "]loop=loop=-1:size=1:start=0,setpts=N/((" + rate + ")*TB),fps=" + rate +
                                  LengthFilter("trim", facts_->LengthOf(facts_->Sound()));
        Add({"-filter_complex", still + "," + fit.Filters() + "[still]"});
    }

    // A black picture of the frame asked for, as long as the sound.
    void Blank() {
        const int alignment = video_ ? video_->alignment : 2;
        const FrameSize size =
            r_.size ? FrameSize{Align(r_.size->width, alignment), Align(r_.size->height, alignment)}
                    : FrameSize{320, 240};
        Add({"-filter_complex", "color=c=black:s=" + std::to_string(size.width) + "x" +
                                    std::to_string(size.height) + ":r=" + MadePictureRate() +
                                    LengthFilter("trim", facts_->LengthOf(choice_.sound)) + "[still]"});
    }

    // The frame rate of a picture the engine makes (a still, a black picture): the one asked for,
    // else 25 a second.
    std::string MadePictureRate() {
        const std::string rate = FrameRate();
        return rate.empty() ? "25" : rate;
    }

    static std::string RatioText(Ratio r) { return std::to_string(r.num) + "/" + std::to_string(r.den); }

    // The filter (",trim=duration=..." or ",atrim=...") that ends a made picture or sound with a
    // stream of the given length, from the start asked for and within the time window. Without
    // a length the output ends with its shortest stream, or a picture after one frame.
    std::string LengthFilter(const std::string& trim, std::optional<double> length) {
        if (!length) {
            if (choice_.sound || choice_.film) {
                Add({"-shortest"});
                return {};
            }
            return "," + trim + (trim == "atrim" ? "=end_sample=1" : "=end_frame=1");
        }
        *length -= r_.start.empty() ? 0 : ParseTimeText(r_.start).value_or(0);
        if (!r_.duration.empty()) {
            *length = std::min(*length, ParseTimeText(r_.duration).value_or(*length));
        }
        return "," + trim + "=duration=" + Number(std::max(*length, 0.04));
    }

    // Without facts about the source: the size asked for, or the source's rounded to what the
    // encoder takes.
    void PictureWithoutFacts() {
        const int alignment = video_ ? video_->alignment : 2;
        if (r_.size) {
            FrameSize size{Align(r_.size->width, alignment), Align(r_.size->height, alignment)};
            Add({"-s", std::to_string(size.width) + "x" + std::to_string(size.height)});
        } else {
            const std::string a = std::to_string(alignment);
            Add({"-vf", "scale=w=max(" + a + "\\,trunc(iw/" + a + ")*" + a + "):h=max(" + a + "\\,trunc(ih/" +
                            a + ")*" + a + ")"});
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

    // A sound file keeps the source's tags where its container holds them, also those an Ogg or
    // FLAC source keeps with its sound rather than with the file (the file's own come first).
    void Tags() {
        if (!r_.noVideo || !choice_.sound || !container_ || !container_->keepsTags) {
            return;
        }
        Add({"-map_metadata", "0", "-map_metadata", "0:s:" + std::to_string(choice_.sound->index)});
    }

    std::string FrameRate() {
        if (r_.frameRate.empty()) {
            return {};
        }
        std::string rate = ExactFrameRate(r_.frameRate);
        const double wanted = std::stod(r_.frameRate);
        if (video_ && video_->mpegFrameRates) {
            const auto& rates = MpegFrameRates();
            auto best = std::min_element(rates.begin(), rates.end(),
                                         [wanted](const FrameRateInfo& a, const FrameRateInfo& b) {
                                             return std::fabs(a.value - wanted) < std::fabs(b.value - wanted);
                                         });
            if (std::fabs(best->value - wanted) > 0.01 && !rateNoted_) {
                Note("Note: MPEG video cannot run at " + r_.frameRate + " frames per second; " +
                     Number(best->value) + " is used");
            }
            rateNoted_ = true;
            return std::string(best->text);
        }
        const VideoLimits& limits = VideoLimitsOf(video_ ? video_->encoder : "");
        const Ratio most = limits.maxFrameRate;
        if (most.num > 0 && wanted > most.Value() + 0.001) {
            if (!rateNoted_) {
                Note("Note: " + std::string(limits.label) + " video cannot run faster than " +
                     Number(most.Value()) + " frames per second; " + Number(most.Value()) + " is used");
            }
            rateNoted_ = true;
            return RatioText(most);
        }
        return rate;
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
        const StreamFacts* sound = choice_.sound;
        int channels = r_.channels.value_or(sound && sound->channels > 0 ? sound->channels : 2);
        if (audio && audio->fixedChannels) {
            channels = audio->fixedChannels;
            Add({"-ac", std::to_string(channels)});
        } else if (r_.channels || (audio && channels > audio->maxChannels)) {
            // A source with more channels than the encoder holds is mixed down to as many as it does.
            channels = audio ? std::min(channels, audio->maxChannels) : channels;
            Add({"-ac", std::to_string(channels)});
        }
        int rate = r_.sampleRate.value_or(sound && sound->sampleRate > 0 ? sound->sampleRate : 44100);
        std::vector<int> allowed = audio ? audio->sampleRates : std::vector<int>{};
        if (container_ && !container_->audioRates.empty()) {
            allowed = container_->audioRates;
        }
        const bool sourceRateRefused = sound && sound->sampleRate > 0 &&
                                       std::find(allowed.begin(), allowed.end(), rate) == allowed.end();
        if (!allowed.empty() && (r_.sampleRate || allowed.size() == 1 || sourceRateRefused)) {
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

    // The cover kept beside the sound: copied where the container takes its kind of picture,
    // else made into the kind it takes.
    void Cover() {
        if (!choice_.cover) {
            return;
        }
        const auto& kinds = Holds().coverCodecs;
        const bool takes = std::find(kinds.begin(), kinds.end(), choice_.cover->codec) != kinds.end();
        Add({"-c:v", takes ? std::string("copy") : std::string(kinds.front()), "-disposition:v:0",
             "attached_pic"});
    }

    const Request& r_;
    const std::optional<SourceFacts>& facts_;
    FfmpegPlan& plan_;
    const ContainerInfo* container_ = nullptr;
    const VideoCodecInfo* video_ = nullptr;
    std::optional<TargetFrame> target_;
    StreamChoice choice_;
    bool rateNoted_ = false;
};

} // namespace

FfmpegPlan Translate(const Request& request, const std::optional<SourceFacts>& facts,
                     const std::string& input, const std::string& output, int progressFd) {
    FfmpegPlan plan;
    Translator(request, facts, plan).Run(input, output, progressFd);
    return plan;
}

} // namespace avcore
