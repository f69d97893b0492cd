#include "probe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

#include <dlfcn.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <sstream>

#if defined(__SANITIZE_ADDRESS__)
// In a build with the address sanitizer: its leak checker's last scan reads the thread-local
// blocks of every library as it noted them, also of the libraries closed since, and crashed on
// them after some sources (a film in Matroska), so that the engine failed. Nothing on the engine's
// heap is referred to only from thread-local storage: the scan leaves it out.
extern "C" const char* __lsan_default_options() {
    return "use_tls=0";
}
#endif

namespace avcore {
namespace {

// FFmpeg's libraries are opened when a source is read and closed again once it has been read:
// they bring some hundred and forty libraries (every codec's), whose mappings would otherwise
// make starting FFmpeg from this process and this process's own end slower, and stay in memory
// for the whole conversion. The names are those of the versions the engine was built with.
struct Libav {
    void* handle = nullptr;
    decltype(&av_log_set_level) log_set_level = nullptr;
    decltype(&av_dict_set) dict_set = nullptr;
    decltype(&av_dict_get) dict_get = nullptr;
    decltype(&av_dict_free) dict_free = nullptr;
    decltype(&av_get_media_type_string) get_media_type_string = nullptr;
    decltype(&av_display_rotation_get) display_rotation_get = nullptr;
    decltype(&avcodec_descriptor_get) descriptor_get = nullptr;
    decltype(&avformat_open_input) open_input = nullptr;
    decltype(&avformat_find_stream_info) find_stream_info = nullptr;
    decltype(&avformat_close_input) close_input = nullptr;
    decltype(&av_guess_sample_aspect_ratio) guess_sample_aspect_ratio = nullptr;
    decltype(&av_stream_get_side_data) stream_get_side_data = nullptr;
};

Libav g_libav;

// What the libraries allocate for themselves while they are open is theirs: once they are closed
// nothing refers to it any more, and a leak checker is told not to count it.
class LeakCheckPause {
  public:
    LeakCheckPause() {
#if defined(__SANITIZE_ADDRESS__)
        __lsan_disable();
#endif
    }
    ~LeakCheckPause() {
#if defined(__SANITIZE_ADDRESS__)
        __lsan_enable();
#endif
    }
    LeakCheckPause(const LeakCheckPause&) = delete;
    LeakCheckPause& operator=(const LeakCheckPause&) = delete;
};

template <typename F> bool Resolve(void* handle, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(handle, name));
    return function != nullptr;
}

const Libav* OpenLibav() {
    if (g_libav.handle) {
        return &g_libav;
    }
    // libavformat names libavcodec and libavutil among its own libraries, so every function is
    // found through its handle. Their functions are bound when first called: binding all of the
    // hundred-odd libraries they bring up front costs some 3 ms before the source is read, for
    // functions a probe never calls.
    const std::string name = "libavformat.so." + std::to_string(LIBAVFORMAT_VERSION_MAJOR);
    Libav l;
    l.handle = dlopen(name.c_str(), RTLD_LAZY | RTLD_LOCAL);
    // Without them the source goes undescribed, as FFmpeg, which needs them too, will say.
    if (!l.handle) {
        return nullptr;
    }
    if (!Resolve(l.handle, "av_log_set_level", l.log_set_level) ||
        !Resolve(l.handle, "av_dict_set", l.dict_set) || !Resolve(l.handle, "av_dict_get", l.dict_get) ||
        !Resolve(l.handle, "av_dict_free", l.dict_free) ||
        !Resolve(l.handle, "av_get_media_type_string", l.get_media_type_string) ||
        !Resolve(l.handle, "av_display_rotation_get", l.display_rotation_get) ||
        !Resolve(l.handle, "avcodec_descriptor_get", l.descriptor_get) ||
        !Resolve(l.handle, "avformat_open_input", l.open_input) ||
        !Resolve(l.handle, "avformat_find_stream_info", l.find_stream_info) ||
        !Resolve(l.handle, "avformat_close_input", l.close_input) ||
        !Resolve(l.handle, "av_guess_sample_aspect_ratio", l.guess_sample_aspect_ratio) ||
        !Resolve(l.handle, "av_stream_get_side_data", l.stream_get_side_data)) {
        dlclose(l.handle);
        return nullptr;
    }
    g_libav = l;
    return &g_libav;
}

struct CloseInput {
    const Libav* av;
    void operator()(AVFormatContext* context) const { av->close_input(&context); }
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

void DescribeStream(const Libav& av, std::ostringstream& out, AVFormatContext* format, AVStream* stream) {
    const AVCodecParameters* par = stream->codecpar;
    const AVCodecDescriptor* codec = av.descriptor_get(par->codec_id);
    const char* type = av.get_media_type_string(par->codec_type);
    out << "[STREAM]\nindex=" << stream->index << "\ncodec_name=" << (codec ? codec->name : "unknown")
        << "\ncodec_type=" << (type ? type : "unknown") << '\n';
    if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
        out << "width=" << par->width << "\nheight=" << par->height << '\n';
        // FFprobe's names of the field orders.
        static const char* const kFieldOrders[] = {"unknown", "progressive", "tt", "bb", "tb", "bt"};
        const int fieldOrder = static_cast<int>(par->field_order);
        out << "field_order="
            << (fieldOrder >= 0 && fieldOrder < static_cast<int>(std::size(kFieldOrders))
                    ? kFieldOrders[fieldOrder]
                    : "unknown")
            << '\n';
        if (const AVRational shape = av.guess_sample_aspect_ratio(format, stream, nullptr); shape.num != 0) {
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
        if (const AVDictionaryEntry* tag = av.dict_get(stream->metadata, name, nullptr, 0)) {
            out << "TAG:" << tag->key << '=' << tag->value << '\n';
        }
    }
    size_t size = 0;
    const uint8_t* matrix = av.stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (matrix && size >= 9 * sizeof(int32_t)) {
        const double rotation = av.display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
        if (std::isfinite(rotation)) {
            out << "[SIDE_DATA]\nrotation=" << static_cast<long long>(rotation) << "\n[/SIDE_DATA]\n";
        }
    }
    out << "[/STREAM]\n";
}

} // namespace

std::optional<std::string> ProbeInProcess(const std::vector<std::string>& inputOptions,
                                          const std::string& input) {
    const LeakCheckPause theirs;
    const Libav* const av = OpenLibav();
    if (!av) {
        return std::nullopt;
    }
    // Nothing of FFmpeg's own logging may reach the engine's output.
    av->log_set_level(AV_LOG_QUIET);
    AVDictionary* options = nullptr;
    for (std::size_t i = 0; i + 1 < inputOptions.size(); i += 2) {
        const std::string& name = inputOptions[i];
        av->dict_set(&options, name.c_str() + (name.rfind('-', 0) == 0 ? 1 : 0), inputOptions[i + 1].c_str(),
                     0);
    }
    // As FFprobe and FFmpeg do: every program of a transport stream is looked at.
    av->dict_set(&options, "scan_all_pmts", "1", AV_DICT_DONT_OVERWRITE);
    AVFormatContext* opened = nullptr;
    const int status = av->open_input(&opened, input.c_str(), nullptr, &options);
    av->dict_free(&options);
    if (status < 0) {
        return std::nullopt;
    }
    const std::unique_ptr<AVFormatContext, CloseInput> format(opened, CloseInput{av});
    if (av->find_stream_info(format.get(), nullptr) < 0) {
        return std::nullopt;
    }
    std::ostringstream out;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        DescribeStream(*av, out, format.get(), format->streams[i]);
    }
    out << "[FORMAT]\n";
    if (format->duration != AV_NOPTS_VALUE) {
        out << "duration=" << Seconds(static_cast<double>(format->duration) / AV_TIME_BASE) << '\n';
    }
    out << "[/FORMAT]\n";
    return out.str();
}

void CloseProbeLibraries() {
    if (!g_libav.handle) {
        return;
    }
    const LeakCheckPause theirs;
    dlclose(g_libav.handle);
    g_libav = Libav();
}

} // namespace avcore
