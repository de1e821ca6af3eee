// libFuzzer entry: any bytes as a project file; whatever loads must save and load again unchanged,
// and its EDL export and listings must be written within their bounds.

#include "fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string failure = qlp::fuzz::checkProjectRoundTrip(data, size);
    if (failure.empty())
        failure = qlp::fuzz::checkProjectOutputs(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "project round trip: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
