// The output is written under a hidden temporary name in the output folder and put under its real
// name only once the conversion has succeeded. So a failed, stopped or killed conversion never
// leaves a half-written file under the real name and never destroys the file that was there, and
// a link planted at the real name is replaced, never written through.
//
// Temporary names: "." + the output's stem + ".varid-part-" + the engine's pid + "-" + six random
// letters + the output's extension (kept last, so that FFmpeg still tells the container by it).
// The engine holds a lock on its temporary file while it runs; one left behind by a killed engine
// is removed by the next engine that writes into the same folder.
#pragma once

#include <string>
#include <sys/types.h>

namespace avcore {

class OutputFile {
  public:
    explicit OutputFile(std::string output) : output_(std::move(output)) {}
    // Removes the temporary file unless it was committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file. Returns an "Error..." sentence or "".
    std::string Create();
    const std::string& TempPath() const { return temp_; }
    // The temporary file's size; -1 when it is gone or was replaced by another file.
    long long TempSize() const;
    // Flushes the temporary file to disk and renames it to the output name, replacing what is
    // there when replace is set (a link there is replaced, not followed) and refusing otherwise.
    // Returns an "Error..." sentence or "".
    std::string Commit(bool replace);

  private:
    bool StillOurs() const;

    std::string output_;
    std::string temp_;
    int fd_ = -1; // open and locked while the engine runs: marks the file as in use
    dev_t dev_ = 0;
    ino_t ino_ = 0;
    bool committed_ = false;
};

// Removes the temporary files of killed engines from folder: files named like ours, owned by this
// user, whose engine has ended and which nobody holds locked.
void RemoveStaleTemporaries(const std::string& folder);

} // namespace avcore
