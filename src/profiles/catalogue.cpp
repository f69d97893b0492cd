#include "profiles/catalogue.h"

#include "app/inifile.h"
#include "app/options.h"
#include "app/paths.h"
#include "app/utils.h"
#include "profiles/keytable.h"
#include "profiles/profiles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

#define VARID_FORMAT_PROCEDURES(W)                                                                           \
    &Default##W##Settings, &Load##W##Settings, &Save##W##Settings, &KeyNames<T##W##Settings>

TFormatInfo Format(int index, const char* format, TFormatKind kind, const char* word, const char* output,
                   const char* record, const char* chooserList, const char* editor, void (*defaults)(),
                   void (*load)(const QString&), void (*save)(const QString&), QStringList (*keyNames)()) {
    const QString folderWord = QString::fromLatin1(word);
    return {index,
            QString::fromLatin1(format),
            kind,
            folderWord,
            ProfileExtension(folderWord),
            QString::fromLatin1(output),
            QString::fromLatin1(record),
            QString::fromLatin1(chooserList),
            QString::fromLatin1(editor),
            defaults,
            load,
            save,
            keyNames};
}

static_assert(std::tuple_size_v<decltype(TOptions::ProfileFolders)> == FormatCount);

constexpr auto Video = TFormatKind::Video;
constexpr auto Audio = TFormatKind::Audio;

// The folders are created in this order of format indexes (the root first).
constexpr int FolderCreationOrder[FormatCount] = {0,  1,  2,  3,  4, 5,  6,  7,  10, 8,  11,
                                                  12, 13, 14, 15, 9, 16, 17, 18, 19, 20, 21};

constexpr int TgpFormatIndex = 2;
constexpr int Tgp2Form = 2;

void EnsureProfileFolders() {
    if (Options.ProfileRoot.isEmpty())
        InitProfileFolders();
}

// A profile's settings: every section and value except the (translated) description.
QList<QPair<QString, QString>> ProfileSettings(const QString& fileName) {
    const TIniFile ini(fileName);
    QList<QPair<QString, QString>> settings;
    for (const QString& section : ini.ReadSections()) {
        for (const auto& [key, value] : ini.ReadSectionValues(section)) {
            if (key.compare(QStringLiteral("Description"), Qt::CaseInsensitive) != 0)
                settings.append({section + QLatin1Char('/') + key, value});
        }
    }
    std::sort(settings.begin(), settings.end());
    return settings;
}

} // namespace

const std::array<TFormatInfo, FormatCount>& FormatCatalogue() {
    static const std::array<TFormatInfo, FormatCount> catalogue = {
        Format(0, "AVI", Video, "avi", ".avi", "TAVISettings", "cmbAVI", "TfrmAVIProfile",
               VARID_FORMAT_PROCEDURES(AVI)),
        Format(1, "MP4", Video, "mp4", ".mp4", "TMP4Settings", "cmbMP4", "TfrmMp4Profile",
               VARID_FORMAT_PROCEDURES(MP4)),
        Format(2, "3GP", Video, "3gp", ".3gp", "TTGPSettings", "cmb3GP", "TfrmTGPProfile",
               VARID_FORMAT_PROCEDURES(TGP)),
        Format(3, "MPEG", Video, "mpg", ".mpg", "TMPEGSettings", "cmbMPEG", "TfrmMPEGProfile",
               VARID_FORMAT_PROCEDURES(MPEG)),
        Format(4, "MOV", Video, "mov", ".mov", "TMovSettings", "cmbMOV", "TfrmMovProfile",
               VARID_FORMAT_PROCEDURES(Mov)),
        Format(5, "WMV", Video, "wmv", ".wmv", "TWmvSettings", "cmbWMV", "TfrmWmvProfile",
               VARID_FORMAT_PROCEDURES(Wmv)),
        Format(6, "RM", Video, "rm", ".rm", "TRmSettings", "cmbRM", "TfrmRMProfile",
               VARID_FORMAT_PROCEDURES(Rm)),
        Format(7, "SWF (Flash video)", Video, "swf", ".swf", "TSwfSettings", "cmbSWF", "TfrmSwfProfile",
               VARID_FORMAT_PROCEDURES(Swf)),
        Format(8, "VOB", Video, "vob", ".vob", "TVobSettings", "cmbVOB", "TfrmVobProfile",
               VARID_FORMAT_PROCEDURES(Vob)),
        Format(9, "ASF", Video, "asf", ".asf", "TAsfSettings", "cmbASF", "TfrmAsfProfile",
               VARID_FORMAT_PROCEDURES(Asf)),
        Format(10, "AAC", Audio, "aac", ".aac", "TAacSettings", "cmbAAC", "TfrmAacProfile",
               VARID_FORMAT_PROCEDURES(Aac)),
        Format(11, "AC3", Audio, "ac3", ".ac3", "TAc3Settings", "cmbAC3", "TfrmAc3Profile",
               VARID_FORMAT_PROCEDURES(Ac3)),
        Format(12, "MP2", Audio, "mp2", ".mp2", "TMp2Settings", "cmbMP2", "TfrmMp2Profile",
               VARID_FORMAT_PROCEDURES(Mp2)),
        Format(13, "MP3", Audio, "mp3", ".mp3", "TMp3Settings", "cmbMP3", "TfrmMp3Profile",
               VARID_FORMAT_PROCEDURES(Mp3)),
        Format(14, "AMR", Audio, "amr", ".amr", "TAmrSettings", "cmbAMR", "TfrmAmrProfile",
               VARID_FORMAT_PROCEDURES(Amr)),
        Format(15, "WAV", Audio, "wav", ".wav", "TWavSettings", "cmbWAV", "TfrmWavProfile",
               VARID_FORMAT_PROCEDURES(Wav)),
        Format(16, "MKV", Video, "mkv", ".mkv", "TMkvSettings", "cmbMKV", "TfrmMkvProfile",
               VARID_FORMAT_PROCEDURES(Mkv)),
        Format(17, "WebM", Video, "webm", ".webm", "TWebmSettings", "cmbWEBM", "TfrmWebmProfile",
               VARID_FORMAT_PROCEDURES(Webm)),
        Format(18, "M4A", Audio, "m4a", ".m4a", "TM4aSettings", "cmbM4A", "TfrmM4aProfile",
               VARID_FORMAT_PROCEDURES(M4a)),
        Format(19, "FLAC", Audio, "flac", ".flac", "TFlacSettings", "cmbFLAC", "TfrmFlacProfile",
               VARID_FORMAT_PROCEDURES(Flac)),
        Format(20, "Opus", Audio, "opus", ".opus", "TOpusSettings", "cmbOPUS", "TfrmOpusProfile",
               VARID_FORMAT_PROCEDURES(Opus)),
        Format(21, "OGG", Audio, "ogg", ".ogg", "TOggSettings", "cmbOGG", "TfrmOggProfile",
               VARID_FORMAT_PROCEDURES(Ogg)),
    };
    return catalogue;
}

