#include "batch/batch_setup.h"

#include "app/options.h"
#include "app/utils.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "profiles/optiondetails.h"
#include "sources/sourcelist.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <sys/stat.h>

namespace {

// What one file in flight may take of the memory at most, by what its engine and FFmpeg were
// seen to take at their peak, with room to spare: a sound file; a video file up to full HD; and a
// larger picture, which grows with its pixels: converted at its size to AV1 a 4K film took 1.6 GiB,
// to H.265 1.5 GiB, to H.264 1.1 GiB (full HD to AV1 or H.264: 0.5 GiB).
constexpr int64_t kSoundFileBytes = 128LL << 20;
constexpr int64_t kVideoFileBytes = 512LL << 20;
constexpr int64_t kVideoBaseBytes = 128LL << 20;
constexpr int64_t kVideoBytesPerPixel = 224;

// MemAvailable of /proc/meminfo in bytes; -1 when it cannot be read.
int64_t availableMemory() {
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : meminfo.readAll().split('\n')) {
        if (!line.startsWith("MemAvailable:"))
            continue;
        bool ok = false;
        const qint64 kb = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? kb * 1024 : -1;
    }
    return -1;
}

int formatIndexOf(const QString& name) {
    for (const TFormatInfo& f : FormatCatalogue())
        if (f.Format.compare(name, Qt::CaseInsensitive) == 0 ||
            f.Format.section(QLatin1Char(' '), 0, 0).compare(name, Qt::CaseInsensitive) == 0)
            return f.Index;
    return -1;
}

// What a name that is not a regular file names instead.
Ids notAFileReason(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return Ids::IDS_ADD_NotRegular;
    if (S_ISDIR(st.st_mode))
        return Ids::IDS_ADD_Folder;
    if (S_ISFIFO(st.st_mode))
        return Ids::IDS_ADD_Fifo;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return Ids::IDS_ADD_Device;
    if (S_ISSOCK(st.st_mode))
        return Ids::IDS_ADD_Socket;
    return Ids::IDS_ADD_NotRegular;
}

} // namespace

TOutputChoice StoredOutputChoice() {
    TOutputChoice choice;
    choice.formatIndex = Options.OutputFormat < FormatCount ? int(Options.OutputFormat) : 0;
    choice.profileName = ProfileNames(choice.formatIndex).value(0);
    choice.outputFolder = Options.LastOutputOpenDir;
    return choice;
}

QString FormatNames() {
    QStringList names;
    for (const TFormatInfo& f : FormatCatalogue())
        names << f.Format.section(QLatin1Char(' '), 0, 0);
    return names.join(QStringLiteral(", "));
}

bool ChooseOutput(const QString& formatName, const QString& profileName, TOutputChoice& choice,
                  QString& error) {
    choice = StoredOutputChoice();
    if (!formatName.isEmpty()) {
        choice.formatIndex = formatIndexOf(formatName);
        if (choice.formatIndex < 0) {
            error = FormatStr(Str(Ids::IDS_CLI_UnknownFormat), {formatName, FormatNames()});
            return false;
        }
    }
    const QStringList profiles = ProfileNames(choice.formatIndex);
    choice.profileName = profiles.value(0);
    if (profileName.isEmpty())
        return true;
    choice.profileName = profiles.contains(profileName) ? profileName : QString();
    for (const QString& name : profiles)
        if (choice.profileName.isEmpty() && name.compare(profileName, Qt::CaseInsensitive) == 0)
            choice.profileName = name;
    if (!choice.profileName.isEmpty())
        return true;
    error =
        FormatStr(Str(Ids::IDS_CLI_NoProfile),
                  {FormatCatalogue()[size_t(choice.formatIndex)].Format, profileName,
                   profiles.isEmpty() ? Str(Ids::IDS_CLI_NoProfiles) : profiles.join(QStringLiteral(", "))});
    return false;
}

TBatchSettings BatchSettingsFor(const TOutputChoice& choice, int filesAtOnceOption, int64_t largestPicture) {
    TBatchSettings settings;
    settings.outputFolder = choice.outputFolder;
    settings.outputExtension = OutputExtension(choice.formatIndex, choice.profileName);
    settings.profileOptions = [format = choice.formatIndex, profile = choice.profileName] {
        return GetProfileOptions(format, profile);
    };
    settings.avsExtensions = AvsExtensions;
    const TFormatInfo* format = FormatInfo(choice.formatIndex);
    settings.filesAtOnce =
        FilesAtOnceFor(filesAtOnceOption, format ? format->Kind : TFormatKind::Video, largestPicture);
    return settings;
}

int64_t LargestPicture(const TSourceList& sources) {
    int64_t largest = 0;
    for (int row = 0; row < sources.Count(); ++row) {
        const TFileItem& item = sources.Row(row).Item;
        bool wide = false;
        bool high = false;
        const int64_t pixels = item.Width.toLongLong(&wide) * item.Height.toLongLong(&high);
        if (wide && high)
            largest = std::max(largest, pixels);
    }
    return largest;
}

int FilesAtOnceFor(int option, TFormatKind kind, int64_t largestPicture) {
    if (option > 0)
        return std::min(option, MaxFilesAtOnce);
    return AutomaticFilesAtOnce(kind, QThread::idealThreadCount(), availableMemory(), largestPicture);
}

int AutomaticFilesAtOnce(TFormatKind kind, int processors, int64_t availableBytes, int64_t largestPicture) {
    processors = std::max(1, processors);
    int files =
        kind == TFormatKind::Audio ? processors : std::clamp(processors / 2, std::min(2, processors), 4);
    if (availableBytes >= 0) {
        // A sound output takes no picture, whatever the source holds.
        const int64_t perFile =
            kind == TFormatKind::Audio
                ? kSoundFileBytes
                : std::max(kVideoFileBytes,
                           kVideoBaseBytes + kVideoBytesPerPixel * std::max<int64_t>(0, largestPicture));
        files = int(std::min<int64_t>(files, availableBytes / perFile));
    }
    return std::clamp(files, 1, MaxFilesAtOnce);
}

QString AddResultText(TAddResult result, const QString& path) {
    switch (result) {
    case TAddResult::NotFound:
        return Str(Ids::IDS_ADD_NotFound);
    case TAddResult::NotRegularFile:
        return Str(notAFileReason(path));
    case TAddResult::NotAccepted:
        return Str(Ids::IDS_ADD_NotAccepted);
    case TAddResult::NotMedia:
        return Str(Ids::IDS_ADD_NotMedia);
    case TAddResult::Added:
    case TAddResult::Duplicate:
        break;
    }
    return {};
}

TNotConverted RefusedFile(const QString& path, TAddResult result) {
    const QString reason = AddResultText(result, path);
    return TNotConverted{path, TNotConverted::Kind::Refused, reason, {reason}};
}
