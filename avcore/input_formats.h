// The file formats the engine opens sources with: FFmpeg's demuxers that read only the file they
// are given. Left out are the ones that open further files or streams named inside the file
// (playlists such as HLS and DASH, concat lists, IMF packages, SDP and RTSP session
// descriptions), the capture devices, and the kinds that hold no media.
#pragma once

#include <string>
#include <vector>

namespace avcore {

// FFmpeg's "-format_whitelist" value: demuxer names, comma-separated.
const char* ReadableInputFormats();

// The input options that read a source as a plain file with one of those demuxers (for FFmpeg and
// FFprobe alike).
std::vector<std::string> SafeInputOptions();

} // namespace avcore
