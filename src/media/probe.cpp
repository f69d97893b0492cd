#include "media/probe.h"

#include "lang/strings.h"
#include "media/mediainfo.h"

#include <QFileInfo>

#include <array>

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
    return info.Inform();
}
