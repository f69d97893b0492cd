#include "preflight.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace avcore {
namespace {

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    return strcasecmp(text.c_str() + text.size() - suffix.size(), suffix.c_str()) == 0;
}

std::string FolderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// Opens the file the way FFmpeg will, so the reason given is the real one.
std::string CheckReadable(const std::string& path, const std::string& what) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return "Error: the " + what + " " + Quoted(path) + " does not exist";
        }
        return "Error: the " + what + " " + Quoted(path) + " cannot be read: " + std::strerror(errno);
    }
    if (S_ISDIR(st.st_mode)) {
        return "Error: the " + what + " " + Quoted(path) + " is a folder, not a media file";
    }
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return "Error: the " + what + " " + Quoted(path) + " cannot be read: " + std::strerror(errno);
    }
    close(fd);
    if (S_ISREG(st.st_mode) && st.st_size == 0) {
        return "Error: the " + what + " " + Quoted(path) + " is empty";
    }
    return {};
}

// Whether the end of a call's argument or the start of its next one comes at pos, after blanks.
bool ClosesArgument(const std::string& script, std::size_t pos) {
    while (pos < script.size() && (script[pos] == ' ' || script[pos] == '\t')) {
        ++pos;
    }
    return pos < script.size() && (script[pos] == ')' || script[pos] == ',');
}

} // namespace

std::string DirectShowSourceOf(const std::string& script) {
    // The call's name is matched without regard to case, as AviSynth does.
    std::string lower = script;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (auto call = lower.find("directshowsource"); call != std::string::npos;
         call = lower.find("directshowsource", call + 1)) {
        auto pos = call + std::strlen("directshowsource");
        while (pos < script.size() && std::isspace(static_cast<unsigned char>(script[pos]))) {
            ++pos;
        }
        if (pos >= script.size() || script[pos] != '(') {
            continue;
        }
        ++pos;
        while (pos < script.size() && std::isspace(static_cast<unsigned char>(script[pos]))) {
            ++pos;
        }
        // AviSynth's string with double quotes inside: """...""", ended by the first three quotes
        // that the end of the call or its next argument follows (so a name may end in a quote).
        if (script.compare(pos, 3, "\"\"\"") == 0) {
            for (auto q = script.find("\"\"\"", pos + 3); q != std::string::npos;
                 q = script.find("\"\"\"", q + 1)) {
                if (ClosesArgument(script, q + 3)) {
                    return script.substr(pos + 3, q - pos - 3);
                }
            }
            continue;
        }
        if (pos >= script.size() || script[pos] != '"') {
            continue;
        }
        // A plain "..." string: a name may hold double quotes too, so the string ends at the last
        // quote on the line that is followed by the end of the call or its next argument.
        const auto lineEnd = std::min(script.find('\n', pos), script.size());
        std::size_t close = std::string::npos;
        for (auto q = script.find('"', pos + 1); q < lineEnd; q = script.find('"', q + 1)) {
            if (ClosesArgument(script, q + 1)) {
                close = q;
            }
        }
        if (close != std::string::npos) {
            return script.substr(pos + 1, close - pos - 1);
        }
    }
    return {};
}

InputCheck CheckInput(const std::string& input) {
    InputCheck check;
    if (!EndsWithNoCase(input, ".avs")) {
        check.mediaFile = input;
        check.error = CheckReadable(input, "input file");
        return check;
    }
    check.error = CheckReadable(input, "AviSynth script");
    if (!check.error.empty()) {
        return check;
    }
    std::ifstream in(input, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string source = DirectShowSourceOf(text.str());
    if (source.empty()) {
        check.error = "Error: the AviSynth script " + Quoted(input) +
                      " names no source file in DirectShowSource(\"...\")";
        return check;
    }
    if (source.front() != '/') {
        source = FolderOf(input) + "/" + source; // relative to the script, as AviSynth reads it
    }
    check.mediaFile = source;
    check.error = CheckReadable(source, "input file");
    return check;
}

std::string MissingOutputFolder(const std::string& output) {
    const std::string folder = FolderOf(output);
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return "Error: the output folder " + Quoted(folder) + " does not exist";
    }
    return {};
}

std::string CheckOutput(const std::string& output, const std::string& mediaFile, bool overwrite) {
    if (std::string missing = MissingOutputFolder(output); !missing.empty()) {
        return missing;
    }
    const std::string folder = FolderOf(output);
    const std::string name = output.substr(output.find_last_of('/') + 1);
    if (name.size() > NAME_MAX) {
        return "Error: the output file name " + Quoted(name) +
               " is too long: " + std::to_string(name.size()) + " bytes, where the system allows at most " +
               std::to_string(NAME_MAX);
    }
    // The output is written beside its final name and renamed, so the folder must take new files.
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
        return "Error: the output folder " + Quoted(folder) + " is not writable: " + std::strerror(errno);
    }
    struct stat out {};
    if (lstat(output.c_str(), &out) != 0) {
        return {};
    }
    // A link at the output name counts as an existing file; it is replaced, never written through.
    if (S_ISLNK(out.st_mode)) {
        return overwrite ? std::string()
                         : "Error: the output file " + Quoted(output) +
                               " exists already (as a link) and may not be replaced";
    }
    struct stat in {};
    if (stat(mediaFile.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
        return "Error: the output file " + Quoted(output) + " is the input file; it would be destroyed";
    }
    if (S_ISDIR(out.st_mode)) {
        return "Error: the output " + Quoted(output) + " is a folder";
    }
    if (!S_ISREG(out.st_mode)) {
        return "Error: the output " + Quoted(output) +
               " is a device or a pipe, not a file; it is not replaced";
    }
    if (!overwrite) {
        return "Error: the output file " + Quoted(output) + " exists already and may not be replaced";
    }
    if (access(output.c_str(), W_OK) != 0) {
        return "Error: the output file " + Quoted(output) + " cannot be replaced: " + std::strerror(errno);
    }
    return {};
}

} // namespace avcore
