#pragma once
// What the fuzz targets share: a throwaway program folder made once per process, a file writer,
// and a progress view that only checks what it is shown.
#include "app/paths.h"
#include "engine/clock.h"
#include "engine/progress_view.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A program folder (langs/ and the English profile root) in a temporary folder, for the life of
// the process; the current paths point into it.
inline const QString& FuzzProgramFolder() {
    static QTemporaryDir dir;
    static const QString path = [] {
        if (!dir.isValid())
            std::abort();
        InitPathsFor(dir.path());
        QDir().mkpath(LangsDir + QStringLiteral("English_Profile"));
        return dir.path() + QLatin1Char('/');
    }();
    return path;
}

inline void WriteFuzzFile(const QString& path, const uint8_t* data, size_t size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

// A broken promise of the code under test: reported and ended, so the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);              \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

class TSilentView final : public IProgressView {
  public:
    void SetFileStatus(const QString&, int percent) override { FUZZ_CHECK(percent >= 0 && percent <= 100); }
    void SetFileRemaining(const QString&) override {}
    void SetBatchStatus(const QString&, int percent) override { FUZZ_CHECK(percent >= 0 && percent <= 100); }
    void SetBatchElapsed(const QString&) override {}
    void SetBatchEstimated(const QString&) override {}
    void SetBatchRemaining(const QString&) override {}
    void SetWorking(const QString&) override {}
    void SetOutput(const QString&) override {}
    void StartAnimation(const QString&) override {}
    void SetTrayHint(const QString&) override {}
    void ShowEngineError(const QString&) override {}
    void SetCaption(const QString&) override {}
    void SetStopWhenDoneText(const QString&) override {}
    void ResetDisplays() override {}
    void FileBooked(const TFileOutcome&) override {}
    int RunProgress() override { return 0; }
    void CloseProgress(int) override {}
    void BatchEndReport(bool, int) override {}
};

class TFixedClock final : public IClock {
  public:
    QDateTime now = QDateTime(QDate(2024, 1, 1), QTime(12, 0));
    QDateTime Now() const override { return now; }
};
