// Names that are not UTF-8: found from their decoded form (the file dialog's) by reading the folder
// as bytes, or from their exact bytes (arguments, dropped URLs), and reached through an alias link.
#include "app/byte_names.h"
#include "app/scripted_dialogs.h"
#include "app/utils.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "sources/sourcelist.h"
#include "support/byte_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <ftw.h>
#include <sys/stat.h>

namespace {

const QString kReplacement = QString(QChar(0xFFFD));

class ByteNamesTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    // QTemporaryDir removes by decoded names and cannot remove names that are not UTF-8.
    void TearDown() override {
        ::nftw(
            folderBytes().constData(),
            [](const char* name, const struct stat*, int, FTW* ftw) {
                return ftw->level > 0 ? ::remove(name) : 0;
            },
            16, FTW_DEPTH | FTW_PHYS);
    }

    QByteArray folderBytes() const { return QFile::encodeName(m_dir.path()); }
    // Writes content under a name given as bytes below the folder; returns the full name.
    QByteArray write(const QByteArray& relative, const QByteArray& content = "data") const {
        const QByteArray name = folderBytes() + '/' + relative;
        EXPECT_TRUE(WriteByteNamedFile(name, content)) << name.constData();
        return name;
    }
    // The decoded form of a name below the folder, as the file dialog gives it.
    QString decoded(const QByteArray& relative) const {
        return QFile::decodeName(folderBytes() + '/' + relative);
    }
    static bool exists(const QByteArray& name) {
        struct stat st {};
        return ::stat(name.constData(), &st) == 0;
    }
    static QByteArray readAll(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    TByteNameAliases m_aliases;
};

TEST_F(ByteNamesTest, ADecodedNameIsFoundThroughTheFolderAsBytesAndReachedByAnAlias) {
    // A Latin-1 file name, also below a folder whose own name is Latin-1.
    ASSERT_EQ(::mkdir((folderBytes() + "/d\xE9j\xE0").constData(), 0700), 0);
    const QByteArray cases[] = {"caf\xE9.ogg", "d\xE9j\xE0/na\xEFve.ogg"};
    for (const QByteArray& relative : cases) {
        const QByteArray real = write(relative, relative);
        const QString given = decoded(relative);
        ASSERT_TRUE(given.contains(kReplacement));
        ASSERT_FALSE(QFileInfo::exists(given)) << "the decoded form names nothing by itself";

        const TResolvedName name = m_aliases.Resolve(given);
        EXPECT_EQ(name.match, TNameMatch::Aliased) << relative.constData();
        EXPECT_EQ(readAll(name.path), relative) << "the alias reaches the very file";
        EXPECT_EQ(QFileInfo(name.path).fileName(), QFileInfo(given).fileName()) << "named readably";
        EXPECT_EQ(m_aliases.RealName(name.path), real);
        EXPECT_EQ(m_aliases.Display(name.path), given);
        EXPECT_EQ(m_aliases.Resolve(given).path, name.path) << "the same file keeps its alias";
    }
}

TEST_F(ByteNamesTest, NamesThatNeedNoAliasOrCannotBeMatchedAreLeftAsGiven) {
    write("caf\xE9.ogg");
    write("caf\xE8.ogg"); // reads the same as the one above
    write(QStringLiteral("plain.ogg").toUtf8());
    write(kReplacement.toUtf8() + ".ogg"); // U+FFFD itself, in UTF-8: an ordinary name
    const struct {
        QString path;
        TNameMatch match;
    } cases[] = {
        {decoded("caf\xE9.ogg"), TNameMatch::Ambiguous},
        {decoded("gone\xE9.ogg"), TNameMatch::NotFound},
        {decoded("missing\xE9/caf\xE9.ogg"), TNameMatch::NotFound},
        {decoded("plain.ogg"), TNameMatch::AsGiven},
        {decoded("missing.ogg"), TNameMatch::AsGiven}, // no U+FFFD: simply missing, as before
        {decoded(kReplacement.toUtf8() + ".ogg"), TNameMatch::AsGiven},
    };
    for (const auto& c : cases) {
        const TResolvedName name = m_aliases.Resolve(c.path);
        EXPECT_EQ(name.match, c.match) << c.path.toStdString();
        EXPECT_EQ(name.path, c.path) << "never a guess";
        EXPECT_TRUE(m_aliases.RealName(name.path).isEmpty());
    }
}

TEST_F(ByteNamesTest, ExactBytesFromArgumentsAndUrlsNeedNoMatchingAndRoundTripThroughAUrl) {
    const QByteArray real = write("caf\xE9.ogg", "first");
    write("caf\xE8.ogg", "second"); // reads the same, but the bytes tell them apart
    const QByteArray plain = write("ordinary.ogg");

    const QString fromBytes = m_aliases.PathOf(real);
    EXPECT_EQ(readAll(fromBytes), "first");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    EXPECT_EQ(m_aliases.PathOf(folderBytes() + "/./sub/../caf\xE9.ogg"), fromBytes) << "one file, one alias";
    EXPECT_EQ(m_aliases.PathOf(plain), QFile::decodeName(plain));
    EXPECT_EQ(m_aliases.PathOf(folderBytes() + "/gone\xE9.ogg"), decoded("gone\xE9.ogg"));

    QByteArray argv0("prog"), argv1(real), argv2("--format");
    char* argv[] = {argv0.data(), argv1.data(), argv2.data()};
    EXPECT_EQ(m_aliases.Arguments(3, argv), (QStringList{fromBytes, QStringLiteral("--format")}));

    // A dropped URL carries the bytes percent-encoded; the handover to a running program too.
    const QUrl dropped(QStringLiteral("file://") + QString::fromLatin1(real.toPercentEncoding("/")));
    const QString fromUrl = LocalPathOfUrl(dropped);
    EXPECT_EQ(ByteNames().RealName(fromUrl), real);
    EXPECT_EQ(readAll(fromUrl), "first");
    const QString portable = ByteNames().Portable(fromUrl);
    EXPECT_TRUE(portable.startsWith(QStringLiteral("file:///"))) << portable.toStdString();
    EXPECT_EQ(ByteNames().RealName(LocalPathOfUrl(QUrl(portable))), real);
    EXPECT_EQ(LocalPathOfUrl(QUrl::fromLocalFile(QFile::decodeName(plain))), QFile::decodeName(plain));
    EXPECT_EQ(LocalPathOfUrl(QUrl(QStringLiteral("https://example.org/a.ogg"))), QString());
}

TEST_F(ByteNamesTest, TheListAddsAnUnreadableNameAndNamesTheOnesItCannotTell) {
    ResetStringTable();
    TScriptedDialogs dialogs;
    QFile sample(QStringLiteral(VARID_MEDIA_DIR "/viper.ogg"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray content = sample.readAll();
    write("caf\xE9.ogg", content);
    write("tw\xE9.ogg", content);
    write("tw\xE8.ogg", content);

    TSourceList list;
    list.SetInputFilters({QStringLiteral("Audio=*.ogg")});
    const QString ambiguous = decoded("tw\xE9.ogg");
    const QList<TAddResult> results =
        list.AddAndSelect({decoded("caf\xE9.ogg"), ambiguous, decoded("missing.ogg")}, false);
    EXPECT_EQ(results, (QList<TAddResult>{TAddResult::Added, TAddResult::NotFound, TAddResult::NotFound}));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(ByteNames().Display(list.Caption(0)), decoded("caf\xE9.ogg"));
    // The ambiguous name is named in a message; the plain missing file is skipped quietly as ever.
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              FormatStr(Str(Ids::IDS_MESSAGEBOX_UnreadableNameAmbiguous), {ambiguous}));
}

} // namespace
