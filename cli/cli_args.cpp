#include "cli_args.h"

namespace {

const QStringList kPriorities = {QStringLiteral("idle"), QStringLiteral("normal"), QStringLiteral("high"),
                                 QStringLiteral("realtime")};

} // namespace

bool ParseCliArgs(const QStringList& arguments, TCliArgs& args, QString& error) {
    QString priority;
    // Options that take a value, and where it goes.
    const struct {
        const char* name;
        QString* target;
    } valued[] = {{"--format", &args.format},
                  {"--profile", &args.profile},
                  {"--output", &args.output},
                  {"--language", &args.language},
                  {"--priority", &priority}};
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
                    error = QStringLiteral("The option %1 needs a value.").arg(name);
                    return false;
                }
                value = arguments.at(++i);
            }
            *v.target = value;
        }
        if (!known) {
            error = QStringLiteral("Unknown option \"%1\".").arg(arg);
            return false;
        }
    }
    if (!priority.isNull()) {
        args.priority = static_cast<int>(kPriorities.indexOf(priority.toLower()));
        if (args.priority < 0) {
            error =
                QStringLiteral("Unknown priority \"%1\": use idle, normal, high or realtime.").arg(priority);
            return false;
        }
    }
    return true;
}

QString CliUsage() {
    return QStringLiteral(
        "Usage: varid-convert [options] FILE...\n"
        "Converts video and audio files with the profiles of Varid Video Converter.\n"
        "\n"
        "Options:\n"
        "  --format NAME       output format: AVI, MP4, 3GP, MPEG, MOV, WMV, RM, SWF, VOB, ASF,\n"
        "                      AAC, AC3, MP2, MP3, AMR, WAV, MKV, WEBM, M4A, FLAC, OPUS or OGG\n"
        "                      (default: the last format used)\n"
        "  --profile NAME      a profile of the format (default: its first profile)\n"
        "  --output DIR        output folder, created when missing (default: the current folder)\n"
        "  --overwrite         replace existing output files\n"
        "  --delete-source     delete each source after it converted\n"
        "  --priority LEVEL    engine priority: idle, normal, high or realtime\n"
        "  --language FILE     language file (a name in the langs folder, or a path)\n"
        "  --dry-run           print the engine command line of each file, convert nothing\n"
        "  --list-formats      list the output formats\n"
        "  --list-profiles     list the profiles of the format\n"
        "  --help              show this help\n"
        "  --                  every later argument is a file\n"
        "\n"
        "Exit status: 0 when every file converted, 1 when any did not, 2 for a usage error.\n");
}
