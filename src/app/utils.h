#pragma once
// Shared path, file, text and time functions, the two dialog helpers, the busy cursor and the
// completion action. They hold no state except the busy-cursor counter.
#include "app/dialogs.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// ---- Paths and files ------------------------------------------------------------------------

// The text unchanged when it ends in the folder separator "/", else the text + "/"; "" gives "/".
QString AddTrailingBackslash(const QString& path);
// The part after the last folder separator, without its last extension ("x.tar.gz" gives "x.tar").
QString FileNameWithoutExt(const QString& path);
// Folder part of the path + new name + the path's extension (with its "."; none when it has none).
QString ReplaceFileName(const QString& path, const QString& newName);
// Size in bytes of the file or folder entry at the path; -1 when there is none.
int64_t GetFileSize64(const QString& path);
// Deletes the file when it exists and is empty; whether it was deleted.
bool DeleteIfEmpty(const QString& path);
// True when any character of text occurs in set.
bool HasAnyChar(const QString& set, const QString& text);
// False for an empty text or one holding any of \ / : * ? " < > | (a profile or file name).
bool IsValidFileName(const QString& text);
// A shell folder of the current user by name: "Personal" is the documents folder. Empty when
// there is none.
QString GetShellFolder(const QString& name);

// The folder a file or folder picker opens in for a stored folder: the folder itself when it
// exists, else its nearest existing ancestor (a fresh home may lack its documents folder); the
// home folder for an empty text. A picker given a missing folder would open in its parent with
// the missing name typed as the file name.
QString NearestExistingFolder(const QString& folder);

// ---- Text -----------------------------------------------------------------------------------

// The pieces between occurrences of delimiter; the piece after the last one is always added
// ("a:b:" gives "a", "b", ""; "" gives one empty piece).
QStringList SplitText(const QString& text, const QString& delimiter);
// Number of occurrences of a one-character delimiter.
int CountOf(const QString& text, QChar delimiter);
// The text between the first start marker and the first end marker after it, trimmed of blanks
// and control characters; empty when the end marker does not follow.
QString ExtractBetween(const QString& text, const QString& startMarker, const QString& endMarker);
// Removes outer blanks and control characters. Decoding turns the marker "#13" of language files
// into line breaks; encoding turns every line break ("\r\n", "\n" or "\r") into "#13".
QString ConvertLineBreaks(const QString& text, bool decode);
// Blanks and control characters (code points up to 32) removed from both ends.
QString TrimControls(const QString& text);
// Fills the placeholders of a string-table format in order: every "%s" and "%d" (also with a
// width such as "%.2d") takes the next argument, "%%" gives "%". A placeholder without an argument
// stays empty, so a translated text with an unexpected placeholder cannot break anything.
QString FormatStr(const QString& format, const QStringList& args);

// ---- Time texts (h:mm:ss.zzz); milliseconds are signed 64-bit -----------------------------

int64_t HmsToMs(int hours, int minutes, double seconds);
int64_t HmszToMs(int hours, int minutes, int seconds, int milliseconds);
struct TSplitTime {
    int64_t hours = 0;
    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
};
TSplitTime SplitMs(int64_t ms);
// 300000 gives "0:05:00.000".
QString MsToTimeText(int64_t ms);
// Reads h:m:s.f, m:s.f, s.f, s, m:s or h:m:s (digits after "." count milliseconds); -1 for any
// other text.
int64_t TimeTextToMs(const QString& text);
// Whether a text is a plain time text: h:m:s, m:s or s (hours up to six digits, minutes and
// seconds up to two), each with an optional fraction of up to six digits; nothing else, not even
// a blank. Only such a text may stand on a command line as a time.
bool IsTimeText(const QString& text);
// The engine's clock text "hh:mm:ss.ff"; pieces that are not numbers count 0. A text with fewer
// pieces is read from the right: "83.5" is seconds, "1:23.5" minutes and seconds.
int64_t ClockTextToMs(const QString& text);

// ---- Dialogs, busy cursor, completion action -----------------------------------------------

// A question with its own button captions; the result is the modal result of the button kind
// (Yes 6, No 7, Cancel 2, Yes to all 10), 0 when the box could not be shown. Enter presses
// defaultButton, or the set's first button when the set lacks it.
int MessageDlgCaptions(const QString& message, const QString& title, TMsgDlgType type,
                       const QStringList& captions, TMsgDlgButtons buttons,
                       TMsgDlgBtn defaultButton = TMsgDlgBtn::mbYes);
// The folder picker; on OK folder becomes the chosen folder and the result is true.
bool BrowseForFolder(QString& folder, const QString& title, const QString& root = QString());

// Nested busy cursor: BeginBusy counts up and shows it, EndBusy counts down (never below 0) and
// restores the normal cursor at 0.
void BeginBusy();
void EndBusy();
int BusyDepth();
// Pairs BeginBusy with an EndBusy that runs also when the work in between throws.
class TBusyScope {
  public:
    TBusyScope() { BeginBusy(); }
    ~TBusyScope() { EndBusy(); }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;
};

// The completion action by number: 0 ends this program, 1 powers the machine off, 2 ends the
// user's desktop session, 3 reboots, 4 hibernates, 5 suspends; anything else does nothing. The
// machine actions run only when the system reports them allowed (see app/power.h).
void ShutdownAction(int action);
