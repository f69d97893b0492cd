#pragma once
// INI files as the program keeps them (config.ini, options.ini, language files, profiles).
//
// Reading follows the rules of the classic profile-string functions: section and key names match
// without regard to letter case, blanks around key names and values are not part of them, the
// first of duplicate keys (and of duplicate sections) wins, lines beginning with ";" are comments,
// a value read is at most 2047 characters, and integers are decimal or hexadecimal with "$" or
// "0x" (anything else gives the default).
//
// Writing replaces a key's value where it stands, adds a missing key after the last key of its
// section and a missing section at the end of the file, and keeps every other line as it was.
// A line break inside a written value is written as a blank, so a value stays one line.
// Changes are held in memory until UpdateFile(), which replaces the file atomically.
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class TIniFile {
  public:
    // Reads the file when it exists; a missing or unreadable file reads as empty.
    explicit TIniFile(QString fileName);

    const QString& FileName() const { return m_fileName; }
    // Whether the file existed when it was read.
    bool Existed() const { return m_existed; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // Key names of a section in file order (duplicates included, as written).
    QStringList ReadSection(const QString& section) const;
    // Key names and values of a section in file order; the value of a duplicate key is the
    // value of its first occurrence, as a read by name would give.
    QList<QPair<QString, QString>> ReadSectionValues(const QString& section) const;
    QStringList ReadSections() const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // Writes the content to disk: a temporary file beside the target, flushed, then renamed over
    // it. Raises EVaridError("Unable to write to <file>") on failure; the old file stays whole.
    void UpdateFile();

    // Whole file text as it would be written.
    QString Text() const;

    // The integer rule of the reads above, for callers that convert texts the same way.
    static bool ParseInteger(const QString& text, int& value);

    static constexpr int MaxValueLength = 2047;

  private:
    struct Section {
        int header = -1;          // line index of "[name]"
        int end = 0;              // one past the last line that belongs to the section
        QHash<QString, int> keys; // case-folded key name -> line of its first occurrence
    };
    // The section that reads of that name find (the first of duplicates), or null.
    const Section* findSection(const QString& section) const;
    int findKey(const Section* section, const QString& key) const;
    static bool splitKeyLine(const QString& line, QString* key, QString* value);
    // Finds every section and key once, so that a read is a lookup instead of a scan of the file
    // (a language file is read key by key, several hundred times). Rebuilt after every write.
    void buildIndex();

    QHash<QString, Section> m_sections; // case-folded section name -> its first occurrence

    QString m_fileName;
    QStringList m_lines;
    QString m_lineEnd = QStringLiteral("\n");
    bool m_existed = false;
};
