// libFuzzer entry: any bytes as a CMX 3600 list, translated into a BVE-9100 EDL and converted.

#include "fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string failure = qlp::fuzz::checkCmx3600Reading(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "CMX 3600 reading: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
