#include "app/options.h"

#include "app/inifile.h"
#include "app/paths.h"
#include "app/utils.h"

#include <QFileInfo>

#include <algorithm>

TOptions Options;

namespace {

// The stored fields, in the order they are read and written: the nine keys, then how many files
// a batch converts at once.
template <typename Ini> void exchange(TOptions& o, Ini&& io) {
    io(QStringLiteral("OutputFormat"), o.OutputFormat);
    io(QStringLiteral("LastInputOpenDir"), o.LastInputOpenDir);
    io(QStringLiteral("LastOutputOpenDir"), o.LastOutputOpenDir);
    io(QStringLiteral("Priority"), o.Priority);
    io(QStringLiteral("ShutdownFlag"), o.ShutdownFlag);
    io(QStringLiteral("DeleteFileAfterProcessing"), o.DeleteFileAfterProcessing);
    io(QStringLiteral("ShutdownWindowsWhenDone"), o.ShutdownWindowsWhenDone);
    io(QStringLiteral("ShowWindow"), o.ShowWindow);
    io(QStringLiteral("UseDirectShow"), o.UseDirectShow);
    io(QStringLiteral("FilesAtOnce"), o.FilesAtOnce);
}

struct Reader {
    const TIniFile& ini;
    void operator()(const QString& key, uint8_t& v) const {
        v = static_cast<uint8_t>(ini.ReadInteger(OptionsSection, key, v) & 0xFF);
    }
    void operator()(const QString& key, bool& v) const { v = ini.ReadBool(OptionsSection, key, v); }
    void operator()(const QString& key, QString& v) const { v = ini.ReadString(OptionsSection, key, v); }
};

struct Writer {
    TIniFile& ini;
    void operator()(const QString& key, uint8_t v) const { ini.WriteInteger(OptionsSection, key, v); }
    void operator()(const QString& key, bool v) const { ini.WriteBool(OptionsSection, key, v); }
    void operator()(const QString& key, const QString& v) const { ini.WriteString(OptionsSection, key, v); }
};

} // namespace

void LoadOptions() {
    Options.OutputFormat = 0;
    Options.EngineFileName = QStringLiteral("avcore.dll");
    Options.Priority = 1;
    Options.ShutdownFlag = 1;
    Options.DeleteFileAfterProcessing = false;
    Options.ShutdownWindowsWhenDone = false;
    Options.LastInputOpenDir = GetShellFolder(QStringLiteral("Personal"));
    Options.LastOutputOpenDir = Options.LastInputOpenDir;
    Options.ShowWindow = true;
    Options.UseDirectShow = false;
    Options.FilesAtOnce = 0;
    if (!QFileInfo::exists(OptionsFileName))
        SaveOptions();
    const TIniFile ini(OptionsFileName);
    exchange(Options, Reader{ini});
}

TWindowPlacement LoadWindowPlacement() {
    const TIniFile ini(OptionsFileName);
    TWindowPlacement placement;
    placement.width = std::max(0, ini.ReadInteger(WindowSection, QStringLiteral("Width"), 0));
    placement.height = std::max(0, ini.ReadInteger(WindowSection, QStringLiteral("Height"), 0));
    placement.maximized = ini.ReadBool(WindowSection, QStringLiteral("Maximized"), false);
    return placement;
}

void SaveWindowPlacement(const TWindowPlacement& placement) {
    TIniFile ini(OptionsFileName);
    ini.WriteInteger(WindowSection, QStringLiteral("Width"), placement.width);
    ini.WriteInteger(WindowSection, QStringLiteral("Height"), placement.height);
    ini.WriteBool(WindowSection, QStringLiteral("Maximized"), placement.maximized);
    ini.UpdateFile();
}

void SaveOptions() {
    TIniFile ini(OptionsFileName);
    exchange(Options, Writer{ini});
    ini.UpdateFile();
}
