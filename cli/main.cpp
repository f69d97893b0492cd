// varid-convert: the converter on the command line, over the same program folder, options,
// language file and profiles as the window program.
#include "app/byte_names.h"
#include "app/errors.h"
#include "app/options.h"
#include "app/paths.h"
#include "app/utils.h"
#include "batch/batch_setup.h"
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
#include "terminal_text.h"
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
    std::fputs((TerminalLine(text) + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
}

void err(const QString& text) {
    std::fputs((TerminalMessage(text) + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

int usageError(const QString& message) {
    err(QStringLiteral("varid-convert: ") + message);
    err(Str(Ids::IDS_CLI_TryHelp));
    return kExitUsage;
}

// Ctrl+C and SIGTERM stop the batch as "Stop now" does: the engines are ended, the files not yet
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
    const QStringList arguments = byteNames.Arguments(argc, argv);
    TCliArgs args;
    QString error;
    const bool parsed = ParseCliArgs(arguments, args, error);

    // Every word on the terminal comes from the language file, so it is loaded first: the one
    // --language names, else the one of config.ini.
    InitPaths();
    if (parsed && !args.language.isEmpty()) {
        const QString inLangs = LanguageFilePath(args.language);
        const QString path = QFileInfo::exists(args.language) ? args.language : inLangs;
        if (!QFileInfo(path).isFile())
            return usageError(FormatStr(Str(Ids::IDS_CLI_NoLanguageFile), {args.language}));
        LanguageFileName = QFileInfo(path).absoluteFilePath();
    }
    TTerminalDialogs dialogs(args.overwrite);
    SetDialogs(&dialogs);
    if (!LoadLanguage())
        return kExitNotConverted;
    if (!parsed) {
        ParseCliArgs(arguments, args, error); // again, for the message in the language loaded
        return usageError(error);
    }
    if (args.help) {
        std::fputs(CliUsage().toLocal8Bit().constData(), stdout);
        return kExitConverted;
    }
    try {
        LoadOptions();
    } catch (const EVaridError& e) {
        err(e.message());
        return kExitNotConverted;
    }
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
    TOutputChoice choice;
    if (!ChooseOutput(args.format, args.profile, choice, error))
        return usageError(error);
    if (args.listProfiles) {
        for (const QString& name : ProfileNames(choice.formatIndex))
            out(name);
        return kExitConverted;
    }
    if (args.files.isEmpty())
        return usageError(Str(Ids::IDS_CLI_NoFiles));

    const QString outputDir = QDir::cleanPath(
        QDir::current().absoluteFilePath(args.output.isEmpty() ? QStringLiteral(".") : args.output));
    if (!args.dryRun) {
        if (const QString reason = CreateFolderPath(outputDir); !reason.isEmpty()) {
            err(FormatStr(Str(Ids::IDS_CLI_CannotCreateOutput), {outputDir, reason}));
            return kExitNotConverted;
        }
    }
    Options.DeleteFileAfterProcessing = args.deleteSource;
    if (args.priority >= 0)
        Options.Priority = static_cast<uint8_t>(args.priority);
    // With a final "/" the folder is taken as given: a name that ends in a blank stays that name.
    choice.outputFolder = outputDir + QLatin1Char('/');

    // The sources, each once, in the order given; the ones the list refuses are reported.
    TSourceList list;
    TEngineProcess engine;
    TTerminalView view(stdout, stderr, ::isatty(STDOUT_FILENO) == 1);
    TSystemClock clock;
    TBatchDriver driver(list, engine, view, clock);
    driver.SetEngineFactory([] { return std::make_unique<TEngineProcess>(); });
    // The first file's engine starts while the files are looked at, with these settings.
    const int jobs = args.jobs > 0 ? args.jobs : Options.FilesAtOnce;
    driver.SetSettings(BatchSettingsFor(choice, jobs));
    QList<TNotConverted> refused;
    QStringList accepted;
    // A file given more than once is one file: it is converted (and counted) once.
    qsizetype given = 0;
    QStringList seen;
    for (const QString& file : std::as_const(args.files)) {
        const QString path = QFileInfo(file).absoluteFilePath();
        if (seen.contains(path))
            continue;
        seen << path;
        ++given;
        // The first file's engine reads its source while the files are looked at.
        if (given == 1 && !args.dryRun)
            driver.ReadAhead(path);
        const TAddResult result = list.AddSourceFile(path);
        if (result == TAddResult::Added)
            accepted << path;
        else if (result != TAddResult::Duplicate)
            refused << RefusedFile(file, result);
    }

    QList<TNotConverted> notConverted = refused;
    // How many files at once also depends on the largest picture among them.
    driver.SetSettings(BatchSettingsFor(choice, jobs, LargestPicture(list)));

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
        if (!accepted.isEmpty())
            driver.Convert();
        notConverted += driver.Report().notConverted;
        for (const QString& line : ReportSummary(int(given), notConverted))
            out(line);
        return notConverted.isEmpty() ? kExitConverted : kExitNotConverted;
    }
    if (!notConverted.isEmpty())
        for (const QString& line : ReportSummary(int(given), notConverted).mid(1))
            out(line);
    return notConverted.isEmpty() ? kExitConverted : kExitNotConverted;
}
