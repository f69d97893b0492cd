// The driver over the real process runner and engine: a real source converts, a damaged one is
// booked failed with the engine's error line, and the next file still runs.
#include "engine/batch_driver.h"
#include "engine/engine_process.h"
#include "recording_view.h"
#include "scripted_engine.h"
#include "support/byte_files.h"
#include "support/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The real runner, with a record of how each engine was started: "execute FILE" for an engine
// started at its turn, "standby FILE" for one started ahead of it, "go" when one was let convert.
class TRecordingRunner final : public IEngineRunner {
  public:
    explicit TRecordingRunner(QStringList& record) : m_record(record) {}

    void SetHandlers(OutputHandler onOutput, EndHandler onTerminated) override {
        m_engine.SetHandlers(std::move(onOutput), std::move(onTerminated));
    }
    void DetachTermination() override { m_engine.DetachTermination(); }
    void SetPriority(TEnginePriority priority) override { m_engine.SetPriority(priority); }
    void SetCommandLine(const QString& commandLine) override { m_engine.SetCommandLine(commandLine); }
    QString GetCommandLine() const override { return m_engine.GetCommandLine(); }
    void SetConfirmedReplacement(const QString& output) override { m_engine.SetConfirmedReplacement(output); }
    void Execute() override {
        m_record << QStringLiteral("execute ") + inputName();
        m_engine.Execute();
    }
    bool CanStandBy() const override { return m_engine.CanStandBy(); }
    void ExecuteStandingBy() override {
        m_record << QStringLiteral("standby ") + inputName();
        m_engine.ExecuteStandingBy();
    }
    bool Go(bool replaceOutput) override {
        const bool going = m_engine.Go(replaceOutput);
        m_record << (going ? QStringLiteral("go ") : QStringLiteral("no go ")) + inputName();
        return going;
    }
    bool Active() const override { return m_engine.Active(); }
    bool ProcessEnded() const override { return m_engine.ProcessEnded(); }
    void Terminate(int exitCode) override { m_engine.Terminate(exitCode); }
    int ExitCode() const override { return m_engine.ExitCode(); }

  private:
    // The source's name: the word after "-i" in the command line, without its quotes.
    QString inputName() const {
        const QStringList words = m_engine.GetCommandLine().split(QLatin1Char(' '));
        const qsizetype at = words.indexOf(QStringLiteral("-i"));
        if (at < 0 || at + 1 >= words.size())
            return {};
        return QFileInfo(QString(words[at + 1]).remove(QLatin1Char('"'))).fileName();
    }

    QStringList& m_record;
    TEngineProcess m_engine;
};

// The frame rate FFprobe reads from a file's first picture stream ("25/1").
QString FrameRateOf(const QString& path) {
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                 QStringLiteral("v:0"), QStringLiteral("-show_entries"),
                 QStringLiteral("stream=r_frame_rate"), QStringLiteral("-of"), QStringLiteral("csv=p=0"),
                 path});
    probe.waitForFinished(-1);
    return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
}

TEST(RealEngine, ConvertsAndBooksThroughTheDriver) {
    TProgramFolder prog;
    ASSERT_TRUE(prog.copyExecutable(QStringLiteral("avcore.dll")));
    QTemporaryDir work;
    const QString damaged = work.filePath(QStringLiteral("damaged.mkv"));
    ASSERT_TRUE(WriteCutCopy(QStringLiteral(VARID_MEDIA_DIR "/again.mkv"), damaged, 2000));

    ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("out"))));
    TOptions options;
    TFakeQueue queue;
    queue.rows = {{damaged, 2000},
                  {QStringLiteral(VARID_MEDIA_DIR "/again.mkv"),
                   QFileInfo(QStringLiteral(VARID_MEDIA_DIR "/again.mkv")).size()}};
    TEngineProcess engine;
    TRecordingView view;
    TSystemClock clock;
    TBatchDriver driver(queue, engine, view, clock, options);
    driver.SetSettings({work.filePath(QStringLiteral("out")),
                        QStringLiteral(".avi"),
                        [] { return QStringLiteral("-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -an "); },
                        {}});
    ASSERT_TRUE(driver.Convert());

    ASSERT_EQ(view.booked.size(), 2);
    EXPECT_FALSE(view.booked[0].converted);
    EXPECT_TRUE(view.booked[0].reason.startsWith(QStringLiteral("Error")))
        << view.booked[0].reason.toStdString();
    EXPECT_TRUE(view.booked[1].converted) << view.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(QFileInfo(work.filePath(QStringLiteral("out/again.avi"))).size(), 1000);
    EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("out/damaged.avi"))));
    EXPECT_EQ(queue.captions(), QStringList{damaged});
    EXPECT_EQ(view.filePercent, 100);
}

