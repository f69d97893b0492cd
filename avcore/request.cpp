#include "request.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace avcore {
namespace {

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

// "1080k", "1080K", "1.5M" or a plain number, in kbit/s.
std::optional<double> ParseKbps(std::string text) {
    double scale = 1;
    if (!text.empty() && (text.back() == 'k' || text.back() == 'K')) {
        text.pop_back();
    } else if (!text.empty() && (text.back() == 'm' || text.back() == 'M')) {
        text.pop_back();
        scale = 1000;
    }
    auto value = ParseNumber(text);
    if (!value || *value <= 0) {
        return std::nullopt;
    }
    return *value * scale;
}

std::optional<FrameSize> ParseSize(const std::string& text) {
    auto x = text.find_first_of("xX");
    if (x == std::string::npos) {
        return std::nullopt;
    }
    auto w = ParseInt(std::string_view(text).substr(0, x));
    auto h = ParseInt(std::string_view(text).substr(x + 1));
    if (!w || !h || *w <= 0 || *h <= 0 || *w > 16384 || *h > 16384) {
        return std::nullopt;
    }
    return FrameSize{*w, *h};
}

bool IsAspect(const std::string& text) {
    auto colon = text.find(':');
    if (colon == std::string::npos) {
        auto v = ParseNumber(text);
        return v && *v > 0;
    }
    auto a = ParseNumber(std::string_view(text).substr(0, colon));
    auto b = ParseNumber(std::string_view(text).substr(colon + 1));
    return a && b && *a > 0 && *b > 0;
}

using ValueSetter = std::function<bool(Request&, const std::string&)>;

struct OptionRule {
    bool takesValue;
    std::function<void(Request&)> flag;
    ValueSetter set;
    const char* what; // what the value should be, for the error sentence
};

const std::map<std::string, OptionRule>& Vocabulary() {
    static const std::map<std::string, OptionRule> rules = {
        {"-y", {false, [](Request& r) { r.overwrite = true; }, {}, ""}},
        {"-sameq", {false, [](Request& r) { r.sameQuality = true; }, {}, ""}},
        {"-an", {false, [](Request& r) { r.noAudio = true; }, {}, ""}},
        {"-vn", {false, [](Request& r) { r.noVideo = true; }, {}, ""}},
        {"-f",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.format = v;
              return !v.empty();
          },
          "a container name"}},
        {"-t",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.duration = v;
              return ParseTimeText(v).has_value();
          },
          "a time such as 0:01:00.000"}},
        {"-ss",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.start = v;
              return ParseTimeText(v).has_value();
          },
          "a time such as 0:00:30.000"}},
        {"-vcodec",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.videoCodec = v;
              return !v.empty();
          },
          "a codec name"}},
        {"-acodec",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.audioCodec = v;
              return !v.empty();
          },
          "a codec name"}},
        {"-s",
         {true,
          {},
          [](Request& r, const std::string& v) { return (r.size = ParseSize(v)).has_value(); },
          "a frame size such as 320x240"}},
        {"-b",
         {true,
          {},
          [](Request& r, const std::string& v) { return (r.videoKbps = ParseKbps(v)).has_value(); },
          "a bit rate such as 1080k"}},
        {"-r",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.frameRate = v;
              auto n = ParseNumber(v);
              return n && *n > 0 && *n <= 1000;
          },
          "a frame rate such as 25"}},
        {"-aspect",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.aspect = v;
              return IsAspect(v);
          },
          "an aspect ratio such as 4:3"}},
        {"-ac",
         {true,
          {},
          [](Request& r, const std::string& v) {
              // "5:1" is the converter's way of asking for six channels (5.1 surround).
              r.channels = v == "5:1" || v == "5.1" ? std::optional<int>(6) : ParseInt(v);
              return r.channels && *r.channels > 0 && *r.channels <= 8;
          },
          "a channel count such as 2"}},
        {"-ab",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.audioKbps = ParseKbps(v);
              // A plain number is kbit/s; a figure this large can only be meant as bit/s.
              if (r.audioKbps && *r.audioKbps >= 8000 && v.find_first_of("kKmM") == std::string::npos) {
                  *r.audioKbps /= 1000;
              }
              return r.audioKbps.has_value();
          },
          "a bit rate in kbit/s such as 128"}},
        {"-ar",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.sampleRate = ParseInt(v);
              return r.sampleRate && *r.sampleRate >= 1000 && *r.sampleRate <= 192000;
          },
          "a sample rate in Hz such as 44100"}},
        {"-target",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.target = v;
              return !v.empty();
          },
          "a preset such as pal-dvd"}},
        {"-strict",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.strict = v;
              return ParseInt(v).has_value() || !v.empty();
          },
          "a level such as -2"}},
        {"-crf",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.crf = ParseInt(v);
              return r.crf && *r.crf >= 0 && *r.crf <= 63;
          },
          "a constant quality from 0 to 63"}},
        {"-preset",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.preset = v;
              const auto& speeds = EncoderSpeeds();
              return std::find(speeds.begin(), speeds.end(), v) != speeds.end();
          },
          "an encoder speed such as medium"}},
        {"-aq",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.audioQuality = ParseNumber(v);
              return r.audioQuality && *r.audioQuality >= -1 && *r.audioQuality <= 10;
          },
          "an audio quality from -1 to 10"}},
        {"-compression_level",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.compressionLevel = ParseInt(v);
              return r.compressionLevel && *r.compressionLevel >= 0 && *r.compressionLevel <= 12;
          },
          "a compression level from 0 to 12"}},
        {"-abits",
         {true,
          {},
          [](Request& r, const std::string& v) {
              r.audioBits = ParseInt(v);
              return r.audioBits && (*r.audioBits == 16 || *r.audioBits == 24);
          },
          "a sample size of 16 or 24 bits"}},
    };
    return rules;
}

} // namespace

