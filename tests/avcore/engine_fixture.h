// Shared pieces of the engine tests: short sources made with FFmpeg's test inputs, running
// avcore.dll, and the independent readers (MediaInfo and GStreamer) that judge its files.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace avtest {

struct EngineResult {
    int exitCode = -1;
    bool crashed = false;
    QStringList lines; // every output line, carriage returns removed
    QString text;      // the whole output, for failure messages

    QStringList ErrorLines() const; // lines the converter books as failures
    QString LastLine() const { return lines.isEmpty() ? QString() : lines.last(); }
};

// The engine's arguments for an options text written the converter's way (fragments with blanks).
QStringList EngineArgs(const QString& input, const QString& options, const QString& output);
// Runs avcore.dll, in workingDir when one is given.
EngineResult RunEngine(const QStringList& args, const QStringList& extraEnv = {},
                       const QString& workingDir = {});

struct Track {
    QString format; // MediaInfo's Format and CodecID, joined with ":"
    QString width, height, frameRate, displayAspect;
    QString channels, samplingRate;
    QString profile;  // MediaInfo's Format_Profile ("Layer 2" for MPEG audio)
    QString bitDepth; // bits per sample (audio) or per component (video)
};
struct MediaInfoFacts {
    bool ok = false;
    QString general;        // the container's Format
    QString generalProfile; // its Format_Profile ("QuickTime", "3GPP Media Release 4", ...)
    QString duration;       // seconds
    std::vector<Track> video, audio;
};
MediaInfoFacts ReadMediaInfo(const QString& path);

struct GstFacts {
    bool ok = false; // gst-discoverer ran and found no missing plug-in
    QString output;
    QStringList video, audio; // stream descriptions, one per "video #"/"audio #" line
};
GstFacts Discover(const QString& path);

// Makes a clip with FFmpeg's lavfi inputs; false when FFmpeg failed.
bool MakeClip(const QString& path, const QString& size, double seconds, bool video, bool audio);

// A folder with the test sources, each made on its first use and kept for the rest of the test
// program (ctest starts the program once per case, so a case makes only the source it needs).
class Sources {
  public:
    static const Sources& Get();
    QString AudioVideo() const { return Clip("av.mp4", "176x144", true, true); }    // 25 fps, stereo, 1 s
    QString VideoOnly() const { return Clip("video.mkv", "176x144", true, false); } // no audio stream
    QString AudioOnly() const { return Clip("audio.wav", "", false, true); }        // no video stream

  private:
    Sources();
    QString Clip(const char* name, const char* size, bool video, bool audio) const;
    std::unique_ptr<QTemporaryDir> dir_;
};

// Fixture with a temporary folder of its own for the outputs.
class EngineTest : public ::testing::Test {
  protected:
    QString Out(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

} // namespace avtest
