#pragma once
// A throwaway program folder for tests: a temporary folder that receives a copy of the shipped
// langs/ (and on request skins/ and executables from the build's program folder), with the
// global paths pointed at it. The program writes options.ini, config.ini and language files
// beside itself, so every test that touches them works in one of these.
#include <QString>
#include <QTemporaryDir>

class TProgramFolder {
  public:
    enum Content { Langs = 1, Skins = 2 };

    // Copies the requested shipped folders (default: langs/) and calls InitPathsFor on the folder.
    explicit TProgramFolder(int content = Langs);

    bool isValid() const { return m_dir.isValid(); }
    // The folder path, ending in "/".
    QString path() const;
    // path() + relative name.
    QString file(const QString& relative) const;

    // Copies an executable (e.g. "avcore.dll") from the build's program folder; false when missing.
    bool copyExecutable(const QString& name) const;
    // Writes a text file (UTF-8) below the folder, creating its parent folders.
    bool writeFile(const QString& relative, const QByteArray& content) const;
    QByteArray readFile(const QString& relative) const;
    // Points the global paths at the folder again (after config.ini was changed, say).
    void initPaths() const;

    // Copies a folder tree; false when anything could not be copied.
    static bool copyTree(const QString& from, const QString& to);

  private:
    QTemporaryDir m_dir;
};
