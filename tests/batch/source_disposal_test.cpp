// Where a converted source goes: the trash of the test's own home (the test main points HOME and
// XDG_DATA_HOME at a temporary folder), or nowhere; and only the very file that was converted.
#include "engine/source_disposal.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class SourceDisposalTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString make(const QString& name) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("source " + name.toUtf8());
        return path;
    }
    static QString trash() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
               QStringLiteral("/Trash");
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

// Points XDG_DATA_HOME somewhere else for one test.
class DataHomeScope {
  public:
    explicit DataHomeScope(const QString& path) : m_old(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(path));
    }
    ~DataHomeScope() { qputenv("XDG_DATA_HOME", m_old); }
    DataHomeScope(const DataHomeScope&) = delete;
    DataHomeScope& operator=(const DataHomeScope&) = delete;

  private:
    QByteArray m_old;
};

} // namespace

TEST_F(SourceDisposalTest, TrashKeepsTheSourceInTheUsersTrashAndDeleteRemovesIt) {
    // The test's own home (a temporary folder), never the user's.
    ASSERT_TRUE(QDir::homePath().startsWith(QDir::tempPath() + QLatin1Char('/')))
        << QDir::homePath().toStdString();
    ASSERT_TRUE(trash().startsWith(QDir::homePath() + QLatin1Char('/')));
    // A fresh home: no data folder yet. The trash is made as the desktop makes it.
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).removeRecursively();

    const QString trashed = make(QStringLiteral("clip one.mpg"));
    EXPECT_EQ(DisposeOfSource(trashed, FileIdentityOf(trashed), TDisposal::Trash), TSourceFate::Trashed);
    EXPECT_FALSE(QFile::exists(trashed));
    EXPECT_EQ(read(trash() + QStringLiteral("/files/clip one.mpg")), QByteArray("source clip one.mpg"));
    // The desktop's trash can put it back where it was (Qt 6.4 writes the path without the
    // percent-encoding that later versions add; either reads back the same).
    const QByteArray info = read(trash() + QStringLiteral("/info/clip one.mpg.trashinfo"));
    const qsizetype at = info.indexOf("\nPath=");
    ASSERT_GE(at, 0) << info.toStdString();
    const QByteArray path = info.mid(at + 6, info.indexOf('\n', at + 1) - at - 6);
    EXPECT_EQ(QUrl::fromPercentEncoding(path), trashed);
    EXPECT_EQ(QFile::permissions(trash()) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    const QString deleted = make(QStringLiteral("clip two.mpg"));
    EXPECT_EQ(DisposeOfSource(deleted, FileIdentityOf(deleted), TDisposal::Delete), TSourceFate::Deleted);
    EXPECT_FALSE(QFile::exists(deleted));
    EXPECT_FALSE(QFile::exists(trash() + QStringLiteral("/files/clip two.mpg")));
}

// A name that names another file than the converted one (rewritten, or replaced) is left alone by
// either disposal, as is a source whose identity was never known.
TEST_F(SourceDisposalTest, OnlyTheVeryFileThatWasConvertedGoes) {
    for (const TDisposal how : {TDisposal::Trash, TDisposal::Delete}) {
        const QString rewritten = make(QStringLiteral("rewritten.mpg"));
        const TFileIdentity before = FileIdentityOf(rewritten);
        {
            QFile f(rewritten);
            ASSERT_TRUE(f.open(QIODevice::Append));
            f.write(" and more");
        }
        EXPECT_EQ(DisposeOfSource(rewritten, before, how), TSourceFate::NotRemoved);
        EXPECT_TRUE(QFile::exists(rewritten));
        const QString unknown = make(QStringLiteral("unknown.mpg"));
        EXPECT_EQ(DisposeOfSource(unknown, TFileIdentity(), how), TSourceFate::NotRemoved);
        EXPECT_TRUE(QFile::exists(unknown));
        EXPECT_EQ(DisposeOfSource(dir.filePath(QStringLiteral("gone.mpg")), before, how), TSourceFate::NotRemoved);
    }
    EXPECT_FALSE(QFile::exists(trash() + QStringLiteral("/files/rewritten.mpg")));
}

// Where no trash can be had (here: the data folder cannot be made), the source is deleted as the
// user asked, and nothing lands in the working folder (where Qt 6.4 would put a "trash" of its own).
TEST_F(SourceDisposalTest, WithoutATrashTheSourceIsDeletedAndNothingLandsInTheWorkingFolder) {
    const QString blocker = make(QStringLiteral("a file, not a folder"));
    const DataHomeScope noTrash(blocker + QStringLiteral("/share"));
    QTemporaryDir work;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    const QString source = make(QStringLiteral("clip.mpg"));
    const TSourceFate fate = DisposeOfSource(source, FileIdentityOf(source), TDisposal::Trash);
    QDir::setCurrent(previous);
    EXPECT_EQ(fate, TSourceFate::Deleted);
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}
