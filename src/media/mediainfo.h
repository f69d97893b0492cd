#pragma once
// A handle of the MediaInfo library's narrow-character C interface. Texts cross the interface as
// UTF-8 (the library is switched to that once per process), so paths and reports with non-ASCII
// letters work whatever the C locale is.
#include <QString>

#include <memory>

enum class TStreamKind { General = 0, Video = 1, Audio = 2 };

class TMediaInfo {
  public:
    TMediaInfo();
    ~TMediaInfo();
    TMediaInfo(const TMediaInfo&) = delete;
    TMediaInfo& operator=(const TMediaInfo&) = delete;

    // Sets an option of this handle (before Open for options that steer the parsing).
    void Option(const char* option, const char* value);
    // Opens and parses a file; false when the library could not open it.
    bool Open(const QString& path);
    // A parameter of the first stream of a kind, by name, as text; empty when unknown or absent.
    QString Get(TStreamKind kind, const char* parameter) const;
    // The library's text report of the open file.
    QString Inform() const;

    // Sets a library-wide option (the handle-less form of the option call).
    static void LibraryOption(const char* option, const char* value);

    // The library is loaded on first use. A process about to fork children that describe files
    // loads it first, so that the children inherit it instead of each loading it after the fork,
    // where the loader's locks may be held by a thread that the child does not have. False when
    // the library cannot be loaded.
    static bool Load();

  private:
    struct Deleter {
        void operator()(void* handle) const;
    };
    std::unique_ptr<void, Deleter> m_handle;
    bool m_open = false;
};
