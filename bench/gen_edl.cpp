// qlp_gen_edl N OUT.EDL [--df] [--seed S]: writes a generated BVE-9100 EDL of N event lines, for
// measuring the qlp tool and the application on large lists.

#include "edl_generator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr, "usage: qlp_gen_edl N OUT.EDL [--df] [--seed S]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return usage();
    qlp::bench::EdlGeneratorOptions options;
    char* end = nullptr;
    options.events = std::strtoll(argv[1], &end, 10);
    if (*end != '\0' || options.events < 0)
        return usage();
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--df") == 0) {
            options.dropFrame = true;
        } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            options.seed = std::strtoull(argv[++i], nullptr, 10);
        } else {
            return usage();
        }
    }
    const std::string edl = qlp::bench::generateEdl(options);
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::perror(argv[2]);
        return 1;
    }
    const bool ok = std::fwrite(edl.data(), 1, edl.size(), out) == edl.size();
    if (std::fclose(out) != 0 || !ok) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
