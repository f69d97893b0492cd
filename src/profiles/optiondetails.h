#pragma once
// The options builders: they turn a profile into the engine's options text, a row of engine
// options each ending in one blank ("-y -f avi -vcodec msmpeg4 -b 1080k ...").
#include "profiles/settings.h"

#include <QString>

// The options text of a settings record, without touching any file.
QString BuildOptions(const TAVISettings& s);
QString BuildOptions(const TMP4Settings& s);
QString BuildOptions(const TTGPSettings& s);
QString BuildOptions(const TMPEGSettings& s);
QString BuildOptions(const TMovSettings& s);
QString BuildOptions(const TWmvSettings& s);
QString BuildOptions(const TRmSettings& s);
QString BuildOptions(const TSwfSettings& s);
QString BuildOptions(const TVobSettings& s);
QString BuildOptions(const TAsfSettings& s);
QString BuildOptions(const TAacSettings& s);
QString BuildOptions(const TAc3Settings& s);
QString BuildOptions(const TMp2Settings& s);
QString BuildOptions(const TMp3Settings& s);
QString BuildOptions(const TAmrSettings& s);
QString BuildOptions(const TWavSettings& s);
QString BuildOptions(const TMkvSettings& s);
QString BuildOptions(const TWebmSettings& s);
QString BuildOptions(const TM4aSettings& s);
QString BuildOptions(const TFlacSettings& s);
QString BuildOptions(const TOpusSettings& s);
QString BuildOptions(const TOggSettings& s);

// Each loads the profile file into the format's current record (a missing file gives the
// defaults) and appends the record's options to text.
void GetAVIOptionDetails(const QString& fileName, QString& text);
void GetMP4OptionDetails(const QString& fileName, QString& text);
void GetTGPOptionDetails(const QString& fileName, QString& text);
void GetMPEGOptionDetails(const QString& fileName, QString& text);
void GetMovOptionDetails(const QString& fileName, QString& text);
void GetWmvOptionDetails(const QString& fileName, QString& text);
void GetRmOptionDetails(const QString& fileName, QString& text);
void GetSwfOptionDetails(const QString& fileName, QString& text);
void GetVobOptionDetails(const QString& fileName, QString& text);
void GetAsfOptionDetails(const QString& fileName, QString& text);
void GetAacOptionDetails(const QString& fileName, QString& text);
void GetAc3OptionDetails(const QString& fileName, QString& text);
void GetMp2OptionDetails(const QString& fileName, QString& text);
void GetMp3OptionDetails(const QString& fileName, QString& text);
void GetAmrOptionDetails(const QString& fileName, QString& text);
void GetWavOptionDetails(const QString& fileName, QString& text);
void GetMkvOptionDetails(const QString& fileName, QString& text);
void GetWebmOptionDetails(const QString& fileName, QString& text);
void GetM4aOptionDetails(const QString& fileName, QString& text);
void GetFlacOptionDetails(const QString& fileName, QString& text);
void GetOpusOptionDetails(const QString& fileName, QString& text);
void GetOggOptionDetails(const QString& fileName, QString& text);

// Sets text to the options of the profile file for the format Options.OutputFormat; an unknown
// format index leaves it empty.
void GetOptionDetails(const QString& fileName, QString& text);
// The same for a given format index.
QString FormatOptionDetails(int formatIndex, const QString& fileName);

// The options of the named profile of a format, read from its file in the format's profile folder
// as stored at this moment. An empty name or a missing file gives the format's defaults; an unknown
// format index gives an empty text.
QString GetProfileOptions(int formatIndex, const QString& profileName);
// The options of a format's defaults, for a format whose folder holds no profile; the current
// record is left alone.
QString GetDefaultOptions(int formatIndex);
