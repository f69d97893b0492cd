// The engine's command-line parser on any arguments (the input split at NUL bytes): it accepts or
// refuses with a sentence, and an accepted request has its input and its output.
#include "request.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    std::string error;
    const auto request = avcore::ParseRequest(args, error);
    if (request ? (request->input.empty() || request->output.empty()) : error.empty()) {
        std::fprintf(stderr, "accepted without input and output, or refused without a reason\n");
        std::abort();
    }
    for (const std::string& arg : args)
        avcore::ParseTimeText(arg);
    return 0;
}
