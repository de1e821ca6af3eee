// libFuzzer entry: any bytes as an EDL, shifted by an offset, exported as a BVE-9100 and a CMX 3600
// EDL and listed in every kind.

#include "fuzz_targets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string failure = qlp::fuzz::checkEdlOutputs(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "EDL outputs: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
