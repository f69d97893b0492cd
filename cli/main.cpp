// varid-convert: the converter on the command line, over the same program folder, options,
// language file and profiles as the window program.
#include "app/byte_names.h"
#include "app/errors.h"
#include "app/options.h"
#include "app/paths.h"
#include "cli_args.h"
#include "engine/batch_driver.h"
#include "engine/clock.h"
#include "engine/engine_process.h"
#include "engine/output_folder.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "profiles/catalogue.h"
#include "profiles/optiondetails.h"
#include "sources/sourcelist.h"
#include "terminal_dialogs.h"
#include "terminal_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kExitConverted = 0;
constexpr int kExitNotConverted = 1;
constexpr int kExitUsage = 2;

void out(const QString& text) {
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
}

void err(const QString& text) {
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

int usageError(const QString& message) {
    err(QStringLiteral("varid-convert: ") + message);
    err(QStringLiteral("Try \"varid-convert --help\"."));
    return kExitUsage;
}

// The format index of a name such as "mp3" or "SWF" (any letter case): the format's shown name or
// its short name, the shown name's first word ("SWF" of "SWF (Flash video)"); -1 when none.
int formatIndexOf(const QString& name) {
    for (const TFormatInfo& f : FormatCatalogue())
        if (f.Format.compare(name, Qt::CaseInsensitive) == 0 ||
            f.Format.section(QLatin1Char(' '), 0, 0).compare(name, Qt::CaseInsensitive) == 0)
            return f.Index;
    return -1;
}

QString formatNames() {
    QStringList names;
    for (const TFormatInfo& f : FormatCatalogue())
        names << f.Format;
    return names.join(QStringLiteral(", "));
}

// What a name that is not a regular file names instead.
QString notAFileReason(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("not a regular file");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("a folder, not a file");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("a named pipe (FIFO), not a file");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("a device, not a file");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("a socket, not a file");
    return QStringLiteral("not a regular file");
}

QString addReason(TAddResult result, const QString& path) {
    switch (result) {
    case TAddResult::NotFound:
        return QStringLiteral("not found");
    case TAddResult::NotRegularFile:
        return notAFileReason(path);
    case TAddResult::NotAccepted:
        return QStringLiteral("not an accepted type");
    case TAddResult::NotMedia:
        return QStringLiteral("not a media file");
    case TAddResult::Added:
    case TAddResult::Duplicate:
        break;
    }
    return {};
}

// Ctrl+C and SIGTERM stop the batch as "Stop now" does: the engine is ended, the files not yet
// converted are reported.
int g_signalPipe[2] = {-1, -1};
void onStopSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TByteNameAliases& byteNames = ByteNames();
    TCliArgs args;
    QString error;
    if (!ParseCliArgs(byteNames.Arguments(argc, argv), args, error))
        return usageError(error);
    if (args.help) {
        std::fputs(CliUsage().toLocal8Bit().constData(), stdout);
        return kExitConverted;
    }

    InitPaths();
    if (!args.language.isEmpty()) {
        const QString inLangs = LanguageFilePath(args.language);
        const QString path = QFileInfo::exists(args.language) ? args.language : inLangs;
        if (!QFileInfo(path).isFile())
            return usageError(QStringLiteral("No language file \"%1\".").arg(args.language));
        LanguageFileName = QFileInfo(path).absoluteFilePath();
    }
    TTerminalDialogs dialogs(args.overwrite);
    SetDialogs(&dialogs);
    try {
        LoadOptions();
    } catch (const EVaridError& e) {
        err(e.message());
        return kExitNotConverted;
    }
    if (!LoadLanguage())
        return kExitNotConverted;
    InitProfileFolders();
    if (!CreateProfileFolders()) {
        err(Str(Ids::IDS_MESSAGEBOX_CreateDirError));
        return kExitNotConverted;
    }

    if (args.listFormats) {
        for (const TFormatInfo& f : FormatCatalogue())
            out(QStringLiteral("%1\t%2").arg(f.Format, f.OutputExtension));
        return kExitConverted;
    }
    int format = Options.OutputFormat < FormatCount ? Options.OutputFormat : 0;
    if (!args.format.isEmpty()) {
        format = formatIndexOf(args.format);
        if (format < 0)
            return usageError(
                QStringLiteral("Unknown format \"%1\"; the formats are %2.").arg(args.format, formatNames()));
    }
    const QStringList profiles = ProfileNames(format);
    if (args.listProfiles) {
        for (const QString& name : profiles)
            out(name);
        return kExitConverted;
    }
    QString profile = profiles.value(0);
    if (!args.profile.isEmpty()) {
        profile = profiles.contains(args.profile) ? args.profile : QString();
        for (const QString& name : profiles)
            if (profile.isEmpty() && name.compare(args.profile, Qt::CaseInsensitive) == 0)
                profile = name;
        if (profile.isEmpty())
            return usageError(QStringLiteral("No %1 profile \"%2\"; the profiles are: %3.")
                                  .arg(FormatCatalogue()[format].Format, args.profile,
                                       profiles.isEmpty() ? QStringLiteral("(none)")
                                                          : profiles.join(QStringLiteral(", "))));
    }
    if (args.files.isEmpty())
        return usageError(QStringLiteral("No files given."));

    const QString outputDir = QDir::cleanPath(
        QDir::current().absoluteFilePath(args.output.isEmpty() ? QStringLiteral(".") : args.output));
    if (!args.dryRun) {
        if (const QString reason = CreateFolderPath(outputDir); !reason.isEmpty()) {
            err(QStringLiteral("Cannot create the output folder \"%1\": %2.").arg(outputDir, reason));
            return kExitNotConverted;
        }
    }
    Options.DeleteFileAfterProcessing = args.deleteSource;
    if (args.priority >= 0)
        Options.Priority = static_cast<uint8_t>(args.priority);

    // The sources, each once, in the order given; the ones the list refuses are reported.
    TSourceList list;
    QList<QPair<QString, QString>> notConverted; // source, reason
    QStringList accepted;
    // A file given more than once is one file: it is converted (and counted) once.
    QStringList files;
    QStringList seen;
    for (const QString& file : std::as_const(args.files)) {
        const QString path = QFileInfo(file).absoluteFilePath();
        if (seen.contains(path))
            continue;
        seen << path;
        files << file;
        const TAddResult result = list.AddSourceFile(path);
        if (result == TAddResult::Added)
            accepted << path;
        else if (const QString reason = addReason(result, path); !reason.isEmpty())
            notConverted.append({byteNames.Display(file), reason});
    }

    TEngineProcess engine;
    TTerminalView view(stdout, stderr, ::isatty(STDOUT_FILENO) == 1);
    TSystemClock clock;
    TBatchDriver driver(list, engine, view, clock);
    // With a final "/" the folder is taken as given: a name that ends in a blank stays that name.
    driver.SetSettings({outputDir + QLatin1Char('/'), OutputExtension(format, profile),
                        [format, profile] { return GetProfileOptions(format, profile); }, AvsExtensions});

    if (args.dryRun) {
        for (const QString& source : std::as_const(accepted))
            out(driver.CommandLineFor(source));
    } else {
        if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
            auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
            QObject::connect(notifier, &QSocketNotifier::activated, [&driver] {
                char c;
                while (::read(g_signalPipe[0], &c, 1) > 0) {
                }
                driver.StopNow();
            });
            std::signal(SIGINT, onStopSignal);
            std::signal(SIGTERM, onStopSignal);
        }
        const bool ran = !accepted.isEmpty() && driver.Convert();
        QStringList booked;
        for (const TFileOutcome& o : driver.Outcomes()) {
            booked << o.source;
            if (!o.converted)
                notConverted.append({byteNames.Display(o.source), o.reason});
        }
        const QString notRun = ran ? QStringLiteral("stopped before it was converted")
                                   : QStringLiteral("not converted: the batch did not start");
        for (const QString& source : std::as_const(accepted))
            if (!booked.contains(source))
                notConverted.append({byteNames.Display(source), notRun});
    }

    const qsizetype total = files.size();
    if (!args.dryRun)
        out(QStringLiteral("%1 of %2 files converted.").arg(total - notConverted.size()).arg(total));
    if (!notConverted.isEmpty()) {
        out(QStringLiteral("Not converted:"));
        for (const auto& [source, reason] : std::as_const(notConverted))
            out(QStringLiteral("  %1: %2").arg(source, reason));
    }
    return notConverted.isEmpty() ? kExitConverted : kExitNotConverted;
}
