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
// Runs avcore.dll, in workingDir when one is given, through the command launcher when one is
// given (its program and arguments, such as setpriv's to run as another user).
EngineResult RunEngine(const QStringList& args, const QStringList& extraEnv = {},
                       const QString& workingDir = {}, const QStringList& launcher = {});

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

// What FFprobe reads from a file.
struct ProbedStream {
    QString type; // "video", "audio"
    QString codec;
    int width = 0, height = 0;
    double pixelShape = 1; // the sample aspect ratio
    double frameRate = 0;
    double duration = 0;
    bool cover = false; // an attached picture
    double Shape() const { return height > 0 ? width * pixelShape / height : 0; }
};
struct ProbedFile {
    bool ok = false;
    double duration = 0; // the container's
    std::vector<ProbedStream> streams;
    const ProbedStream* Film() const;  // the first video stream that is not a cover
    const ProbedStream* Cover() const; // the first cover
    const ProbedStream* Sound() const; // the first audio stream
};
ProbedFile Probe(const QString& path);
// The shape the picture is shown in inside its black borders (FFmpeg's border detection over
// every frame), 0 when there is none.
double PictureShape(const QString& path);
// How many of the file's pictures FFmpeg's interlace detection finds woven of two fields, and how
// many whole (both 0 when it could not tell).
struct CombCount {
    int interlaced = 0;
    int progressive = 0;
};
CombCount CountCombs(const QString& path);
// Whether FFmpeg decodes every stream of the file to the end without an error.
bool DecodesCleanly(const QString& path, QString* log = nullptr);

// A folder with the test sources, each made on its first use and kept for the rest of the test
// program (ctest starts the program once per case, so a case makes only the source it needs).
class Sources {
  public:
    static const Sources& Get();
    QString AudioVideo() const { return Clip("av.mp4", "176x144", true, true); }    // 25 fps, stereo, 1 s
    QString VideoOnly() const { return Clip("video.mkv", "176x144", true, false); } // no audio stream
    QString AudioOnly() const { return Clip("audio.wav", "", false, true); }        // no video stream

    // The kinds of file people really have, each 1 s or shorter, in one plain colour so that
    // black borders can be told from the picture.
    QString Portrait() const;   // 320x180 stored a quarter turn round: a phone video, 180x320 shown
    QString Wide() const;       // 16:9
    QString Narrow() const;     // 4:3
    QString Anamorphic() const; // 360x288 with wide pixels, shown 16:9
    QString FastHd() const;     // 1280x720 at 60 frames per second, full of fine detail, 0.25 s
    QString Uhd() const;        // 4096x2160, two frames
    QString ShortSound() const; // 2 s of picture, 0.5 s of sound
    QString CoverArt() const;   // MP3 with a cover picture (300x300)
    QString MkvFilm() const;    // H.264 and AAC in Matroska, 4:3, as downloads often are
    QString Interlaced() const; // 720x576, 50 fields a second woven into 25 pictures: camcorder footage

  private:
    Sources();
    QString Clip(const char* name, const char* size, bool video, bool audio) const;
    // A source made by FFmpeg runs, each given its arguments with "%1" for the folder.
    QString Made(const char* name, const std::vector<QStringList>& runs) const;
    std::unique_ptr<QTemporaryDir> dir_;
};

// Fixture with a temporary folder of its own for the outputs.
class EngineTest : public ::testing::Test {
  protected:
    QString Out(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

} // namespace avtest