// A source cut short is booked failed with how far the engine got, and is not deleted even when
// converted sources are.
TEST(RealEngine, TruncatedSourceIsBookedFailedAndKept) {
    TProgramFolder prog;
    ASSERT_TRUE(prog.copyExecutable(QStringLiteral("avcore.dll")));
    QTemporaryDir work;
    const QString truncated = work.filePath(QStringLiteral("truncated.mp4"));
    const QString sample = QStringLiteral(VARID_MEDIA_DIR "/rabbit320.mp4");
    ASSERT_TRUE(WriteCutCopy(sample, truncated, QFileInfo(sample).size() * 45 / 100));

    TOptions options;
    options.DeleteFileAfterProcessing = true;
    TFakeQueue queue;
    queue.rows = {{truncated, QFileInfo(truncated).size()}};
    TEngineProcess engine;
    TRecordingView view;
    TSystemClock clock;
    TBatchDriver driver(queue, engine, view, clock, options);
    driver.SetSettings({work.path(),
                        QStringLiteral(".avi"),
                        [] { return QStringLiteral("-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -an "); },
                        {}});
    ASSERT_TRUE(driver.Convert());

    ASSERT_EQ(view.booked.size(), 1);
    EXPECT_FALSE(view.booked[0].converted);
    EXPECT_TRUE(view.booked[0].reason.contains(QStringLiteral("ended early")))
        << view.booked[0].reason.toStdString();
    EXPECT_TRUE(QFileInfo::exists(truncated));
    EXPECT_FALSE(QFileInfo::exists(work.filePath(QStringLiteral("truncated.avi"))));
}

// One file at a time, the next file's engine reads its source while the current one converts and
// converts only when its turn comes with the very command it was started for. The profile is read
// at each file's start: changed after the first file started, the engine read ahead for the
// second is dropped and the second and third files convert with the profile as changed.
TEST(RealEngine, TheNextFileIsReadAheadOnlyForTheProfileAsStoredAtItsStart) {
    TProgramFolder prog;
    ASSERT_TRUE(prog.copyExecutable(QStringLiteral("avcore.dll")));
    QTemporaryDir work;
    TFakeQueue queue;
    for (const char* name : {"a.mkv", "b.mkv", "c.mkv"}) {
        const QString source = work.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VARID_MEDIA_DIR "/again.mkv"), source));
        queue.rows.push_back({source, QFileInfo(source).size()});
    }
    const QString out = work.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));

    QStringList record;
    TOptions options;
    TRecordingRunner engine(record);
    TRecordingView view;
    TSystemClock clock;
    TBatchDriver driver(queue, engine, view, clock, options);
    driver.SetEngineFactory([&record] { return std::make_unique<TRecordingRunner>(record); });
    auto reads = std::make_shared<int>(0);
    driver.SetSettings({out,
                        QStringLiteral(".avi"),
                        [reads] {
                            // The user changes the frame rate once the first file has started.
                            return QStringLiteral("-y -f avi -vcodec msmpeg4 -b 1080k -r %1 -an ")
                                .arg(++*reads == 1 ? 25 : 15);
                        },
                        {}});
    ASSERT_TRUE(driver.Convert());

    ASSERT_EQ(view.booked.size(), 3) << view.errors.join(QLatin1Char('\n')).toStdString();
    for (const auto& booked : view.booked)
        EXPECT_TRUE(booked.converted) << booked.reason.toStdString();
    EXPECT_EQ(FrameRateOf(out + QStringLiteral("/a.avi")), QStringLiteral("25/1"));
    EXPECT_EQ(FrameRateOf(out + QStringLiteral("/b.avi")), QStringLiteral("15/1"));
    EXPECT_EQ(FrameRateOf(out + QStringLiteral("/c.avi")), QStringLiteral("15/1"));
    EXPECT_EQ(record, (QStringList{QStringLiteral("execute a.mkv"), QStringLiteral("standby b.mkv"),
                                   QStringLiteral("execute b.mkv"), QStringLiteral("standby c.mkv"),
                                   QStringLiteral("go c.mkv")}));
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file is left";
}

} // namespace
