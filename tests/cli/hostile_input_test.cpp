// varid-convert given odd input: names it must take as they are, things that are not files, a
// file given more than once, an output folder that cannot be made, an engine that cannot run.
#include "cli_fixture.h"
#include "support/byte_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class CliInputTest : public TCliFixture {
  protected:
    QString write(const QString& name, const QByteArray& content) {
        const QString path = work.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }
};

TEST_F(CliInputTest, EveryFormatNameTheHelpListsWorksInAnyLetterCase) {
    const TCliResult help = convert({QStringLiteral("--help")});
    const QRegularExpression list(QStringLiteral("output format: ([^(]*)\\(default"));
    const QRegularExpressionMatch m = list.match(help.out.simplified());
    ASSERT_TRUE(m.hasMatch()) << help.out.toStdString();
    QStringList names = m.captured(1)
                            .replace(QStringLiteral(" or "), QStringLiteral(", "))
                            .split(QStringLiteral(","), Qt::SkipEmptyParts);
    ASSERT_EQ(names.size(), 22);
    for (QString name : names) {
        name = name.trimmed();
        for (const QString& spelled : {name.toUpper(), name.toLower()}) {
            const TCliResult r =
                convert({QStringLiteral("--format"), spelled, QStringLiteral("--list-profiles")});
            EXPECT_EQ(r.exitCode, 0) << spelled.toStdString() << ": " << r.err.toStdString();
        }
    }
}

TEST_F(CliInputTest, AFileGivenThreeTimesIsOneFile) {
    const QString broken = write(QStringLiteral("broken.mp3"), QByteArray(4000, 'x'));
    const TCliResult r = convert({QStringLiteral("--format"), QStringLiteral("WAV"),
                                  QStringLiteral("--output"), QStringLiteral("out"), broken,
                                  QStringLiteral("broken.mp3"), QStringLiteral("./broken.mp3")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("0 of 1 files converted."))) << r.out.toStdString();
}

TEST_F(CliInputTest, AnOutputFolderNameEndingInABlankIsTheFolderConvertedInto) {
    const TCliResult r =
        convert({QStringLiteral("--format"), QStringLiteral("WAV"), QStringLiteral("--output"),
                 QStringLiteral("dir "), media + QStringLiteral("viper.ogg")});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_GT(sizeOf(work.filePath(QStringLiteral("dir /viper.wav"))), 1000);
    EXPECT_FALSE(QFileInfo::exists(work.filePath(QStringLiteral("dir"))));
}

TEST_F(CliInputTest, SourcesThatAreNoFilesAreNamedForWhatTheyAre) {
    const QString fifo = work.filePath(QStringLiteral("pipe.mp4"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = work.filePath(QStringLiteral("folder.mp4"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString missing = work.filePath(QStringLiteral("missing.mp4"));
    const TCliResult r = convert({QStringLiteral("--dry-run"), QStringLiteral("--format"),
                                  QStringLiteral("MP4"), fifo, folder, QStringLiteral("/dev/null"), missing});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(fifo + QStringLiteral(": a named pipe (FIFO), not a file")))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(folder + QStringLiteral(": a folder, not a file")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("/dev/null: a device, not a file")));
    EXPECT_TRUE(r.out.contains(missing + QStringLiteral(": not found")));
}

TEST_F(CliInputTest, AnOutputFolderThatCannotBeMadeSaysWhy) {
    const QString file = write(QStringLiteral("file.txt"), "text");
    const TCliResult r =
        convert({QStringLiteral("--format"), QStringLiteral("WAV"), QStringLiteral("--output"),
                 QStringLiteral("file.txt/out"), media + QStringLiteral("viper.ogg")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Cannot create the output folder \"") + file +
                               QStringLiteral("/out\": \"") + file + QStringLiteral("\" is not a folder.")))
        << r.err.toStdString();
}

TEST_F(CliInputTest, NamesWithLineBreaksOrEscapesArePrintedOnOneLineAndHarmless) {
    // A name may hold any control character: one converts, one is refused, each at once with
    // the other; both are reported on lines of their own, and no escape reaches the terminal.
    const QString song = QStringLiteral("new\nline\x1b[31m.ogg");
    ASSERT_TRUE(QFile::copy(media + QStringLiteral("viper.ogg"), work.filePath(song)));
    const QString junk = QStringLiteral("junk\x1b]0;title\x07.mp3");
    write(junk, QByteArray(4000, 'x'));
    const TCliResult r =
        convert({QStringLiteral("--format"), QStringLiteral("WAV"), QStringLiteral("--jobs"),
                 QStringLiteral("2"), QStringLiteral("--output"), QStringLiteral("out"), song, junk});
    EXPECT_EQ(r.exitCode, 1) << r.out.toStdString() << r.err.toStdString();
    EXPECT_GT(sizeOf(work.filePath(QStringLiteral("out/new\nline\x1b[31m.wav"))), 1000);
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QStringLiteral("Converted: ") +
                               work.filePath(QStringLiteral("new?line?[31m.ogg")) + QStringLiteral(" -> ") +
                               work.filePath(QStringLiteral("out/new?line?[31m.wav"))))
        << r.out.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("  junk?]0;title?.mp3: not a media file")))
        << r.out.toStdString();
    for (const QString& text : {r.out, r.err}) {
        EXPECT_FALSE(text.contains(QChar(0x1b)) || text.contains(QChar(0x07))) << text.toStdString();
    }
}

