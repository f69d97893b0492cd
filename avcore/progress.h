// Reads FFmpeg's machine-readable progress reports (-progress) and writes the progress lines the
// converter understands: "size=" N "kB time=" seconds " bitrate=" N "kbits/s".
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace avcore {

using LineSink = std::function<void(const std::string& line)>;

class ProgressWriter {
  public:
    using Clock = std::chrono::steady_clock;

    explicit ProgressWriter(LineSink sink) : sink_(std::move(sink)) {}

    // Bytes from FFmpeg's progress pipe; every completed report becomes one progress line.
    void Feed(std::string_view bytes);
    // Repeats the latest line when none was written for a while, so that the converter sees
    // progress at least twice a second even while FFmpeg is busy starting up.
    void Tick(Clock::time_point now);

    // The furthest output position FFmpeg reported, in seconds; -1 before the first.
    double ReachedSeconds() const { return reachedUs_ < 0 ? -1 : static_cast<double>(reachedUs_) / 1e6; }

    // The line for a report; exposed for tests.
    static std::string Format(long long frame, double fps, long long bytes, long long timeUs,
                              const std::string& speed);

  private:
    void Report();
    void Emit(const std::string& line);

    LineSink sink_;
    std::string partial_;
    long long frame_ = -1;
    double fps_ = 0;
    long long bytes_ = -1;
    long long timeUs_ = -1;
    long long reachedUs_ = -1;
    std::string speed_;
    std::string last_ = Format(-1, 0, -1, -1, "");
    Clock::time_point lastEmit_ = Clock::now();
};

} // namespace avcore
