#pragma once
// The defaults, load and save procedures of the formats, each over the format's current
// settings record (settings.h). Load starts from the defaults and never fails; save raises
// EVaridError("Unable to write to <file>") when the file cannot be written.
#include "profiles/settings.h"

#include <QString>

// The format words in format-index order; the record of word W is TWSettings, its current
// instance WSettings.
// clang-format off
#define VARID_PROFILE_FORMATS(X)                                                     \
    X(AVI) X(MP4) X(TGP) X(MPEG) X(Mov) X(Wmv) X(Rm) X(Swf) X(Vob) X(Asf)            \
    X(Aac) X(Ac3) X(Mp2) X(Mp3) X(Amr) X(Wav)                                        \
    X(Mkv) X(Webm) X(M4a) X(Flac) X(Opus) X(Ogg)
// clang-format on

void DefaultAVISettings();
void LoadAVISettings(const QString& fileName);
void SaveAVISettings(const QString& fileName);
void DefaultMP4Settings();
void LoadMP4Settings(const QString& fileName);
void SaveMP4Settings(const QString& fileName);
void DefaultTGPSettings();
void LoadTGPSettings(const QString& fileName);
void SaveTGPSettings(const QString& fileName);
void DefaultMPEGSettings();
void LoadMPEGSettings(const QString& fileName);
void SaveMPEGSettings(const QString& fileName);
void DefaultMovSettings();
void LoadMovSettings(const QString& fileName);
void SaveMovSettings(const QString& fileName);
void DefaultWmvSettings();
void LoadWmvSettings(const QString& fileName);
void SaveWmvSettings(const QString& fileName);
void DefaultRmSettings();
void LoadRmSettings(const QString& fileName);
void SaveRmSettings(const QString& fileName);
void DefaultSwfSettings();
void LoadSwfSettings(const QString& fileName);
void SaveSwfSettings(const QString& fileName);
void DefaultVobSettings();
void LoadVobSettings(const QString& fileName);
void SaveVobSettings(const QString& fileName);
void DefaultAsfSettings();
void LoadAsfSettings(const QString& fileName);
void SaveAsfSettings(const QString& fileName);
void DefaultAacSettings();
void LoadAacSettings(const QString& fileName);
void SaveAacSettings(const QString& fileName);
void DefaultAc3Settings();
void LoadAc3Settings(const QString& fileName);
void SaveAc3Settings(const QString& fileName);
void DefaultMp2Settings();
void LoadMp2Settings(const QString& fileName);
void SaveMp2Settings(const QString& fileName);
void DefaultMp3Settings();
void LoadMp3Settings(const QString& fileName);
void SaveMp3Settings(const QString& fileName);
void DefaultAmrSettings();
void LoadAmrSettings(const QString& fileName);
void SaveAmrSettings(const QString& fileName);
void DefaultWavSettings();
void LoadWavSettings(const QString& fileName);
void SaveWavSettings(const QString& fileName);
void DefaultMkvSettings();
void LoadMkvSettings(const QString& fileName);
void SaveMkvSettings(const QString& fileName);
void DefaultWebmSettings();
void LoadWebmSettings(const QString& fileName);
void SaveWebmSettings(const QString& fileName);
void DefaultM4aSettings();
void LoadM4aSettings(const QString& fileName);
void SaveM4aSettings(const QString& fileName);
void DefaultFlacSettings();
void LoadFlacSettings(const QString& fileName);
void SaveFlacSettings(const QString& fileName);
void DefaultOpusSettings();
void LoadOpusSettings(const QString& fileName);
void SaveOpusSettings(const QString& fileName);
void DefaultOggSettings();
void LoadOggSettings(const QString& fileName);
void SaveOggSettings(const QString& fileName);