TEST_F(CliInputTest, ANameThatIsNotUtf8Converts) {
    // "caf\xE9.ogg": a Latin-1 name, as bytes. QProcess takes texts, so a shell passes the bytes.
    const QByteArray name("caf\xE9.ogg");
    const QByteArray real = QFile::encodeName(work.path()) + '/' + name;
    ASSERT_TRUE(WriteByteNamedFile(real, FileContent(media + QStringLiteral("viper.ogg"))));

    QProcess p;
    p.setWorkingDirectory(work.path());
    p.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"),
         QStringLiteral("exec \"$0\" --format WAV --output out --delete-source \"$(printf 'caf\\351.ogg')\""),
         prog.file(QStringLiteral("varid-convert"))});
    ASSERT_TRUE(p.waitForFinished(300000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString() << p.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("1 of 1 files converted."))) << out.toStdString();
    // The output is named with the readable form of the name; the source, deleted on request, is
    // the file of that very name.
    EXPECT_GT(sizeOf(work.filePath(QStringLiteral("out/caf\uFFFD.wav"))), 1000);
    struct stat st {};
    EXPECT_NE(::stat(real.constData(), &st), 0);
}

TEST_F(CliInputTest, ANameThatIsNotUtf8IsShownInItsReadableFormInEveryMessage) {
    // The engine works with a private alias of such a name; no message may show that alias.
    const QByteArray folder = QFile::encodeName(work.path()) + '/';
    ASSERT_TRUE(WriteByteNamedFile(folder + "caf\xE9.ogg", FileContent(media + QStringLiteral("viper.ogg"))));
    ASSERT_TRUE(WriteByteNamedFile(folder + "d\xE9g\xE2t.mp4",
                                   FileContent(media + QStringLiteral("rabbit320.mp4")).left(100000)));
    QProcess p;
    p.setWorkingDirectory(work.path());
    p.start(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("exec \"$0\" --format WAV --output out \"$(printf 'caf\\351.ogg')\" "
                            "\"$(printf 'd\\351g\\342t.mp4')\""),
             prog.file(QStringLiteral("varid-convert"))});
    ASSERT_TRUE(p.waitForFinished(300000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1) << out.toStdString() << err.toStdString();
    const QString cafe = work.filePath(QStringLiteral("caf\uFFFD.ogg"));
    const QString damaged = work.filePath(QStringLiteral("d\uFFFDg\uFFFDt.mp4"));
    const QStringList lines = out.split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QStringLiteral("Converted: ") + cafe + QStringLiteral(" -> ") +
                               work.filePath(QStringLiteral("out/caf\uFFFD.wav"))))
        << out.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Failed: ") + damaged)) << out.toStdString();
    // The engine's own reason, in the error stream and in the summary, names the file too.
    EXPECT_TRUE(err.contains(QStringLiteral("'") + damaged + QStringLiteral("' ended early")))
        << err.toStdString();
    EXPECT_TRUE(
        out.contains(QStringLiteral("  ") + damaged + QStringLiteral(": Error: the input file '") + damaged))
        << out.toStdString();
    EXPECT_FALSE((out + err).contains(QStringLiteral("varid-names-")))
        << out.toStdString() << err.toStdString();
    // The work folder is removed by names as texts, which cannot reach these two.
    ::unlink((folder + "caf\xE9.ogg").constData());
    ::unlink((folder + "d\xE9g\xE2t.mp4").constData());
}

TEST_F(CliInputTest, AnEngineThatIsNotExecutableIsNamedSo) {
    const QString engine = prog.file(QStringLiteral("avcore.dll"));
    ASSERT_TRUE(QFile::setPermissions(engine, QFile::ReadOwner | QFile::WriteOwner));
    const TCliResult r =
        convert({QStringLiteral("--format"), QStringLiteral("WAV"), QStringLiteral("--output"),
                 QStringLiteral("out"), media + QStringLiteral("viper.ogg")});
    EXPECT_EQ(r.exitCode, 1);
    const QString all = r.out + r.err;
    EXPECT_TRUE(all.contains(QStringLiteral("the program \"") + engine + QStringLiteral("\" may not be run")))
        << all.toStdString();
}

} // namespace
