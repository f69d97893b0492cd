#include "engine_fixture.h"

#include "engine/engine_parser.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

namespace avtest {
namespace {

constexpr int kProcessTimeoutMs = 120000;

QString RunTool(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    process.waitForFinished(kProcessTimeoutMs);
    if (exitCode) {
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    return QString::fromLocal8Bit(process.readAll());
}

QString Field(const QJsonObject& track, const char* name) {
    return track.value(QLatin1String(name)).toString();
}

} // namespace

QStringList EngineResult::ErrorLines() const {
    // The lines the converter's own output parser books as failures.
    QStringList errors;
    for (const QString& line : lines) {
        if (TEngineOutputParser::IsFailureLine(line)) {
            errors << line;
        }
    }
    return errors;
}

QStringList EngineArgs(const QString& input, const QString& options, const QString& output) {
    QStringList args{"-p", "4170352", "-i", input};
    args << options.split(' ', Qt::SkipEmptyParts);
    args << output;
    return args;
}

EngineResult RunEngine(const QStringList& args, const QStringList& extraEnv, const QString& workingDir,
                       const QStringList& launcher) {
    QProcess process;
    process.setWorkingDirectory(workingDir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    auto env = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : extraEnv) {
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    }
    process.setProcessEnvironment(env);
    const QString engine = QStringLiteral(VARID_BIN_DIR "/avcore.dll");
    if (launcher.isEmpty()) {
        process.start(engine, args);
    } else {
        process.start(launcher.first(), launcher.mid(1) + QStringList{engine} + args);
    }
    process.closeWriteChannel();
    EngineResult result;
    if (!process.waitForFinished(kProcessTimeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.text = QString::fromLocal8Bit(process.readAll());
    for (QString line : result.text.split('\n', Qt::SkipEmptyParts)) {
        line.remove('\r');
        result.lines << line;
    }
    return result;
}

MediaInfoFacts ReadMediaInfo(const QString& path) {
    MediaInfoFacts facts;
    const QString json = RunTool("mediainfo", {"--Output=JSON", path});
    const auto tracks =
        QJsonDocument::fromJson(json.toUtf8()).object().value("media").toObject().value("track").toArray();
    for (const auto& value : tracks) {
        const QJsonObject track = value.toObject();
        const QString type = Field(track, "@type");
        QString format = Field(track, "Format");
        if (!Field(track, "CodecID").isEmpty()) {
            format += ":" + Field(track, "CodecID");
        }
        if (type == "General") {
            facts.ok = true;
            facts.general = Field(track, "Format");
            facts.generalProfile = Field(track, "Format_Profile");
            facts.duration = Field(track, "Duration");
        } else if (type == "Video") {
            facts.video.push_back({format,
                                   Field(track, "Width"),
                                   Field(track, "Height"),
                                   Field(track, "FrameRate"),
                                   Field(track, "DisplayAspectRatio"),
                                   {},
                                   {},
                                   Field(track, "Format_Profile"),
                                   Field(track, "BitDepth")});
        } else if (type == "Audio") {
            facts.audio.push_back({format,
                                   {},
                                   {},
                                   {},
                                   {},
                                   Field(track, "Channels"),
                                   Field(track, "SamplingRate"),
                                   Field(track, "Format_Profile"),
                                   Field(track, "BitDepth")});
        }
    }
    return facts;
}

GstFacts Discover(const QString& path) {
    GstFacts facts;
    int exitCode = -1;
    facts.output = RunTool("gst-discoverer-1.0", {"-t", "60", path}, &exitCode);
    facts.ok = exitCode == 0 && !facts.output.contains("Missing plugins") &&
               facts.output.contains("Done discovering");
    static const QRegularExpression stream(R"(^\s*(video|audio) #\d+: (.*)$)",
                                           QRegularExpression::MultilineOption);
    for (auto it = stream.globalMatch(facts.output); it.hasNext();) {
        const auto match = it.next();
        (match.captured(1) == "video" ? facts.video : facts.audio) << match.captured(2).trimmed();
    }
    return facts;
}

bool MakeClip(const QString& path, const QString& size, double seconds, bool video, bool audio) {
    QStringList args{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"};
    const QString duration = QString::number(seconds);
    if (video) {
        args << "-f"
             << "lavfi"
             << "-i" << QString("testsrc=size=%1:rate=25:duration=%2").arg(size, duration);
    }
    if (audio) {
        args << "-f"
             << "lavfi"
             << "-i" << QString("sine=frequency=440:sample_rate=44100:duration=%1").arg(duration);
        args << "-ac"
             << "2";
    }
    if (video) {
        args << "-c:v"
             << "libx264"
             << "-preset"
             << "ultrafast"
             << "-pix_fmt"
             << "yuv420p";
    }
    args << path;
    int exitCode = -1;
    RunTool("ffmpeg", args, &exitCode);
    return exitCode == 0;
}

const ProbedStream* ProbedFile::Film() const {
    for (const auto& s : streams) {
        if (s.type == "video" && !s.cover) {
            return &s;
        }
    }
    return nullptr;
}

const ProbedStream* ProbedFile::Cover() const {
    for (const auto& s : streams) {
        if (s.type == "video" && s.cover) {
            return &s;
        }
    }
    return nullptr;
}

const ProbedStream* ProbedFile::Sound() const {
    for (const auto& s : streams) {
        if (s.type == "audio") {
            return &s;
        }
    }
    return nullptr;
}

namespace {

double RatioValue(const QString& text) {
    const QStringList parts = text.split(QRegularExpression("[:/]"));
    if (parts.size() != 2 || parts[1].toDouble() == 0) {
        return 0;
    }
    return parts[0].toDouble() / parts[1].toDouble();
}

} // namespace

ProbedFile Probe(const QString& path) {
    ProbedFile file;
    int exitCode = -1;
    const QString json =
        RunTool("ffprobe", {"-v", "error", "-show_format", "-show_streams", "-of", "json", path}, &exitCode);
    const QJsonObject root = QJsonDocument::fromJson(json.toUtf8()).object();
    file.ok = exitCode == 0 && root.contains("format");
    file.duration = root.value("format").toObject().value("duration").toString().toDouble();
    for (const auto& value : root.value("streams").toArray()) {
        const QJsonObject s = value.toObject();
        ProbedStream stream;
        stream.type = Field(s, "codec_type");
        stream.codec = Field(s, "codec_name");
        stream.width = s.value("width").toInt();
        stream.height = s.value("height").toInt();
        const double sar = RatioValue(Field(s, "sample_aspect_ratio"));
        stream.pixelShape = sar > 0 ? sar : 1;
        stream.frameRate = RatioValue(Field(s, "avg_frame_rate"));
        stream.duration = Field(s, "duration").toDouble();
        // Matroska and WebM keep a stream's length as a tag, a clock text ("00:00:01.000000000").
        if (!s.contains("duration")) {
            const QStringList clock = s.value("tags").toObject().value("DURATION").toString().split(':');
            if (clock.size() == 3) {
                stream.duration = clock[0].toDouble() * 3600 + clock[1].toDouble() * 60 + clock[2].toDouble();
            }
        }
        stream.cover = s.value("disposition").toObject().value("attached_pic").toInt() == 1;
        file.streams.push_back(stream);
    }
    return file;
}

double PictureShape(const QString& path) {
    const QString log = RunTool("ffmpeg", {"-hide_banner", "-nostdin", "-i", path, "-map", "0:V:0", "-vf",
                                           "cropdetect=limit=0.1:round=2:reset=0:skip=0", "-f", "null", "-"});
    static const QRegularExpression crop(R"(crop=(\d+):(\d+):\d+:\d+)");
    QRegularExpressionMatch last;
    for (auto it = crop.globalMatch(log); it.hasNext();) {
        last = it.next();
    }
    const ProbedFile file = Probe(path);
    const ProbedStream* film = file.Film();
    if (!last.hasMatch() || !film || last.captured(2).toInt() == 0) {
        return 0;
    }
    return last.captured(1).toDouble() * film->pixelShape / last.captured(2).toDouble();
}

CombCount CountCombs(const QString& path) {
    const QString log = RunTool("ffmpeg", {"-hide_banner", "-nostdin", "-i", path, "-map", "0:V:0", "-vf",
                                           "idet", "-f", "null", "-"});
    static const QRegularExpression counts(
        R"(Multi frame detection: TFF:\s*(\d+) BFF:\s*(\d+) Progressive:\s*(\d+))");
    const QRegularExpressionMatch m = counts.match(log);
    if (!m.hasMatch()) {
        return {};
    }
    return {m.captured(1).toInt() + m.captured(2).toInt(), m.captured(3).toInt()};
}

bool DecodesCleanly(const QString& path, QString* log) {
    int exitCode = -1;
    const QString text = RunTool(
        "ffmpeg", {"-hide_banner", "-nostdin", "-v", "error", "-i", path, "-map", "0", "-f", "null", "-"},
        &exitCode);
    if (log) {
        *log = text;
    }
    return exitCode == 0 && text.trimmed().isEmpty();
}

const Sources& Sources::Get() {
    static const Sources sources;
    return sources;
}

Sources::Sources() : dir_(std::make_unique<QTemporaryDir>()) {}

QString Sources::Clip(const char* name, const char* size, bool video, bool audio) const {
    const QString path = dir_->filePath(QString::fromLatin1(name));
    if (!QFileInfo::exists(path) && !MakeClip(path, QString::fromLatin1(size), 1, video, audio)) {
        ADD_FAILURE() << "FFmpeg could not make the test source " << name;
    }
    return path;
}

} // namespace avtest

namespace avtest {
namespace {

// FFmpeg's arguments for a plain-coloured picture and a tone, encoded the way cameras do.
QStringList ColourClip(const QString& picture, double pictureSeconds, double soundSeconds) {
    return {
        "-f",       "lavfi",
        "-i",       QString("color=c=orange:rate=25:duration=%1:size=%2").arg(pictureSeconds).arg(picture),
        "-f",       "lavfi",
        "-i",       QString("sine=frequency=440:sample_rate=44100:duration=%1").arg(soundSeconds),
        "-ac",      "2",
        "-c:v",     "libx264",
        "-preset",  "ultrafast",
        "-pix_fmt", "yuv420p",
        "-c:a",     "aac"};
}

} // namespace

QString Sources::Made(const char* name, const std::vector<QStringList>& runs) const {
    const QString path = dir_->filePath(QString::fromLatin1(name));
    if (QFileInfo::exists(path)) {
        return path;
    }
    for (const QStringList& run : runs) {
        QStringList args{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"};
        for (const QString& arg : run) {
            args << QString(arg).replace("%1", dir_->path());
        }
        int exitCode = -1;
        const QString log = RunTool("ffmpeg", args, &exitCode);
        if (exitCode != 0) {
            ADD_FAILURE() << "FFmpeg could not make the test source " << name << ": " << log.toStdString();
            return path;
        }
    }
    return path;
}

QString Sources::Portrait() const {
    // Phones store the picture as the sensor sees it and the turn that shows it upright.
    return Made("portrait.mp4", {ColourClip("320x180", 1, 1) << "%1/portrait-stored.mp4",
                                 {"-i", "%1/portrait-stored.mp4", "-c", "copy", "-metadata:s:v:0",
                                  "rotate=90", "%1/portrait.mp4"}});
}

QString Sources::Wide() const {
    return Made("wide.mp4", {ColourClip("320x180", 1, 1) << "%1/wide.mp4"});
}

QString Sources::Narrow() const {
    return Made("narrow.mp4", {ColourClip("240x180", 1, 1) << "%1/narrow.mp4"});
}

QString Sources::Anamorphic() const {
    return Made("anamorphic.mp4", {ColourClip("360x288", 1, 1) << "-vf"
                                                               << "setsar=64/45"
                                                               << "%1/anamorphic.mp4"});
}

QString Sources::FastHd() const {
    // Noise makes pictures that take many bytes each, as detailed footage does.
    return Made("fast-hd.mp4",
                {{"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=60:duration=0.25,noise=alls=40:allf=t",
                  "-f", "lavfi", "-i", "sine=duration=0.25", "-c:v", "libx264", "-preset", "ultrafast",
                  "-pix_fmt", "yuv420p", "-c:a", "aac", "%1/fast-hd.mp4"}});
}

QString Sources::Uhd() const {
    return Made("uhd.mp4", {ColourClip("4096x2160", 0.08, 0.08) << "%1/uhd.mp4"});
}

QString Sources::MkvFilm() const {
    // Encoded at the encoder's usual speed, with B-frames, as downloads are.
    QStringList args = ColourClip("320x240", 1, 1);
    args.replaceInStrings("ultrafast", "medium");
    return Made("film.mkv", {args << "%1/film.mkv"});
}

QString Sources::Interlaced() const {
    // Moving pictures, so that the two fields of each differ, encoded as interlaced in MPEG-TS.
    return Made("interlaced.mts", {{"-f",
                                    "lavfi",
                                    "-i",
                                    "testsrc2=size=720x576:rate=50:duration=1",
                                    "-f",
                                    "lavfi",
                                    "-i",
                                    "sine=duration=1",
                                    "-vf",
                                    "interlace=scan=tff",
                                    "-c:v",
                                    "libx264",
                                    "-preset",
                                    "ultrafast",
                                    "-flags",
                                    "+ildct+ilme",
                                    "-x264opts",
                                    "tff=1",
                                    "-pix_fmt",
                                    "yuv420p",
                                    "-c:a",
                                    "ac3",
                                    "%1/interlaced.mts"}});
}

QString Sources::ShortSound() const {
    return Made("short-sound.mp4", {ColourClip("320x240", 2, 0.5) << "%1/short-sound.mp4"});
}

QString Sources::CoverArt() const {
    return Made("cover.mp3", {{"-f",
                               "lavfi",
                               "-i",
                               "sine=frequency=440:duration=1",
                               "-f",
                               "lavfi",
                               "-i",
                               "color=c=orange:size=300x300:duration=0.04",
                               "-frames:v",
                               "1",
                               "-map",
                               "0",
                               "-map",
                               "1",
                               "-ac",
                               "2",
                               "-c:a",
                               "libmp3lame",
                               "-c:v",
                               "mjpeg",
                               "-disposition:v",
                               "attached_pic",
                               "%1/cover.mp3"}});
}

} // namespace avtest
