#include "cli_args.h"

#include "app/utils.h"
#include "batch/batch_setup.h"
#include "lang/strings.h"

namespace {

const QStringList kPriorities = {QStringLiteral("idle"), QStringLiteral("normal"), QStringLiteral("high"),
                                 QStringLiteral("realtime")};

} // namespace

bool ParseCliArgs(const QStringList& arguments, TCliArgs& args, QString& error) {
    QString priority;
    QString jobs;
    // Options that take a value, and where it goes.
    const struct {
        const char* name;
        QString* target;
    } valued[] = {{"--format", &args.format},     {"--profile", &args.profile}, {"--output", &args.output},
                  {"--language", &args.language}, {"--priority", &priority},    {"--jobs", &jobs}};
    const struct {
        const char* name;
        bool* target;
    } flags[] = {{"--overwrite", &args.overwrite},
                 {"--delete-source", &args.deleteSource},
                 {"--dry-run", &args.dryRun},
                 {"--list-formats", &args.listFormats},
                 {"--list-profiles", &args.listProfiles},
                 {"--help", &args.help},
                 {"-h", &args.help}};

    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString arg = arguments.at(i);
        if (onlyFiles || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            args.files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            onlyFiles = true; // everything after "--" is a file, even when it begins with "-"
            continue;
        }
        // "--name=value" or "--name value".
        QString name = arg;
        QString value;
        bool hasValue = false;
        if (const qsizetype eq = arg.indexOf(QLatin1Char('='));
            eq > 0 && arg.startsWith(QLatin1String("--"))) {
            name = arg.left(eq);
            value = arg.mid(eq + 1);
            hasValue = true;
        }
        bool known = false;
        for (const auto& f : flags) {
            if (name == QLatin1String(f.name) && !hasValue) {
                *f.target = true;
                known = true;
            }
        }
        for (const auto& v : valued) {
            if (name != QLatin1String(v.name))
                continue;
            known = true;
            if (!hasValue) {
                if (i + 1 >= arguments.size()) {
                    error = FormatStr(Str(Ids::IDS_CLI_NeedsValue), {name});
                    return false;
                }
                value = arguments.at(++i);
            }
            *v.target = value;
        }
        if (!known) {
            error = FormatStr(Str(Ids::IDS_CLI_UnknownOption), {arg});
            return false;
        }
    }
    if (!priority.isNull()) {
        args.priority = static_cast<int>(kPriorities.indexOf(priority.toLower()));
        if (args.priority < 0) {
            error = FormatStr(Str(Ids::IDS_CLI_UnknownPriority), {priority});
            return false;
        }
    }
    if (!jobs.isNull()) {
        bool ok = false;
        args.jobs = jobs.toInt(&ok);
        if (!ok || args.jobs < 1 || args.jobs > MaxFilesAtOnce) {
            error = FormatStr(Str(Ids::IDS_CLI_BadJobs), {jobs});
            return false;
        }
    }
    return true;
}

QString CliUsage() {
    return FormatStr(Str(Ids::IDS_CLI_Usage), {FormatNames()}) + QLatin1Char('\n');
}
