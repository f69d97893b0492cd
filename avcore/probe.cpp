#include "probe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>

namespace avcore {
namespace {

struct CloseInput {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

// A time or length as FFprobe prints it.
std::string Seconds(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

std::string Fraction(AVRational q, char separator) {
    return std::to_string(q.num) + separator + std::to_string(q.den);
}

void DescribeStream(std::ostringstream& out, AVFormatContext* format, AVStream* stream) {
    const AVCodecParameters* par = stream->codecpar;
    const AVCodecDescriptor* codec = avcodec_descriptor_get(par->codec_id);
    const char* type = av_get_media_type_string(par->codec_type);
    out << "[STREAM]\nindex=" << stream->index << "\ncodec_name=" << (codec ? codec->name : "unknown")
        << "\ncodec_type=" << (type ? type : "unknown") << '\n';
    if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
        out << "width=" << par->width << "\nheight=" << par->height << '\n';
        if (const AVRational shape = av_guess_sample_aspect_ratio(format, stream, nullptr); shape.num != 0) {
            out << "sample_aspect_ratio=" << Fraction(shape, ':') << '\n';
        }
    } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
        out << "sample_rate=" << par->sample_rate << "\nchannels=" << par->ch_layout.nb_channels << '\n';
    }
    out << "r_frame_rate=" << Fraction(stream->r_frame_rate, '/')
        << "\navg_frame_rate=" << Fraction(stream->avg_frame_rate, '/') << '\n';
    if (stream->duration != AV_NOPTS_VALUE) {
        out << "duration=" << Seconds(static_cast<double>(stream->duration) * av_q2d(stream->time_base))
            << '\n';
    }
    out << "DISPOSITION:default=" << ((stream->disposition & AV_DISPOSITION_DEFAULT) != 0 ? 1 : 0)
        << "\nDISPOSITION:attached_pic=" << ((stream->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0 ? 1 : 0)
        << '\n';
    // Tags are matched without regard to case and printed as the file spells them.
    for (const char* name : {"rotate", "DURATION"}) {
        if (const AVDictionaryEntry* tag = av_dict_get(stream->metadata, name, nullptr, 0)) {
            out << "TAG:" << tag->key << '=' << tag->value << '\n';
        }
    }
    size_t size = 0;
    const uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (matrix && size >= 9 * sizeof(int32_t)) {
        const double rotation = av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
        if (std::isfinite(rotation)) {
            out << "[SIDE_DATA]\nrotation=" << static_cast<long long>(rotation) << "\n[/SIDE_DATA]\n";
        }
    }
    out << "[/STREAM]\n";
}

} // namespace

std::optional<std::string> ProbeInProcess(const std::vector<std::string>& inputOptions,
                                          const std::string& input) {
    // Nothing of FFmpeg's own logging may reach the engine's output.
    av_log_set_level(AV_LOG_QUIET);
    AVDictionary* options = nullptr;
    for (std::size_t i = 0; i + 1 < inputOptions.size(); i += 2) {
        const std::string& name = inputOptions[i];
        av_dict_set(&options, name.c_str() + (name.rfind('-', 0) == 0 ? 1 : 0), inputOptions[i + 1].c_str(),
                    0);
    }
    // As FFprobe and FFmpeg do: every program of a transport stream is looked at.
    av_dict_set(&options, "scan_all_pmts", "1", AV_DICT_DONT_OVERWRITE);
    AVFormatContext* opened = nullptr;
    const int status = avformat_open_input(&opened, input.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (status < 0) {
        return std::nullopt;
    }
    const std::unique_ptr<AVFormatContext, CloseInput> format(opened);
    if (avformat_find_stream_info(format.get(), nullptr) < 0) {
        return std::nullopt;
    }
    std::ostringstream out;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        DescribeStream(out, format.get(), format->streams[i]);
    }
    out << "[FORMAT]\n";
    if (format->duration != AV_NOPTS_VALUE) {
        out << "duration=" << Seconds(static_cast<double>(format->duration) / AV_TIME_BASE) << '\n';
    }
    out << "[/FORMAT]\n";
    return out.str();
}

} // namespace avcore
