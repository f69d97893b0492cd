#pragma once
// The media facts of one source file, read once when the file joins the source list.
#include <QString>

struct TFileItem {
    QString FileName;     // file name part of the path as given (no folder)
    QString FilePath;     // folder part of the path as given, ending in "/"
    QString CompleteName; // the rest as the media library reports it, or the "<None>" text
    QString FileSize;     // bytes, decimal text
    QString Format;
    QString PlayTime;
    QString AudioCount;
    QString VideoCount;
    QString VideoCodec;
    QString Width;
    QString Height;
    QString VideoBitrate;
    QString AspectRatio;
    QString FrameRate;
    QString AudioCodec;
    QString AudioBitrate;
    QString Channels;
    QString SamplingRate;

    // FilePath + FileName: the path the record was made for.
    QString FullPath() const { return FilePath + FileName; }
};

// A record with FileName and FilePath split from the path at its last "/"; the other fields empty.
TFileItem NewFileItem(const QString& path);

// FileSize as a number of bytes; 0 when it is not a number.
qint64 FileSizeBytes(const TFileItem& item);
