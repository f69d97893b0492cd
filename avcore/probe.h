// Reads a source with FFmpeg's own libraries, in the engine's process, and describes it in the
// text FFprobe prints for ProbeArgs, so that ParseProbe reads both alike. Loading the libraries
// that read files costs a fraction of starting FFprobe, which loads every filter and device too.
// They are loaded on the first read and stay until CloseProbeLibraries.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace avcore {

// inputOptions are FFmpeg's ("-protocol_whitelist", "file", ...); input names the file with its
// "file:" prefix. Nothing when the file cannot be opened or its streams cannot be read.
std::optional<std::string> ProbeInProcess(const std::vector<std::string>& inputOptions,
                                          const std::string& input);

// Unloads the libraries once the sources are read (a later read loads them again).
void CloseProbeLibraries();

} // namespace avcore
