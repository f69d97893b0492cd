#include "preflight.h"

#include <cerrno>
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
        auto open = script.find('"', pos);
        auto close = open == std::string::npos ? open : script.find('"', open + 1);
        if (close == std::string::npos || script.find(')', pos) < open) {
            continue;
        }
        return script.substr(open + 1, close - open - 1);
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

std::string CheckOutput(const std::string& output, const std::string& mediaFile, bool overwrite) {
    const std::string folder = FolderOf(output);
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return "Error: the output folder " + Quoted(folder) + " does not exist";
    }
    struct stat out {};
    const bool exists = stat(output.c_str(), &out) == 0;
    if (exists) {
        struct stat in {};
        if (stat(mediaFile.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
            return "Error: the output file " + Quoted(output) + " is the input file; it would be destroyed";
        }
        if (S_ISDIR(out.st_mode)) {
            return "Error: the output " + Quoted(output) + " is a folder";
        }
        if (!overwrite) {
            return "Error: the output file " + Quoted(output) + " exists already and may not be replaced";
        }
        if (access(output.c_str(), W_OK) != 0) {
            return "Error: the output file " + Quoted(output) +
                   " cannot be replaced: " + std::strerror(errno);
        }
        return {};
    }
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
        return "Error: the output folder " + Quoted(folder) + " is not writable: " + std::strerror(errno);
    }
    return {};
}

} // namespace avcore
