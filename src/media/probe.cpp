#include "media/probe.h"

#include "lang/strings.h"
#include "media/mediainfo.h"

#include <QFileInfo>
#include <QHash>

#include <array>
#include <cmath>
#include <utility>

namespace {

struct TProbeParameter {
    TStreamKind kind;
    const char* name;
    // The name the library uses today when it no longer answers to the first one (MediaInfo
    // 23.x gives nothing for "Codec/String" and for the video "Bitrate"); nullptr: none.
    const char* currentName;
    QString TFileItem::*field;
};

// Asked in this order; the video bit rate is "Bitrate" and the audio one "BitRate".
const std::array<TProbeParameter, 16> kProbeParameters = {{
    {TStreamKind::General, "CompleteName", nullptr, &TFileItem::CompleteName},
    {TStreamKind::General, "FileSize", nullptr, &TFileItem::FileSize},
    {TStreamKind::General, "Format", nullptr, &TFileItem::Format},
    {TStreamKind::General, "PlayTime/String3", nullptr, &TFileItem::PlayTime},
    {TStreamKind::General, "AudioCount", nullptr, &TFileItem::AudioCount},
    {TStreamKind::General, "VideoCount", nullptr, &TFileItem::VideoCount},
    {TStreamKind::Video, "Codec/String", "Format", &TFileItem::VideoCodec},
    {TStreamKind::Video, "Width", nullptr, &TFileItem::Width},
    {TStreamKind::Video, "Height", nullptr, &TFileItem::Height},
    {TStreamKind::Video, "Bitrate", "BitRate", &TFileItem::VideoBitrate},
    {TStreamKind::Video, "AspectRatio", nullptr, &TFileItem::AspectRatio},
    {TStreamKind::Video, "FrameRate", nullptr, &TFileItem::FrameRate},
    {TStreamKind::Audio, "Codec/String", "Format", &TFileItem::AudioCodec},
    {TStreamKind::Audio, "BitRate", nullptr, &TFileItem::AudioBitrate},
    {TStreamKind::Audio, "Channel(s)", nullptr, &TFileItem::Channels},
    {TStreamKind::Audio, "SamplingRate", nullptr, &TFileItem::SamplingRate},
}};

// Numbered files (1.ts, 2.ts, ...) are described one by one, not as one merged sequence.
void OpenSingleFile(TMediaInfo& info, const QString& path) {
    info.Option("File_TestContinuousFileNames", "0");
    info.Open(path);
}

// A picture stored a quarter turn round (a phone video shot upright) is described as it is
// shown: its width and height swapped, its aspect ratio inverted. The report names the rotation.
void DescribeUpright(const TMediaInfo& info, TFileItem& item) {
    bool ok = false;
    const double rotation = info.Get(TStreamKind::Video, "Rotation").toDouble(&ok);
    if (!ok || std::lround(rotation / 90) % 2 == 0)
        return;
    std::swap(item.Width, item.Height);
    const double aspect = item.AspectRatio.toDouble(&ok);
    if (ok && aspect > 0)
        item.AspectRatio = QString::number(1 / aspect, 'f', 3);
}

// The value part of a "Key        : value" line of the report, and its key.
qsizetype ValueStart(const QString& line) {
    const qsizetype colon = line.indexOf(QLatin1String(" : "));
    return colon < 0 ? -1 : colon + 3;
}
QString ReportKey(const QString& line) {
    const qsizetype start = ValueStart(line);
    return start < 0 ? QString() : line.left(start - 3).trimmed();
}
QString ReportValue(const QString& line) {
    return line.mid(ValueStart(line));
}
void SetReportValue(QString& line, const QString& value) {
    line = line.left(ValueStart(line)) + value;
}

// The report's video sections of pictures stored a quarter turn round give the width, height and
// display aspect ratio they are shown with; the rotation line stays.
QString ReportUpright(const QString& report) {
    QStringList lines = report.split(QLatin1Char('\n'));
    for (qsizetype section = 0; section < lines.size();) {
        qsizetype end = section;
        QHash<QString, qsizetype> fields;
        for (; end < lines.size() && !lines[end].trimmed().isEmpty(); ++end)
            fields.insert(ReportKey(lines[end]), end);
        const bool video = lines[section].startsWith(QLatin1String("Video"));
        const qsizetype width = fields.value(QStringLiteral("Width"), -1);
        const qsizetype height = fields.value(QStringLiteral("Height"), -1);
        const qsizetype rotation = fields.value(QStringLiteral("Rotation"), -1);
        bool ok = false;
        const double turn =
            rotation < 0 ? 0 : ReportValue(lines[rotation]).remove(QChar(0x00B0)).toDouble(&ok);
        if (video && ok && std::lround(turn / 90) % 2 != 0 && width >= 0 && height >= 0) {
            const QString shownHeight = ReportValue(lines[width]);
            SetReportValue(lines[width], ReportValue(lines[height]));
            SetReportValue(lines[height], shownHeight);
            // "16:9" becomes "9:16".
            if (const qsizetype aspect = fields.value(QStringLiteral("Display aspect ratio"), -1);
                aspect >= 0) {
                const QStringList terms = ReportValue(lines[aspect]).split(QLatin1Char(':'));
                if (terms.size() == 2)
                    SetReportValue(lines[aspect], terms[1] + QLatin1Char(':') + terms[0]);
            }
        }
        section = end + 1;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString ProbeText(const QString& value) {
    return value.isEmpty() ? Str(Ids::IDS_None) : value;
}

void ProbeFile(const QString& path, TFileItem& item) {
    ProbeFile(path, item, Str(Ids::IDS_None));
}

void ProbeFile(const QString& path, TFileItem& item, const QString& noneText) {
    TMediaInfo info;
    OpenSingleFile(info, path);
    for (const TProbeParameter& p : kProbeParameters) {
        QString value = info.Get(p.kind, p.name);
        if (value.isEmpty() && p.currentName)
            value = info.Get(p.kind, p.currentName);
        item.*p.field = value.isEmpty() ? noneText : value;
    }
    DescribeUpright(info, item);
}

bool IsDescribed(const TFileItem& item) {
    return IsDescribed(item, Str(Ids::IDS_None));
}

bool IsDescribed(const TFileItem& item, const QString& none) {
    return item.CompleteName != none && item.FileSize != none && item.Format != none;
}

TFileItem ProbeFileItem(const QString& path) {
    TFileItem item = NewFileItem(path);
    ProbeFile(path, item);
    return item;
}

QString MediaInfoReport(const QString& path) {
    if (!QFileInfo(path).isFile())
        return {};
    TMediaInfo info;
    OpenSingleFile(info, path);
    // The standard report, not the complete one.
    TMediaInfo::LibraryOption("Complete", "");
    return ReportUpright(info.Inform());
}
