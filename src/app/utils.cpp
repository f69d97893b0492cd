#include "app/utils.h"

#include "app/power.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <array>

// ---- Paths and files ------------------------------------------------------------------------

QString AddTrailingBackslash(const QString& path) {
    if (path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString FileNameWithoutExt(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString ReplaceFileName(const QString& path, const QString& newName) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return folder + newName + (dot < 0 ? QString() : name.mid(dot));
}

int64_t GetFileSize64(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return -1;
    // A folder entry has no size of its own.
    return info.isDir() ? 0 : info.size();
}

bool DeleteIfEmpty(const QString& path) {
    if (GetFileSize64(path) != 0 || QFileInfo(path).isDir())
        return false;
    return QFile::remove(path);
}

bool HasAnyChar(const QString& set, const QString& text) {
    for (QChar c : text) {
        if (set.contains(c))
            return true;
    }
    return false;
}

bool IsValidFileName(const QString& text) {
    return !text.isEmpty() && !HasAnyChar(QStringLiteral("\\/:*?\"<>|"), text);
}

QString GetShellFolder(const QString& name) {
    struct Folder {
        const char* name;
        QStandardPaths::StandardLocation location;
    };
    static constexpr std::array<Folder, 6> kFolders = {{
        {"Personal", QStandardPaths::DocumentsLocation},
        {"Desktop", QStandardPaths::DesktopLocation},
        {"My Music", QStandardPaths::MusicLocation},
        {"My Video", QStandardPaths::MoviesLocation},
        {"My Pictures", QStandardPaths::PicturesLocation},
        {"Local AppData", QStandardPaths::GenericDataLocation},
    }};
    for (const Folder& f : kFolders) {
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return QStandardPaths::standardLocations(f.location).value(0);
    }
    return {};
}

QString NearestExistingFolder(const QString& folder) {
    if (TrimControls(folder).isEmpty())
        return QDir::homePath();
    if (QFileInfo(folder).isDir())
        return folder;
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QDir::rootPath();
        path = parent;
    }
    return path;
}

// ---- Text -----------------------------------------------------------------------------------

QStringList SplitText(const QString& text, const QString& delimiter) {
    if (delimiter.isEmpty())
        return {text};
    return text.split(delimiter, Qt::KeepEmptyParts);
}

int CountOf(const QString& text, QChar delimiter) {
    return int(text.count(delimiter));
}

QString TrimControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString ExtractBetween(const QString& text, const QString& startMarker, const QString& endMarker) {
    // Positions are 1-based as in the engine-output rules: f is the first character after the
    // start marker (or, when it is missing, position length(startMarker)).
    const qsizetype p = text.indexOf(startMarker) + 1;
    const qsizetype f = p + startMarker.size();
    const qsizetype n = text.mid(f).indexOf(endMarker) + 1;
    if (n <= 0)
        return {};
    return TrimControls(text.mid(f - 1, n));
}

QString ConvertLineBreaks(const QString& text, bool decode) {
    const QString marker = QStringLiteral("#13");
    QString result = TrimControls(text);
    if (decode)
        return result.replace(marker, QStringLiteral("\n"));
    result.replace(QLatin1String("\r\n"), marker);
    result = TrimControls(result).replace(QLatin1Char('\n'), marker);
    return TrimControls(result).replace(QLatin1Char('\r'), marker);
}

QString FormatStr(const QString& format, const QStringList& args) {
    QString out;
    out.reserve(format.size() + 32);
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        if (format.at(i + 1) == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        // Skip flags, width and precision, then take the conversion letter.
        qsizetype j = i + 1;
        while (j < format.size() &&
               (format.at(j).isDigit() || QStringLiteral(".-+ #").contains(format.at(j))))
            ++j;
        if (j < format.size() && (format.at(j) == QLatin1Char('s') || format.at(j) == QLatin1Char('d'))) {
            out += args.value(next++);
            i = j;
            continue;
        }
        out += c;
    }
    return out;
}

// ---- Dialogs, busy cursor, completion action -----------------------------------------------

int MessageDlgCaptions(const QString& message, const QString& title, TMsgDlgType type,
                       const QStringList& captions, TMsgDlgButtons buttons, TMsgDlgBtn defaultButton) {
    try {
        return Dialogs().MessageDlgCaptions(message, title, type, captions, buttons, defaultButton);
    } catch (...) {
        return mrNone;
    }
}

bool BrowseForFolder(QString& folder, const QString& title, const QString& root) {
    return Dialogs().BrowseForFolder(folder, title, root);
}

namespace {
int g_busyDepth = 0;
}

void BeginBusy() {
    ++g_busyDepth;
    Dialogs().SetBusyCursor(true);
}

void EndBusy() {
    if (g_busyDepth == 0)
        return;
    if (--g_busyDepth == 0)
        Dialogs().SetBusyCursor(false);
}

int BusyDepth() {
    return g_busyDepth;
}

void ShutdownAction(int action) {
    static constexpr std::array<TPowerAction, 5> kActions = {TPowerAction::PowerOff, TPowerAction::EndSession,
                                                             TPowerAction::Reboot, TPowerAction::Hibernate,
                                                             TPowerAction::Suspend};
    if (action == 0) {
        Power().EndProgram();
        return;
    }
    if (action < 1 || action > 5)
        return;
    const TPowerAction what = kActions[action - 1];
    if (Power().Allowed(what))
        Power().Perform(what);
}
