// The engine-output parser on any console output, cut into blocks anywhere: it never fails, and the
// progress it shows stays between 0 and 100 percent (checked by the view).
#include "engine/engine_parser.h"
#include "fuzz_support.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TSilentView view;
    static TFixedClock clock;
    TBatchRunState run;
    run.TotalCount = 2;
    run.TotalBytes = 2000;
    run.CurrentBytes = 1000;
    run.BatchStartTime = clock.now;
    run.FileStartTime = clock.now;
    TEngineOutputParser parser(run, view, clock);
    parser.SetActive(true);
    // The first byte chooses the options text (with or without a time window), the second the
    // block length.
    if (size < 2)
        return 0;
    parser.BeginFile(data[0] % 2 ? QStringLiteral("-y -f avi  -t 0:00:05.000 -ss 0:00:01.000 -vcodec mpeg4 ")
                                 : QStringLiteral("-y -f avi -vcodec mpeg4 "));
    const size_t block = 1 + data[1] % 64;
    const char* bytes = reinterpret_cast<const char*>(data + 2);
    size_t left = size - 2;
    while (left > 0) {
        const size_t n = std::min(block, left);
        clock.now = clock.now.addMSecs(250);
        parser.ParseEngineOutput(bytes, static_cast<int64_t>(n), false);
        bytes += n;
        left -= n;
    }
    parser.ParseEngineOutput(nullptr, 0, true);
    parser.FlushEngineOutput();
    parser.UpdateBatchProgressAtFileEnd();
    return 0;
}
