#pragma once
// A batch as both front ends set it up: the output it converts to, the settings the driver runs
// with (how many files at once among them), and the words for the files the source list did not
// take. The window and varid-convert use these alike.
#include "engine/batch_driver.h"
#include "engine/batch_report.h"
#include "profiles/catalogue.h"
#include "sources/source_filters.h"

#include <QString>

#include <cstdint>

class TSourceList;

// The output a batch converts to: a format, one of its profiles and the output folder.
struct TOutputChoice {
    int formatIndex = 0;
    QString profileName;
    QString outputFolder;
};

// The stored choice, taken while no other was made: the stored format (the first format when the
// stored value is none), its first profile and the stored output folder.
TOutputChoice StoredOutputChoice();
// The choice made by name: formatName is a format's shown name or its first word ("SWF"), in any
// letter case; profileName a profile of it, exactly or else in any letter case. An empty name
// keeps the stored format, or takes the format's first profile. False, with the reason in error,
// when a name names nothing.
bool ChooseOutput(const QString& formatName, const QString& profileName, TOutputChoice& choice,
                  QString& error);
// The first words of the formats' names, joined by ", " ("AVI, MP4, ..., WAV").
QString FormatNames();

// The settings a batch of a choice runs with: the profile is read from disk at each file's start;
// the number of files at once comes from filesAtOnceOption (0: decided for the format and the
// largest picture among the sources, in pixels; 0 when none is known).
TBatchSettings BatchSettingsFor(const TOutputChoice& choice, int filesAtOnceOption,
                                int64_t largestPicture = 0);
// The largest picture among the list's sources as the media library read them, in pixels (width
// times height); 0 for a list without pictures.
int64_t LargestPicture(const TSourceList& sources);

// How many files a batch converts at once for an option (0: automatic, 1..16 that many, more: 16),
// the format's kind and the largest source picture.
int FilesAtOnceFor(int option, TFormatKind kind, int64_t largestPicture = 0);
// The automatic choice, from the processors this process may use and the memory available:
// each sound encoder uses one processor, so a sound batch runs one file per processor; a video
// engine uses several threads of its own, so a video batch runs half as many files, at least two
// where there are two processors and at most four. Each file in flight must fit in a share of
// the available memory (availableBytes < 0: unknown, not limiting); a video file's share grows with
// the largest source picture (in pixels) beyond full HD, as its encoder's does.
int AutomaticFilesAtOnce(TFormatKind kind, int processors, int64_t availableBytes,
                         int64_t largestPicture = 0);

// Why the source list did not take a path, in words ("not found", "a folder, not a file");
// empty for a path it took.
QString AddResultText(TAddResult result, const QString& path);
// A file the source list did not take, as the report lists it.
TNotConverted RefusedFile(const QString& path, TAddResult result);
