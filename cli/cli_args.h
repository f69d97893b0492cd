#pragma once
// The command line of varid-convert.
#include <QString>
#include <QStringList>

struct TCliArgs {
    QString format;    // empty: the stored output format
    QString profile;   // empty: the first profile of the format
    QString output;    // empty: the current folder
    QString language;  // empty: the language of config.ini
    int priority = -1; // 0 idle .. 3 realtime; -1: the stored option
    int jobs = -1;     // files at once, 1..16; -1: the stored option
    bool overwrite = false;
    bool deleteSource = false;
    bool dryRun = false;
    bool listFormats = false;
    bool listProfiles = false;
    bool help = false;
    QStringList files;
};

// Reads the arguments (without the program name). On a usage error returns false with the
// message in error.
bool ParseCliArgs(const QStringList& arguments, TCliArgs& args, QString& error);

// The text of --help, from the string table.
QString CliUsage();
