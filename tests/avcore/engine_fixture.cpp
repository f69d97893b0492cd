#include "engine_fixture.h"

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
    // The converter's failure shapes: a line beginning with "Error" (except a damaged frame's
    // warning), or one of three phrases anywhere.
    QStringList errors;
    for (const QString& line : lines) {
        if ((line.startsWith("Error") && !line.startsWith("Error while decoding stream")) ||
            line.contains("No audio or video streams available") || line.contains("I/O error occured") ||
            line.contains("Could not open")) {
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

EngineResult RunEngine(const QStringList& args, const QStringList& extraEnv, const QString& workingDir) {
    QProcess process;
    process.setWorkingDirectory(workingDir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    auto env = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : extraEnv) {
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    }
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VARID_BIN_DIR "/avcore.dll"), args);
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
