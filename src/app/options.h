#pragma once
// The user's options (stored in options.ini, section "VideoConvertoptions") and the profile
// folders, in one process-wide record.
#include <QString>

#include <array>
#include <cstdint>

struct TOptions {
    // Stored in options.ini.
    uint8_t OutputFormat = 0;
    QString LastInputOpenDir;
    QString LastOutputOpenDir;
    uint8_t Priority = 1;
    uint8_t ShutdownFlag = 1;
    bool ShutdownWindowsWhenDone = false;
    bool DeleteFileAfterProcessing = false;
    bool ShowWindow = true;
    bool UseDirectShow = false;
    // How many files a batch converts at once: 0 lets the program decide, 1..16 that many. Stored
    // after the nine keys above.
    uint8_t FilesAtOnce = 0;
    // Not stored.
    QString EngineFileName = QStringLiteral("avcore.dll");
    // The profile root of the current language and the format folders, by format index (one per
    // entry of the format catalogue).
    QString ProfileRoot;
    std::array<QString, 22> ProfileFolders;
};

extern TOptions Options;

inline const QString OptionsSection = QStringLiteral("VideoConvertoptions");

// Resets the stored fields to their defaults and reads options.ini over them; writes the file
// first when it does not exist.
void LoadOptions();
// Writes the stored fields to options.ini (the nine keys in their order, then FilesAtOnce),
// keeping its other keys and sections.
void SaveOptions();

// The main window's size (its normal size, also while maximised) and whether it is maximised, kept
// between starts. They are the window's state, not options the user confirms: they go to a
// section of their own after the options ("MainWindow": Width, Height, Maximized), written
// whenever the window closes, and leave the nine options and their saving rules alone.
struct TWindowPlacement {
    int width = 0; // 0: none stored
    int height = 0;
    bool maximized = false;
};
inline const QString WindowSection = QStringLiteral("MainWindow");
TWindowPlacement LoadWindowPlacement();
// Raises EVaridError when options.ini cannot be written.
void SaveWindowPlacement(const TWindowPlacement& placement);