const TFormatInfo* FormatInfo(int formatIndex) {
    if (formatIndex < 0 || formatIndex >= FormatCount)
        return nullptr;
    return &FormatCatalogue()[formatIndex];
}

QString ProfileExtension(const QString& folderWord) {
    return folderWord.left(2) + QLatin1Char('o');
}

QString ProfileRoot() {
    // A shipped language file of an installed program has its profiles in the user's langs/.
    // The language file's path without its extension: langs/English.ini gives langs/English.
    QString language = UserSideOf(LanguageFileName);
    const qsizetype dot = language.lastIndexOf(QLatin1Char('.'));
    if (dot > language.lastIndexOf(QLatin1Char('/')))
        language.truncate(dot);
    return AddTrailingBackslash(language + QStringLiteral("_Profile/"));
}

void InitProfileFolders() {
    Options.ProfileRoot = ProfileRoot();
    for (const TFormatInfo& format : FormatCatalogue())
        Options.ProfileFolders[format.Index] = Options.ProfileRoot + format.FolderWord + QLatin1Char('/');
}

bool CreateProfileFolders() {
    EnsureProfileFolders();
    if (!QDir().mkpath(Options.ProfileRoot))
        return false;
    for (int index : FolderCreationOrder) {
        if (!QDir().mkpath(Options.ProfileFolders[index]))
            return false;
    }
    return true;
}

QStringList FillProfileList(const QString& mask) {
    const qsizetype slash = mask.lastIndexOf(QLatin1Char('/'));
    const QDir folder(slash < 0 ? QStringLiteral(".") : mask.left(slash + 1));
    const QString pattern = mask.mid(slash + 1);
    QStringList names;
    for (const QFileInfo& file : folder.entryInfoList({pattern}, QDir::Files | QDir::CaseSensitive))
        names << file.completeBaseName();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int byName = a.compare(b, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a < b;
    });
    return names;
}

QStringList ProfileNames(int formatIndex) {
    const TFormatInfo* format = FormatInfo(formatIndex);
    if (!format)
        return {};
    EnsureProfileFolders();
    return FillProfileList(Options.ProfileFolders[formatIndex] + QStringLiteral("*.") +
                           format->ProfileExtension);
}

QString ProfileFileName(int formatIndex, const QString& profileName) {
    const TFormatInfo* format = FormatInfo(formatIndex);
    if (!format)
        return {};
    EnsureProfileFolders();
    return Options.ProfileFolders[formatIndex] + profileName + QLatin1Char('.') + format->ProfileExtension;
}

QString OutputExtension(int formatIndex, const QString& tgpProfileName) {
    const TFormatInfo* format = FormatInfo(formatIndex);
    if (!format)
        return {};
    if (formatIndex == TgpFormatIndex) {
        LoadTGPSettings(ProfileFileName(TgpFormatIndex, tgpProfileName));
        if (TGPSettings.TGPFormat == Tgp2Form)
            return QStringLiteral(".3g2");
    }
    return format->OutputExtension;
}

QString MatchingProfile(int formatIndex, const QString& otherProfileFile) {
    if (!FormatInfo(formatIndex) || !QFileInfo(otherProfileFile).isFile())
        return {};
    const auto wanted = ProfileSettings(otherProfileFile);
    if (wanted.isEmpty())
        return {};
    for (const QString& name : ProfileNames(formatIndex)) {
        if (ProfileSettings(ProfileFileName(formatIndex, name)) == wanted)
            return name;
    }
    return {};
}
