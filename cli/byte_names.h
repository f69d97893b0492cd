#pragma once
// File names that are not UTF-8. A Linux name is bytes; Qt's texts are Unicode, and a name whose
// bytes are not UTF-8 does not survive the trip into a QString and back (QFile::decodeName turns
// each stray byte into U+FFFD, and encodeName writes U+FFFD as three other bytes). Such a name is
// reached through an alias instead: a symbolic link in a private folder, named with the readable
// form of the name and pointing at the file by its real bytes. The list, the probe, the engine's
// command line and the engine itself work with the alias; the output is named after the readable
// form; a source to delete is deleted by its real bytes.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TByteNameAliases {
  public:
    // The arguments (without the program name) as texts: an argument that is not UTF-8 and names
    // an existing file or folder becomes the path of its alias; any other is decoded as usual.
    QStringList Arguments(int argc, char** argv);

    // The real name (bytes) of an alias path; empty for any other path.
    QByteArray RealName(const QString& path) const { return m_real.value(path); }
    // The name to show for a path: the argument as given (readable form) for an alias.
    QString Display(const QString& path) const { return m_display.value(path, path); }

  private:
    QString aliasFor(const QByteArray& argument);

    QTemporaryDir m_dir;
    int m_count = 0;
    QHash<QByteArray, QString> m_aliasOf; // absolute real name -> alias path
    QHash<QString, QByteArray> m_real;    // alias path -> absolute real name
    QHash<QString, QString> m_display;    // alias path -> the argument's readable form
};
