// libFuzzer entry: any bytes as a BVE-9100 EDL, converted to a work file and loaded back.

#include "fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string failure = qlp::fuzz::checkEdlRoundTrip(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "EDL round trip: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