const std::vector<std::string>& EncoderSpeeds() {
    static const std::vector<std::string> speeds = {"ultrafast", "superfast", "veryfast", "faster",  "fast",
                                                    "medium",    "slow",      "slower",   "veryslow"};
    return speeds;
}

std::optional<double> ParseNumber(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseTimeText(const std::string& text) {
    if (text.empty() || text.front() == '-') {
        return std::nullopt;
    }
    double seconds = 0;
    std::string_view rest = text;
    int fields = 0;
    while (true) {
        auto colon = rest.find(':');
        auto part = rest.substr(0, colon);
        if (part.empty()) {
            return std::nullopt;
        }
        ++fields;
        if (colon == std::string_view::npos) {
            auto v = ParseNumber(part);
            if (!v || *v < 0) {
                return std::nullopt;
            }
            return seconds * 60 + *v;
        }
        auto v = ParseInt(part);
        if (!v || *v < 0 || fields > 2) {
            return std::nullopt;
        }
        seconds = seconds * 60 + *v;
        rest = rest.substr(colon + 1);
    }
}

std::optional<Request> ParseRequest(const std::vector<std::string>& args, std::string& error) {
    Request request;
    bool codeSeen = false;
    bool inputSeen = false;
    if (args.empty()) {
        error = "Error: no arguments. Usage: avcore.dll -p CODE -i INPUT [options] OUTPUT";
        return std::nullopt;
    }
    const std::size_t last = args.size() - 1;
    for (std::size_t i = 0; i < last; ++i) {
        const std::string& arg = args[i];
        if (arg == "-p" || arg == "-i") {
            if (i + 1 >= last) {
                error = "Error: the option " + arg + " needs a value";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (arg == "-p") {
                if (value != kAccessCode) {
                    error = "Error: wrong access code; this engine only runs for the converter";
                    return std::nullopt;
                }
                codeSeen = true;
            } else {
                // One conversion reads one file: a second input smuggled in through a time text
                // ("0:10:00 -i other") would convert, and then delete, the wrong file.
                if (inputSeen) {
                    error = "Error: more than one input file was given (-i \"" + request.input +
                            "\" and -i \"" + value + "\"); only one is converted at a time";
                    return std::nullopt;
                }
                request.input = value;
                inputSeen = true;
            }
            continue;
        }
        auto rule = Vocabulary().find(arg);
        if (rule == Vocabulary().end()) {
            error = "Error: unknown option \"" + arg + "\"";
            return std::nullopt;
        }
        if (!rule->second.takesValue) {
            rule->second.flag(request);
            continue;
        }
        if (i + 1 >= last) {
            error = "Error: the option " + arg + " needs " + rule->second.what;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (!rule->second.set(request, value)) {
            error = "Error: the value \"" + value + "\" of " + arg + " is not valid; it should be " +
                    rule->second.what;
            return std::nullopt;
        }
    }
    if (!codeSeen) {
        error = "Error: the access code is missing; this engine only runs for the converter";
        return std::nullopt;
    }
    if (!inputSeen || request.input.empty()) {
        error = "Error: no input file was given (-i)";
        return std::nullopt;
    }
    request.output = args[last];
    if (request.output.empty() || request.output == "-i" || request.output == request.input) {
        error = request.output == request.input ? "Error: the output file cannot be the input file"
                                                : "Error: no output file was given";
        return std::nullopt;
    }
    return request;
}

} // namespace avcore
