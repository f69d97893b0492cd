#include "source.h"

#include "request.h"

#include <charconv>
#include <cmath>
#include <map>
#include <numeric>
#include <sstream>

namespace avcore {
namespace {

int ParseInt(const std::string& text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A turn in degrees, either way round, as the quarter turn that shows the picture upright.
int QuarterTurn(double degrees) {
    const long quarters = std::lround(degrees / 90.0);
    return static_cast<int>(((quarters % 4) + 4) % 4) * 90;
}

StreamFacts MakeStream(const std::map<std::string, std::string>& f) {
    auto get = [&f](const char* key) {
        auto it = f.find(key);
        return it == f.end() ? std::string() : it->second;
    };
    StreamFacts s;
    s.index = ParseInt(get("index"));
    const std::string type = get("codec_type");
    s.kind = type == "video" ? StreamKind::Video : type == "audio" ? StreamKind::Audio : StreamKind::Other;
    s.codec = get("codec_name");
    s.cover = get("DISPOSITION:attached_pic") == "1";
    s.isDefault = get("DISPOSITION:default") == "1";
    s.width = ParseInt(get("width"));
    s.height = ParseInt(get("height"));
    s.pixelShape = ParseRatio(get("sample_aspect_ratio")).value_or(Ratio{});
    const std::string fields = get("field_order");
    s.interlaced =
        fields == "tt" || fields == "bb" || fields == "tb" || fields == "bt" || s.codec == "dvvideo";
    // The display matrix, or the older "rotate" tag.
    if (auto turn = ParseNumber(get("rotation"))) {
        s.rotation = QuarterTurn(*turn);
    } else if (auto tag = ParseNumber(get("TAG:rotate"))) {
        s.rotation = QuarterTurn(*tag);
    }
    for (const char* key : {"avg_frame_rate", "r_frame_rate"}) {
        if (auto rate = ParseRatio(get(key)); rate && s.frameRate == 0) {
            s.frameRate = rate->Value();
        }
    }
    s.sampleRate = ParseInt(get("sample_rate"));
    s.channels = ParseInt(get("channels"));
    s.duration = ParseNumber(get("duration"));
    if (!s.duration) {
        s.duration = ParseTimeText(get("TAG:DURATION")); // Matroska's "00:01:02.500000000"
    }
    if (s.duration && *s.duration <= 0) {
        s.duration.reset();
    }
    return s;
}

template <typename Better>
const StreamFacts* Best(const std::vector<StreamFacts>& streams, StreamKind kind, bool covers,
                        Better better) {
    const StreamFacts* best = nullptr;
    for (const auto& s : streams) {
        if (s.kind == kind && s.cover == covers && (!best || better(s, *best))) {
            best = &s;
        }
    }
    return best;
}

} // namespace

Ratio MakeRatio(long long num, long long den) {
    if (num <= 0 || den <= 0) {
        return {};
    }
    const long long g = std::gcd(num, den);
    return {num / g, den / g};
}

std::optional<Ratio> ParseRatio(const std::string& text) {
    const auto colon = text.find_first_of(":/");
    if (colon == std::string::npos) {
        auto value = ParseNumber(text);
        if (!value || *value <= 0 || *value > 1000) {
            return std::nullopt;
        }
        return MakeRatio(std::llround(*value * 10000), 10000);
    }
    auto num = ParseNumber(text.substr(0, colon));
    auto den = ParseNumber(text.substr(colon + 1));
    if (!num || !den || *num <= 0 || *den <= 0 || *num > 1e6 || *den > 1e6) {
        return std::nullopt;
    }
    if (*num == std::floor(*num) && *den == std::floor(*den)) {
        return MakeRatio(static_cast<long long>(*num), static_cast<long long>(*den));
    }
    return MakeRatio(std::llround(*num * 10000), std::llround(*den * 10000));
}

const StreamFacts* SourceFacts::Film() const {
    return Best(streams, StreamKind::Video, false, [](const StreamFacts& a, const StreamFacts& b) {
        if (a.isDefault != b.isDefault) {
            return a.isDefault;
        }
        return static_cast<long long>(a.width) * a.height > static_cast<long long>(b.width) * b.height;
    });
}

const StreamFacts* SourceFacts::Cover() const {
    return Best(streams, StreamKind::Video, true,
                [](const StreamFacts&, const StreamFacts&) { return false; });
}

const StreamFacts* SourceFacts::Sound() const {
    return Best(streams, StreamKind::Audio, false, [](const StreamFacts& a, const StreamFacts& b) {
        if (a.isDefault != b.isDefault) {
            return a.isDefault;
        }
        return a.channels > b.channels;
    });
}

std::optional<double> SourceFacts::LengthOf(const StreamFacts* stream) const {
    return stream && stream->duration ? stream->duration : duration;
}

std::vector<std::string> ProbeArgs(const std::vector<std::string>& inputOptions, const std::string& input) {
    std::vector<std::string> args = {"-v", "quiet", "-hide_banner"};
    args.insert(args.end(), inputOptions.begin(), inputOptions.end());
    args.insert(args.end(), {"-show_entries",
                             "format=duration:stream=index,codec_type,codec_name,width,height,field_order,"
                             "sample_aspect_ratio,avg_frame_rate,r_frame_rate,duration,sample_rate,channels:"
                             "stream_disposition=default,attached_pic:stream_side_data=rotation:"
                             "stream_tags=rotate,DURATION",
                             "-of", "default", input});
    return args;
}

std::optional<SourceFacts> ParseProbe(const std::string& text) {
    SourceFacts facts;
    std::istringstream in(text);
    std::string line;
    std::map<std::string, std::string> fields;
    enum class Section { None, Stream, Format } section = Section::None;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == "[STREAM]" || line == "[FORMAT]") {
            section = line == "[STREAM]" ? Section::Stream : Section::Format;
            fields.clear();
        } else if (line == "[/STREAM]" && section == Section::Stream) {
            facts.streams.push_back(MakeStream(fields));
            section = Section::None;
        } else if (line == "[/FORMAT]" && section == Section::Format) {
            if (auto it = fields.find("duration"); it != fields.end()) {
                facts.duration = ParseNumber(it->second);
            }
            section = Section::None;
        } else if (section != Section::None) {
            // Side data sections sit inside a stream; their "rotation" is the stream's.
            const auto eq = line.find('=');
            if (eq != std::string::npos && eq > 0) {
                fields.emplace(line.substr(0, eq), line.substr(eq + 1));
            }
        }
    }
    if (facts.streams.empty()) {
        return std::nullopt;
    }
    if (facts.duration && *facts.duration <= 0) {
        facts.duration.reset();
    }
    return facts;
}

} // namespace avcore
