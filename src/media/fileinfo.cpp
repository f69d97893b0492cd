#include "media/fileinfo.h"

#include "app/byte_names.h"
#include "app/errors.h"
#include "app/safe_write.h"
#include "app/utils.h"
#include "media/probe.h"

#include <QFileInfo>
#include <QRegularExpression>

const std::array<TMediaPanelField, 15> kMediaPanelFields = {{
    {TPanelGroup::General, Ids::IDS_MAIN_LABEL_CompleteName, &TFileItem::CompleteName},
    {TPanelGroup::General, Ids::IDS_MAIN_LABEL_PlayTime, &TFileItem::PlayTime},
    {TPanelGroup::General, Ids::IDS_MAIN_LABEL_Format, &TFileItem::Format},
    {TPanelGroup::General, Ids::IDS_MAIN_LABEL_AudioCount, &TFileItem::AudioCount},
    {TPanelGroup::General, Ids::IDS_MAIN_LABEL_VideoCount, &TFileItem::VideoCount},
    {TPanelGroup::Video, Ids::IDS_MAIN_LABEL_Codec, &TFileItem::VideoCodec},
    {TPanelGroup::Video, Ids::IDS_MAIN_LABEL_Width, &TFileItem::Width},
    {TPanelGroup::Video, Ids::IDS_MAIN_LABEL_Height, &TFileItem::Height},
    {TPanelGroup::Video, Ids::IDS_MAIN_LABEL_Bitrate, &TFileItem::VideoBitrate},
    {TPanelGroup::Video, Ids::IDS_MAIN_LABEL_AspectRatio, &TFileItem::AspectRatio},
    {TPanelGroup::Video, Ids::IDS_MAIN_LABEL_FrameRate, &TFileItem::FrameRate},
    {TPanelGroup::Audio, Ids::IDS_MAIN_LABEL_Codec, &TFileItem::AudioCodec},
    {TPanelGroup::Audio, Ids::IDS_MAIN_LABEL_Bitrate, &TFileItem::AudioBitrate},
    {TPanelGroup::Audio, Ids::IDS_MAIN_LABEL_Channels, &TFileItem::Channels},
    {TPanelGroup::Audio, Ids::IDS_MAIN_LABEL_SamplingRate, &TFileItem::SamplingRate},
}};

QStringList MediaPanelValues(const TFileItem* item) {
    QStringList values;
    for (const TMediaPanelField& f : kMediaPanelFields) {
        const QString value = item ? item->*f.field : Str(Ids::IDS_None);
        // A source known by an alias shows its own name, not the alias's.
        values << (f.field == &TFileItem::CompleteName ? ByteNames().Display(value) : value);
    }
    return values;
}

std::optional<TFileInformation> FileInformation(const TFileItem& item) {
    const QString path = item.FullPath();
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return TFileInformation{FormatStr(Str(Ids::IDS_LABEL_FileInformation), {item.FileName}),
                            MediaInfoReport(path)};
}

QString FileInfoSaveFilter() {
    return Str(Ids::IDS_FILEINFORMATION_LABEL_TextFile) + QStringLiteral(" (*.txt);;") +
           Str(Ids::IDS_FILEINFORMATION_LABEL_AllFile) + QStringLiteral(" (*)");
}

QString FileInfoSaveName(const QString& chosen) {
    if (chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty())
        return chosen;
    return chosen + QLatin1String(".txt");
}

void SaveFileInfoReport(const QString& fileName, const QString& report) {
    QStringList lines = report.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QByteArray data;
    for (const QString& line : lines)
        data += line.toUtf8() + '\n';
    if (!ReplaceFileContents(fileName, data))
        throw EVaridError(QStringLiteral("Unable to write to %1").arg(fileName));
}
