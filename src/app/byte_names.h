#pragma once
// File names that are not UTF-8. A Linux name is bytes; Qt's texts are Unicode, and a name whose
// bytes are not UTF-8 does not survive the trip into a QString and back (QFile::decodeName turns
// each stray byte into U+FFFD, and encodeName writes U+FFFD as three other bytes). Such a name is
// reached through an alias instead: a symbolic link in a private folder, named with the readable
// form of the name and pointing at the file by its real bytes. The list, the probe, the engine's
// command line and the engine itself work with the alias; the output is named after the readable
// form; a source to delete is deleted by its real bytes.
//
// The names come in three ways: as bytes (command-line arguments, the percent-encoded path of a
// dropped URL), which are exact; or as a decoded text with U+FFFD in place of the stray bytes (the
// file dialog), which is matched against the folder's names read as bytes and taken only when
// exactly one of them reads the same.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QUrl;

// How a decoded path was matched to a name on disk.
enum class TNameMatch {
    AsGiven,   // the path needs no alias: it exists, or it has no U+FFFD that could stand for bytes
    Aliased,   // exactly one name reads so: the path returned is its alias
    NotFound,  // no name in its folder reads so (or no alias could be made)
    Ambiguous, // several names in one folder read the same: none is taken
};

struct TResolvedName {
    QString path;
    TNameMatch match = TNameMatch::AsGiven;
};

class TByteNameAliases {
  public:
    TByteNameAliases();
    ~TByteNameAliases();
    TByteNameAliases(const TByteNameAliases&) = delete;
    TByteNameAliases& operator=(const TByteNameAliases&) = delete;

    // The arguments (without the program name) as texts: an argument that is not UTF-8 and names
    // an existing file or folder becomes the path of its alias; any other is decoded as usual.
    QStringList Arguments(int argc, char** argv);
    // A name given as bytes (absolute, or relative to the working folder): its decoded text when
    // it is UTF-8 or names nothing, else the path of its alias.
    QString PathOf(const QByteArray& name);
    // A decoded path as the file dialog gives it; see TNameMatch.
    TResolvedName Resolve(const QString& path);

    // The real name (bytes) of an alias path; empty for any other path.
    QByteArray RealName(const QString& path) const { return m_real.value(path); }
    // The name to show for a path: the absolute readable form (with U+FFFD) for an alias.
    QString Display(const QString& path) const { return m_display.value(path, path); }
    // A text that may name aliases (a message of the engine, which works with them): each alias
    // path in it replaced by its readable form, so that no message shows the private folder.
    QString DisplayText(QString text) const;
    // A text that names the same file in another program: a file: URL with the real bytes
    // percent-encoded for an alias (LocalPathOfUrl reads it back), the path itself otherwise.
    QString Portable(const QString& path) const;

  private:
    QString aliasFor(const QByteArray& real);

    std::unique_ptr<QTemporaryDir> m_dir; // made with the first alias
    int m_count = 0;
    QHash<QByteArray, QString> m_aliasOf; // absolute real name -> alias path
    QHash<QString, QByteArray> m_real;    // alias path -> absolute real name
    QHash<QString, QString> m_display;    // alias path -> readable form
};

// The program's aliases: every front end and the batch driver use these, so that a source added
// through an alias is deleted by its real name. The folder goes when the program ends.
TByteNameAliases& ByteNames();

// The local path of a file: URL, with the bytes its percent-encoded path names (through ByteNames()
// when they are not UTF-8); empty for a URL that is not a local file.
QString LocalPathOfUrl(const QUrl& url);
