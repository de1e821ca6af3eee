#pragma once
// Deterministic BVE-9100 EDL texts of any size for benchmarks, tests and seed corpora: a title and
// header, event lines in the controller's column layout with continuous record times, cuts,
// dissolves, wipes and keys, edits written over two lines, option comments (some in Japanese,
// CP932) and reverse-play events; or, for tests that read the rows back, a plain list of cuts.

#include <cstdint>
#include <string>

namespace qlp::bench {

struct EdlGeneratorOptions {
    int64_t events = 10000; // event lines to write (an edit over two lines counts twice)
    uint64_t seed = 1;
    bool dropFrame = false; // the record timecodes and most source reels are drop-frame
    int reels = 0;          // 0: a mixed pool of fifty names; else that many reels, all used evenly
    // Some comment lines run to 300 characters, so that they straddle the reader's and the
    // writer's buffer ends.
    bool longComments = false;
    // A plain list instead: one-second cuts on TAPE01, TAPE02 and TAPE03 in turn, recorded from
    // 10:00:00 in one-second steps, event i (from 0) taken from source 01:00:00 plus ten seconds
    // times (events - i), so that ordering by source time reverses the edit order.
    bool plain = false;
};

// The EDL's bytes: CP932 text with CR LF line ends. The same options always give the same bytes.
std::string generateEdl(const EdlGeneratorOptions& options);

} // namespace qlp::bench
