// varid-convert end to end: the real program, engine and FFmpeg in a throwaway program folder,
// converting real sample media.
#include "cli_fixture.h"
#include "support/processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/stat.h>

namespace {

class ConvertTest : public TCliFixture {
  protected:
    QString out(const QString& name) const { return work.filePath(QStringLiteral("out/") + name); }
    // An existing output of three bytes, "old", with its folder.
    static void writeOld(const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile existing(path);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("old");
    }
};

TEST_F(ConvertTest, VideoAndAudioSourcesToSeveralFormats) {
    struct Case {
        const char* format;
        const char* source;
        const char* output;
    };
    const Case cases[] = {
        {"mp4", "again.mkv", "again.mp4"},
        {"AVI", "rabbit320.webm", "rabbit320.avi"},
        {"Mp3", "viper.ogg", "viper.mp3"},
        {"WAV", "again.mkv", ""}, // a video without audio cannot become a sound file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const TCliResult r =
            convert({QStringLiteral("--format"), QString::fromLatin1(c.format), QStringLiteral("--output"),
                     QStringLiteral("out"), media + QString::fromLatin1(c.source)});
        const bool shouldConvert = *c.output != 0;
        EXPECT_EQ(r.exitCode, shouldConvert ? 0 : 1) << r.out.toStdString() << r.err.toStdString();
        if (shouldConvert) {
            EXPECT_GT(sizeOf(out(QString::fromLatin1(c.output))), 1000);
            EXPECT_TRUE(r.out.contains(QStringLiteral("1 of 1 files converted.")));
        } else {
            EXPECT_TRUE(r.out.contains(QStringLiteral("Not converted:")));
        }
    }
}

TEST_F(ConvertTest, OneFailingFileIsReportedAndTheOthersConvert) {
    const QString broken = work.filePath(QStringLiteral("broken.mp4"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QFile source(media + QStringLiteral("rabbit320.mp4"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    f.write(source.read(3000)); // the header of a real file, cut off
    f.close();
    const QString missing = work.filePath(QStringLiteral("nowhere.mp4"));
    const QString text = work.filePath(QStringLiteral("notes.txt"));
    QFile t(text);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("not media");
    t.close();

    const TCliResult r =
        convert({QStringLiteral("--format"), QStringLiteral("MP4"), QStringLiteral("--output"),
                 QStringLiteral("out"), media + QStringLiteral("again.mkv"), missing, text,
                 media + QStringLiteral("rabbit320.webm"), broken});
    EXPECT_EQ(r.exitCode, 1) << r.out.toStdString() << r.err.toStdString();
    EXPECT_GT(sizeOf(out(QStringLiteral("again.mp4"))), 1000);
    EXPECT_GT(sizeOf(out(QStringLiteral("rabbit320.mp4"))), 1000);
    // Nothing of the failed file (the last converted) is left: no output, no temporary file.
    EXPECT_EQ(QDir(work.filePath(QStringLiteral("out")))
                  .entryList(QDir::Files | QDir::Hidden | QDir::System)
                  .join(QLatin1Char('|'))
                  .toStdString(),
              "again.mp4|rabbit320.mp4");
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 of 5 files converted."))) << r.out.toStdString();
    const QString summary = r.out.mid(r.out.indexOf(QStringLiteral("Not converted:")));
    EXPECT_TRUE(summary.contains(broken + QStringLiteral(": Error"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(missing + QStringLiteral(": not found")));
    EXPECT_TRUE(summary.contains(text + QStringLiteral(": not an accepted type")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Error"))); // the engine's error line, printed as it came
}

TEST_F(ConvertTest, ASourceNamedWithBlanksQuotesAndDollarGetsTheRightOutputName) {
    const QString name = QStringLiteral("my \"best\" clip $HOME `x`.webm");
    const QString src = work.filePath(name);
    ASSERT_TRUE(QFile::copy(media + QStringLiteral("rabbit320.webm"), src));
    const TCliResult r = convert({QStringLiteral("--format"), QStringLiteral("MP3"),
                                  QStringLiteral("--output"), QStringLiteral("out"), src});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_GT(sizeOf(out(QStringLiteral("my \"best\" clip $HOME `x`.mp3"))), 1000);
    EXPECT_EQ(QDir(work.filePath(QStringLiteral("out"))).entryList(QDir::Files).size(), 1);
}

TEST_F(ConvertTest, ExistingOutputsNeedOverwriteAndSourcesAreDeletedOnRequest) {
    const QString src = work.filePath(QStringLiteral("clip.mkv"));
    ASSERT_TRUE(QFile::copy(media + QStringLiteral("again.mkv"), src));
    writeOld(out(QStringLiteral("clip.mp4")));

    TCliResult r =
        convert({QStringLiteral("--format=MP4"), QStringLiteral("--output"), QStringLiteral("out"), src});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--overwrite")));
    EXPECT_EQ(sizeOf(out(QStringLiteral("clip.mp4"))), 3);

    r = convert({QStringLiteral("--format=MP4"), QStringLiteral("--overwrite"),
                 QStringLiteral("--delete-source"), QStringLiteral("--output"), QStringLiteral("out"), src});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_GT(sizeOf(out(QStringLiteral("clip.mp4"))), 1000);
    EXPECT_FALSE(QFile::exists(src));
    // Deleted for good, as the terminal flag says: nothing went to the trash (of the test's home).
    EXPECT_FALSE(QFile::exists(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                               QStringLiteral("/Trash/files/") + QFileInfo(src).fileName()));
}

// A source that cannot be deleted (here: it changed while it converted, so it is no longer the file
// that was converted) stays, and the terminal says so; the file still counts as converted.
TEST_F(ConvertTest, ASourceThatIsNotDeletedIsNamed) {
    const QString src = work.filePath(QStringLiteral("clip.mp3"));
    ASSERT_TRUE(QFile::copy(media + QStringLiteral("viper.mp3"), src));
    // FFmpeg, run through a script that first gives the source another modification time.
    const QString ffmpeg = work.filePath(QStringLiteral("ffmpeg-touching"));
    {
        QFile script(ffmpeg);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ntouch -d 2001-01-01 \"$TOUCHED\"\nexec ffmpeg \"$@\"\n");
    }
    ASSERT_TRUE(QFile::setPermissions(ffmpeg, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VARID_FFMPEG"), ffmpeg);
    env.insert(QStringLiteral("TOUCHED"), src);

    const TCliResult r = convert({QStringLiteral("--format=WAV"), QStringLiteral("--delete-source"),
                                  QStringLiteral("--output"), QStringLiteral("out"), src},
                                 env);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_GT(sizeOf(out(QStringLiteral("clip.wav"))), 1000);
    EXPECT_TRUE(QFile::exists(src));
    EXPECT_TRUE(
        r.err.split(QLatin1Char('\n'))
            .contains(
                QStringLiteral(
                    "Source not deleted (it could not be removed, or it changed while it converted): ") +
                src))
        << r.err.toStdString();
}

// A disc preset's options carry no overwrite flag; --overwrite, the user's agreement, still
// replaces the existing output.
TEST_F(ConvertTest, OverwriteReplacesTheOutputOfADiscPreset) {
    const QString src = work.filePath(QStringLiteral("clip.mp4"));
    ASSERT_TRUE(QFile::copy(media + QStringLiteral("rabbit320.mp4"), src));
    writeOld(out(QStringLiteral("clip.mpg")));

    const TCliResult r =
        convert({QStringLiteral("--format=MPEG"), QStringLiteral("--profile"), QStringLiteral("VCD PAL"),
                 QStringLiteral("--overwrite"), QStringLiteral("--output"), QStringLiteral("out"), src});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_GT(sizeOf(out(QStringLiteral("clip.mpg"))), 1000);
}

// Ctrl+C or SIGTERM while a file converts stops the batch as "Stop now" does: the engine and its
// FFmpeg end, nothing is left in the output folder, the source stays (even with --delete-source)
// and the file is reported as not converted. The engine reads the file through the script the
// converter writes (with DirectShow on), and the script names a named pipe nobody writes, so the
// file is converting until it is stopped.
TEST_F(ConvertTest, InterruptOrTerminateStopsTheFileInFlight) {
    ASSERT_TRUE(prog.writeFile(QStringLiteral("options.ini"), "[VideoConvertoptions]\nUseDirectShow=1\n"));
    ASSERT_TRUE(prog.writeFile(QStringLiteral("langs/English_Profile/DirectShow.avs"),
                               "DirectShowSource(\"<%InputFile%>.pipe\")\n"));
    const QString source = work.filePath(QStringLiteral("clip.mkv"));
    ASSERT_TRUE(QFile::copy(media + QStringLiteral("again.mkv"), source));
    ASSERT_EQ(mkfifo(QFile::encodeName(source + QStringLiteral(".pipe")).constData(), 0600), 0);
    const QString outDir = work.filePath(QStringLiteral("out"));
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signal));
        QProcess p;
        p.setWorkingDirectory(work.path());
        p.start(prog.file(QStringLiteral("varid-convert")),
                {QStringLiteral("--format"), QStringLiteral("AVI"), QStringLiteral("--delete-source"),
                 QStringLiteral("--output"), QStringLiteral("out"), source});
        ASSERT_TRUE(p.waitForStarted());
        qint64 engine = 0, ffmpeg = 0;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                engine = FindChildProcess(p.processId());
                ffmpeg = engine ? FindChildProcess(engine) : 0;
                return (ffmpeg != 0 && !QDir(outDir)
                                            .entryList({QStringLiteral(".clip.varid-part-*")},
                                                       QDir::Files | QDir::Hidden | QDir::System)
                                            .isEmpty()) ||
                       p.state() == QProcess::NotRunning;
            },
            60000));
        ASSERT_NE(ffmpeg, 0) << p.readAll().toStdString();
        ASSERT_EQ(::kill(static_cast<pid_t>(p.processId()), signal), 0);
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_TRUE(out.contains(QStringLiteral("0 of 1 files converted."))) << out.toStdString();
        EXPECT_TRUE(out.contains(source + QStringLiteral(": stopped before it was converted")))
            << out.toStdString();
        EXPECT_FALSE(ProcessRunning(engine));
        EXPECT_FALSE(ProcessRunning(ffmpeg));
        EXPECT_EQ(QDir(outDir)
                      .entryList(QDir::Files | QDir::Hidden | QDir::System)
                      .join(QLatin1Char('|'))
                      .toStdString(),
                  "");
        EXPECT_TRUE(QFileInfo(source).isFile());
        EXPECT_TRUE(
            QDir(prog.file(QStringLiteral("langs"))).entryList({QStringLiteral("DirectShow-*")}).isEmpty());
    }
}

TEST_F(ConvertTest, DryRunPrintsOneEngineCommandLinePerFile) {
    const TCliResult r = convert({QStringLiteral("--dry-run"), QStringLiteral("--format"),
                                  QStringLiteral("aac"), QStringLiteral("--output"), QStringLiteral("out"),
                                  media + QStringLiteral("viper.mp3"), media + QStringLiteral("again.mkv")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(
        lines[0].startsWith(prog.file(QStringLiteral("avcore.dll")) + QStringLiteral(" -p 4170352 -i \"")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("out/viper.aac\"")));
    EXPECT_FALSE(QDir(work.filePath(QStringLiteral("out"))).exists());
}

TEST_F(ConvertTest, UsageErrorsExitWithTwo) {
    struct Case {
        QStringList args;
        const char* says;
    };
    const Case cases[] = {
        {{QStringLiteral("--bogus"), QStringLiteral("a.mp4")}, "Unknown option"},
        {{QStringLiteral("--format"), QStringLiteral("XYZ"), QStringLiteral("a.mp4")}, "Unknown format"},
        {{QStringLiteral("--format"), QStringLiteral("MP4"), QStringLiteral("--profile"),
          QStringLiteral("Nope"), QStringLiteral("a.mp4")},
         "the profiles are"},
        {{QStringLiteral("--format"), QStringLiteral("MP4")}, "No files"},
        {{QStringLiteral("--priority"), QStringLiteral("urgent"), QStringLiteral("a.mp4")},
         "Unknown priority"},
        {{QStringLiteral("--jobs"), QStringLiteral("0"), QStringLiteral("a.mp4")}, "number of files at once"},
        {{QStringLiteral("--jobs"), QStringLiteral("17"), QStringLiteral("a.mp4")},
         "number of files at once"},
        {{QStringLiteral("--jobs"), QStringLiteral("two"), QStringLiteral("a.mp4")},
         "number of files at once"},
        {{QStringLiteral("a.mp4"), QStringLiteral("--jobs")}, "needs a value"},
    };
    for (const Case& c : cases) {
        const TCliResult r = convert(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.says;
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.says))) << r.err.toStdString();
    }
    const TCliResult list = convert({QStringLiteral("--list-formats")});
    EXPECT_EQ(list.exitCode, 0);
    const QStringList formats = list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(formats.size(), 22);
    // The modern formats come after the sixteen, in catalogue order.
    EXPECT_EQ(formats.mid(15), (QStringList{"WAV\t.wav", "MKV\t.mkv", "WebM\t.webm", "M4A\t.m4a",
                                            "FLAC\t.flac", "Opus\t.opus", "OGG\t.ogg"}));
}

} // namespace
