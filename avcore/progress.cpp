#include "progress.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace avcore {
namespace {

constexpr auto kHeartbeat = std::chrono::milliseconds(400);

long long ToLong(const std::string& text, long long fallback) {
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    return end == text.c_str() ? fallback : value;
}

} // namespace

std::string ProgressWriter::Format(long long frame, double fps, long long bytes, long long timeUs,
                                   const std::string& speed) {
    char buffer[256];
    std::string line;
    if (frame > 0) {
        std::snprintf(buffer, sizeof buffer, "frame=%5lld fps=%5.1f ", frame, fps);
        line += buffer;
    }
    if (bytes >= 0) {
        std::snprintf(buffer, sizeof buffer, "size=%8lldkB", bytes / 1024);
    } else {
        std::snprintf(buffer, sizeof buffer, "size=N/A");
    }
    line += buffer;
    if (timeUs >= 0) {
        const double seconds = static_cast<double>(timeUs) / 1e6;
        std::snprintf(buffer, sizeof buffer, " time=%.2f ", seconds);
        line += buffer;
        if (bytes >= 0 && timeUs > 0) {
            std::snprintf(buffer, sizeof buffer, "bitrate=%6.1fkbits/s",
                          static_cast<double>(bytes) * 8 / 1000 / seconds);
        } else {
            std::snprintf(buffer, sizeof buffer, "bitrate=N/A");
        }
        line += buffer;
    } else {
        line += " time=10000000000.0 bitrate=N/A"; // no position known yet
    }
    if (!speed.empty() && speed != "N/A") {
        line += " speed=" + speed;
    }
    return line;
}

void ProgressWriter::Feed(std::string_view bytes) {
    partial_.append(bytes);
    std::size_t start = 0;
    for (auto end = partial_.find('\n'); end != std::string::npos; end = partial_.find('\n', start)) {
        const std::string line = partial_.substr(start, end - start);
        start = end + 1;
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        value.erase(0, value.find_first_not_of(' '));
        if (key == "frame") {
            frame_ = ToLong(value, frame_);
        } else if (key == "fps") {
            fps_ = std::atof(value.c_str());
        } else if (key == "total_size") {
            bytes_ = ToLong(value, -1);
        } else if (key == "out_time_us") {
            timeUs_ = ToLong(value, -1);
            reachedUs_ = std::max(reachedUs_, timeUs_);
        } else if (key == "speed") {
            speed_ = value;
        } else if (key == "progress") {
            Report();
        }
    }
    partial_.erase(0, start);
}

void ProgressWriter::Report() {
    // Before the first frame FFmpeg may report a negative or unknown position.
    Emit(Format(frame_, fps_, bytes_, timeUs_ < 0 ? -1 : timeUs_, speed_));
}

void ProgressWriter::Tick(Clock::time_point now) {
    if (now - lastEmit_ >= kHeartbeat) {
        Emit(last_);
    }
}

void ProgressWriter::Emit(const std::string& line) {
    last_ = line;
    lastEmit_ = Clock::now();
    sink_(line);
}

} // namespace avcore
